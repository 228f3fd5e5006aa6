#include "curve_arithmetic.h"
#include "drawing.h"

namespace {

// The objects of one marker drawing.
struct MarkerTools {
    HBRUSH brush;
    HPEN dotted;
    HPEN solid;
    bool trail;
};

void DrawSquare(HDC surface, Vec2 at, int halfSize)
{
    const PixelBox box = MarkerSquare(at, halfSize, editorState.clientWidth, editorState.clientHeight);
    Rectangle(surface, box.left, box.top, box.right, box.bottom);
}

// A dotted line from the point (the current position) to its handle and the handle's square, then
// back to the point, so the next line starts there again.
void DrawHandle(HDC surface, const MarkerTools& tools, Vec2 point, Vec2 tangent)
{
    const Vec2 handle = HandlePosition(point, tangent);
    if (tools.trail) {
        DrawSquare(surface, handle, 1);
        return;
    }
    SelectObject(surface, tools.dotted);
    LineToUnitPoint(surface, handle.x, handle.y);
    SelectObject(surface, tools.solid);
    DrawSquare(surface, handle, 2);
    MoveToUnitPoint(surface, point.x, point.y);
}

// Every square and line, with the tools selected in turn; the surface gets its own pen and brush back.
void DrawWithTools(HDC surface, const MarkerTools& tools, const Vec2 points[], const TangentTable& tangents, int count)
{
    const int pointHalfSize = tools.trail ? 1 : 3;

    HGDIOBJ keptPen = SelectObject(surface, tools.solid);
    MoveToUnitPoint(surface, points[0].x, points[0].y);
    HGDIOBJ keptBrush = SelectObject(surface, tools.brush);

    DrawSquare(surface, points[0], pointHalfSize);
    DrawHandle(surface, tools, points[0], tangents.outTangents[0]);
    for (int i = 1; i < count; ++i) {
        if (!tools.trail) {
            // The control polygon's piece from the previous point, under this point's square.
            SelectObject(surface, tools.dotted);
            LineToUnitPoint(surface, points[i].x, points[i].y);
            SelectObject(surface, tools.solid);
        }
        DrawSquare(surface, points[i], pointHalfSize);
        // The last point's out-tangent and the first point's in-tangent belong to no segment.
        if (i < count - 1) {
            DrawHandle(surface, tools, points[i], tangents.outTangents[i]);
        }
        DrawHandle(surface, tools, points[i], tangents.inTangents[i]);
    }

    SelectObject(surface, keptPen);
    SelectObject(surface, keptBrush);
}

}  // namespace

void DrawMarkers(HDC surface, const Vec2 points[], const TangentTable& tangents, int count, COLORREF colour)
{
    const MarkerTools tools = {CreateSolidBrush(colour), CreatePen(PS_DOT, 1, colour), CreatePen(PS_SOLID, 1, colour),
                               editorState.trailMode != 0};
    if (tools.brush && tools.dotted && tools.solid) {
        DrawWithTools(surface, tools, points, tangents, count);
    }
    // A desktop out of GDI objects may have made only some: the markers are then left out of this
    // one paint. Nothing is selected any more, so each is freed; DeleteObject ignores null.
    DeleteObject(tools.brush);
    DeleteObject(tools.dotted);
    DeleteObject(tools.solid);
}
