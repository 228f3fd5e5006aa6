#include "curve_arithmetic.h"
#include "drawing.h"

std::uint32_t trailColourState = 1;

static Pixel PixelOf(double x, double y)
{
    return UnitToPixel(x, y, editorState.clientWidth, editorState.clientHeight);
}

void MoveToUnitPoint(HDC surface, double x, double y)
{
    const Pixel pixel = PixelOf(x, y);
    MoveToEx(surface, pixel.column, pixel.row, nullptr);
}

void LineToUnitPoint(HDC surface, double x, double y)
{
    const Pixel pixel = PixelOf(x, y);
    LineTo(surface, pixel.column, pixel.row);
}

void TraceSegment(HDC surface, Vec2 start, Vec2 end, Vec2 startTangent, Vec2 endTangent)
{
    const HermiteCoefficients coefficients = HermiteCoefficientsOf(start, end, startTangent, endTangent);
    MoveToUnitPoint(surface, start.x, start.y);
    // The first sample is the start point itself; the last is the cubic at t = 1, not `end`.
    for (int step = 0; step <= SegmentSteps; ++step) {
        const Vec2 sample = HermiteSample(coefficients, step);
        LineToUnitPoint(surface, sample.x, sample.y);
    }
}

void DrawCurve(HDC surface, const Vec2 points[], const TangentTable& tangents)
{
    const CurvePen choice = ChooseCurvePen(editorState, trailColourState);
    HPEN pen = CreatePen(PS_SOLID, choice.width, choice.colour);
    if (!pen) {
        // A desktop out of GDI objects: the curve is left out of this one paint.
        return;
    }
    HGDIOBJ keptPen = SelectObject(surface, pen);
    for (int i = 0; i < editorState.pointCount - 1; ++i) {
        TraceSegment(surface, points[i], points[i + 1], tangents.outTangents[i], tangents.inTangents[i + 1]);
    }
    SelectObject(surface, keptPen);
    DeleteObject(pen);
}
