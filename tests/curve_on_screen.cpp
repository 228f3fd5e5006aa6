#include "curve_on_screen.h"

#include <gtest/gtest.h>

// Unit position of sample `step` of a segment, worked out here from the cubic Hermite basis and
// not by the program's own sample arithmetic, so that a fault there cannot move the expectation.
static Vec2 HermiteBasisSample(int segment, int step)
{
    const double t = step / 30.0;
    const double h00 = 2 * t * t * t - 3 * t * t + 1;  // weight of the start point
    const double h10 = t * t * t - 2 * t * t + t;      // of the start tangent
    const double h01 = -2 * t * t * t + 3 * t * t;     // of the end point
    const double h11 = t * t * t - t * t;              // of the end tangent
    const Vec2 p0 = editorState.points[segment];
    const Vec2 p1 = editorState.points[segment + 1];
    const Vec2 m0 = editorState.tangents.outTangents[segment];
    const Vec2 m1 = editorState.tangents.inTangents[segment + 1];
    return {h00 * p0.x + h10 * m0.x + h01 * p1.x + h11 * m1.x, h00 * p0.y + h10 * m0.y + h01 * p1.y + h11 * m1.y};
}

// The pixel a unit position falls in, truncated toward zero; the nudge moves it a hair first.
static Pixel PixelOfSample(Vec2 sample, double nudgeX = 0, double nudgeY = 0)
{
    return {static_cast<int>(sample.x * editorState.clientWidth + nudgeX),
            static_cast<int>((1 - sample.y) * editorState.clientHeight + nudgeY)};
}

Pixel CurveSamplePixel(int segment, int step)
{
    return PixelOfSample(HermiteBasisSample(segment, step));
}

// Where a sample lies within a hair of a pixel's edge, rounding alone decides the side it falls on,
// so the pixels on both sides of that edge are taken.
static bool ShowsSample(const ClientPixels& pixels, Vec2 sample, COLORREF colour)
{
    for (double dx : {-1e-9, 1e-9}) {
        for (double dy : {-1e-9, 1e-9}) {
            const Pixel p = PixelOfSample(sample, dx, dy);
            if (pixels.At(p.column, p.row) == colour) {
                return true;
            }
        }
    }
    return false;
}

void ExpectCurveSamplesIn(const ClientPixels& pixels, COLORREF colour)
{
    for (int segment = 0; segment < editorState.pointCount - 1; ++segment) {
        for (int step = 0; step < 30; ++step) {
            const Vec2 sample = HermiteBasisSample(segment, step);
            const Pixel p = PixelOfSample(sample);
            if (p.column >= 0 && p.column < pixels.width && p.row >= 0 && p.row < pixels.height) {
                ASSERT_TRUE(ShowsSample(pixels, sample, colour))
                    << "segment " << segment << ", sample " << step << ": " << std::hex << pixels.At(p.column, p.row);
            }
        }
    }
}
