#include "drawing_floor.h"

#include <map>

#include "app/main_window.h"
#include "gdi_recording.h"

DrawingFloor RecordFloor()
{
    const std::vector<GdiCall> recorded = RecordGdiCalls([](HDC surface) { DrawEditorState(surface); });
    DrawingFloor floor;
    // A metafile reuses the slot of a deleted object for the next one made, so slots are mapped
    // to objects in the order of the recording.
    std::map<long, HGDIOBJ> objectInSlot;
    bool dotted = false;  // the current pen is the dotted one
    for (const GdiCall& call : recorded) {
        const auto& a = call.args;
        if (call.name == "CreatePen") {
            HGDIOBJ pen = CreatePen(static_cast<int>(a[1]), static_cast<int>(a[2]), static_cast<COLORREF>(a[3]));
            floor.madeObjects.push_back(pen);
            objectInSlot[a[0]] = pen;
        } else if (call.name == "CreateBrush") {
            HGDIOBJ brush = CreateSolidBrush(static_cast<COLORREF>(a[1]));
            floor.madeObjects.push_back(brush);
            objectInSlot[a[0]] = brush;
        } else if (call.name == "SelectObject") {
            HGDIOBJ object = (a[0] & StockObjectSlot) ? GetStockObject(static_cast<int>(a[0] & ~StockObjectSlot))
                                                      : objectInSlot[a[0]];
            floor.calls.push_back({FloorCall::Select, object, {}});
            LOGPEN pen;
            if (GetObjectType(object) == OBJ_PEN && GetObjectA(object, sizeof pen, &pen)) {
                dotted = pen.lopnStyle == PS_DOT;
            }
        } else if (call.name == "MoveToEx") {
            floor.calls.push_back({FloorCall::Move, nullptr, {int(a[0]), int(a[1]), 0, 0}});
        } else if (call.name == "LineTo") {
            floor.calls.push_back(
                {dotted ? FloorCall::DottedLine : FloorCall::SolidLine, nullptr, {int(a[0]), int(a[1]), 0, 0}});
        } else if (call.name == "Rectangle") {
            floor.calls.push_back({FloorCall::Box, nullptr, {int(a[0]), int(a[1]), int(a[2]), int(a[3])}});
        }
        // DeleteObject: the floor keeps its objects until ReleaseFloor.
    }
    return floor;
}

void PlayFloor(HDC surface, const DrawingFloor& floor, unsigned kinds)
{
    for (const FloorCall& call : floor.calls) {
        if (!(call.kind & kinds)) {
            continue;
        }
        switch (call.kind) {
        case FloorCall::Select:
            SelectObject(surface, call.object);
            break;
        case FloorCall::Move:
            MoveToEx(surface, call.x[0], call.x[1], nullptr);
            break;
        case FloorCall::SolidLine:
        case FloorCall::DottedLine:
            LineTo(surface, call.x[0], call.x[1]);
            break;
        case FloorCall::Box:
            Rectangle(surface, call.x[0], call.x[1], call.x[2], call.x[3]);
            break;
        }
    }
}

void ReleaseFloor(DrawingFloor& floor)
{
    for (HGDIOBJ object : floor.madeObjects) {
        DeleteObject(object);
    }
    floor.madeObjects.clear();
    floor.calls.clear();
}
