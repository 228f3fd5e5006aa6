#include "gdi_recording.h"

#include <sstream>

static int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context)
{
    auto& calls = *reinterpret_cast<std::vector<GdiCall>*>(context);
    switch (record->iType) {
    case EMR_CREATEPEN: {
        const auto* pen = reinterpret_cast<const EMRCREATEPEN*>(record);
        calls.push_back({"CreatePen",
                         {static_cast<long>(pen->ihPen), static_cast<long>(pen->lopn.lopnStyle), pen->lopn.lopnWidth.x,
                          static_cast<long>(pen->lopn.lopnColor)}});
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const auto* brush = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(record);
        calls.push_back({"CreateBrush", {static_cast<long>(brush->ihBrush), static_cast<long>(brush->lb.lbColor)}});
        break;
    }
    case EMR_SELECTOBJECT:
        calls.push_back({"SelectObject", {static_cast<long>(reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject)}});
        break;
    case EMR_DELETEOBJECT:
        calls.push_back({"DeleteObject", {static_cast<long>(reinterpret_cast<const EMRDELETEOBJECT*>(record)->ihObject)}});
        break;
    case EMR_MOVETOEX: {
        const auto& point = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
        calls.push_back({"MoveToEx", {point.x, point.y}});
        break;
    }
    case EMR_LINETO: {
        const auto& point = reinterpret_cast<const EMRLINETO*>(record)->ptl;
        calls.push_back({"LineTo", {point.x, point.y}});
        break;
    }
    case EMR_RECTANGLE: {
        // The metafile keeps the box ordered and inclusive; give back the corners as Rectangle takes them.
        const auto& box = reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox;
        calls.push_back({"Rectangle", {box.left, box.top, box.right + 1, box.bottom + 1}});
        break;
    }
    default:
        break;
    }
    return 1;
}

std::vector<GdiCall> RecordGdiCalls(const std::function<void(HDC)>& draw)
{
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    draw(recorder);
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    std::vector<GdiCall> calls;
    EnumEnhMetaFile(nullptr, metafile, CollectRecord, &calls, nullptr);
    DeleteEnhMetaFile(metafile);
    return calls;
}

std::vector<GdiCall> OnlyCalls(const std::vector<GdiCall>& calls, const std::string& name)
{
    std::vector<GdiCall> kept;
    for (const GdiCall& call : calls) {
        if (call.name == name) {
            kept.push_back(call);
        }
    }
    return kept;
}

std::string Describe(const std::vector<GdiCall>& calls)
{
    std::ostringstream text;
    for (const GdiCall& call : calls) {
        text << call.name << '(';
        for (size_t i = 0; i < call.args.size(); ++i) {
            text << (i ? ", " : "") << call.args[i];
        }
        text << ")\n";
    }
    return text.str();
}
