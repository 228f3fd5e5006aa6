#include "curve_arithmetic.h"

// The platform draws lines reliably only within 2^27 units of the origin.
static const double DrawingLimit = 134217728.0;

int TruncateToPixel(double coordinate)
{
    if (coordinate != coordinate) {
        return 0;
    }
    if (coordinate > DrawingLimit) {
        return static_cast<int>(DrawingLimit);
    }
    if (coordinate < -DrawingLimit) {
        return -static_cast<int>(DrawingLimit);
    }
    return static_cast<int>(coordinate);
}

Pixel UnitToPixel(double x, double y, double width, double height)
{
    return {TruncateToPixel(x * width), TruncateToPixel((1.0 - y) * height)};
}

PixelBox MarkerSquare(Vec2 at, int halfSize, double width, double height)
{
    const double column = at.x * width;
    const double row = (1.0 - at.y) * height;
    return {TruncateToPixel(column - halfSize), TruncateToPixel(row + halfSize), TruncateToPixel(column + halfSize),
            TruncateToPixel(row - halfSize)};
}

HermiteCoefficients HermiteCoefficientsOf(Vec2 start, Vec2 end, Vec2 startTangent, Vec2 endTangent)
{
    HermiteCoefficients h;
    h.a = {2.0 * start.x - 2.0 * end.x + startTangent.x + endTangent.x,
           2.0 * start.y - 2.0 * end.y + startTangent.y + endTangent.y};
    h.b = {-3.0 * start.x + 3.0 * end.x - 2.0 * startTangent.x - endTangent.x,
           -3.0 * start.y + 3.0 * end.y - 2.0 * startTangent.y - endTangent.y};
    h.c = startTangent;
    h.d = start;
    return h;
}

Vec2 HermiteSample(const HermiteCoefficients& h, int step)
{
    const double t = static_cast<double>(step) / SegmentSteps;
    return {((t * h.a.x + h.b.x) * t + h.c.x) * t + h.d.x, ((t * h.a.y + h.b.y) * t + h.c.y) * t + h.d.y};
}

bool LightGreenBackground(int backgroundStep)
{
    return (backgroundStep - 1) % 3 == 2;
}

std::uint32_t NextRandom(std::uint32_t& state)
{
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFFu;
}

static std::uint32_t TrailChannel(std::uint32_t& randomState)
{
    return 64 + NextRandom(randomState) % 187;
}

CurvePen ChooseCurvePen(const EditorState& state, std::uint32_t& randomState)
{
    if (state.trailMode) {
        const std::uint32_t red = TrailChannel(randomState);
        const std::uint32_t green = TrailChannel(randomState);
        const std::uint32_t blue = TrailChannel(randomState);
        return {3, PackColour(red, green, blue)};
    }
    if (LightGreenBackground(state.backgroundStep)) {
        return {state.curveWidth, PackColour(255, 0, 255)};
    }
    return {state.curveWidth, PackColour(255, 0, 0)};
}
