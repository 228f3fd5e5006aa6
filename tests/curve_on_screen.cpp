#include "curve_on_screen.h"

#include <gtest/gtest.h>

Pixel CurveSamplePixel(int segment, int step)
{
    const TangentTable& t = editorState.tangents;
    const HermiteCoefficients h = HermiteCoefficientsOf(editorState.points[segment], editorState.points[segment + 1],
                                                        t.outTangents[segment], t.inTangents[segment + 1]);
    const Vec2 sample = HermiteSample(h, step);
    return UnitToPixel(sample.x, sample.y, editorState.clientWidth, editorState.clientHeight);
}

void ExpectCurveSamplesIn(const ClientPixels& pixels, COLORREF colour)
{
    for (int segment = 0; segment < editorState.pointCount - 1; ++segment) {
        for (int step = 0; step < SegmentSteps; ++step) {
            const Pixel p = CurveSamplePixel(segment, step);
            if (p.column >= 0 && p.column < pixels.width && p.row >= 0 && p.row < pixels.height) {
                ASSERT_EQ(pixels.At(p.column, p.row), colour) << "segment " << segment << ", sample " << step;
            }
        }
    }
}
