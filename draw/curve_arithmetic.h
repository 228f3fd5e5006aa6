#pragma once
// The arithmetic behind the drawing: unit-to-pixel mapping, Hermite samples, the curve pen and the
// trail colours. Nothing here touches the platform, so it also builds and runs natively.
#include <cstdint>

#include "../model/curve_model.h"

constexpr int SegmentSteps = 30;  // straight pieces per segment: samples at t = k / 30 for k = 0 .. 30

struct Pixel {
    int column;
    int row;
};

// Truncates toward zero. Coordinates beyond the platform's drawing range (2^27 pixels either way)
// are held at its edge and a non-finite value gives 0, so no conversion is ever out of range.
int TruncateToPixel(double coordinate);

// Pixel of a unit position in a client area of the given size: y grows downwards on the screen.
Pixel UnitToPixel(double x, double y, double width, double height);

// Corners of the square marker of half-size halfSize pixels around a unit position, as Rectangle
// takes them: left, top, right, bottom, with top below bottom on the screen. The half-size is added
// before truncating, so X = 10.5 with half-size 3 gives edges 7 and 13.
struct PixelBox {
    int left;
    int top;
    int right;
    int bottom;
};

PixelBox MarkerSquare(Vec2 at, int halfSize, double width, double height);

// The cubic ((A t + B) t + C) t + D of one segment, per coordinate.
struct HermiteCoefficients {
    Vec2 a;
    Vec2 b;
    Vec2 c;
    Vec2 d;
};

HermiteCoefficients HermiteCoefficientsOf(Vec2 start, Vec2 end, Vec2 startTangent, Vec2 endTangent);

// The curve at t = step / SegmentSteps.
Vec2 HermiteSample(const HermiteCoefficients& coefficients, int step);

// Colours are packed as 0x00BBGGRR, red in the low byte.
constexpr std::uint32_t PackColour(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}

// True while the background is the light green one: (backgroundStep - 1) % 3 == 2, with C++'s
// remainder, so step 0 (start-up grey) gives -1.
bool LightGreenBackground(int backgroundStep);

// The program's own linear congruential generator: one draw in 0 .. 32767.
std::uint32_t NextRandom(std::uint32_t& state);

struct CurvePen {
    int width;
    std::uint32_t colour;
};

// Trail mode takes a fresh colour from the generator (three draws: red, green, blue) at width 3;
// otherwise red, or magenta over the light green background, at the chosen width.
CurvePen ChooseCurvePen(const EditorState& state, std::uint32_t& randomState);
