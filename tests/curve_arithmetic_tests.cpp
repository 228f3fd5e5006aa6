// The platform-free arithmetic of drawing: pixel conversion and the trail colours.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "draw/curve_arithmetic.h"

namespace {

TEST(CurveArithmetic, ConversionTruncatesTowardZeroAndStaysInRangeForAnyDouble)
{
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int pixel;
    } cases[] = {
        {-0.7, 0}, {0.7, 0}, {10.99, 10}, {-3.0, -3}, {-3.5, -3}, {1920.0, 1920},
        {1e300, 134217728}, {-1e300, -134217728}, {3e9, 134217728},
        {infinity, 134217728}, {-infinity, -134217728}, {std::nan(""), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TruncateToPixel(c.value), c.pixel) << c.value;
    }
    const Pixel corner = UnitToPixel(1.0, 0.0, 640, 480);
    EXPECT_EQ(corner.column, 640);
    EXPECT_EQ(corner.row, 480);
}

TEST(CurveArithmetic, TrailColoursFollowTheFixedSequenceWithChannelsInRange)
{
    EditorState state = {};
    state.trailMode = 1;
    std::uint32_t random = 1;
    EXPECT_EQ(ChooseCurvePen(state, random).colour, PackColour(105, 205, 227));
    EXPECT_EQ(ChooseCurvePen(state, random).colour, PackColour(197, 159, 80));
    for (int paint = 0; paint < 10000; ++paint) {
        const CurvePen pen = ChooseCurvePen(state, random);
        for (int shift : {0, 8, 16}) {
            const std::uint32_t channel = (pen.colour >> shift) & 0xFF;
            ASSERT_GE(channel, 64u);
            ASSERT_LE(channel, 250u);
        }
        ASSERT_EQ(pen.colour >> 24, 0u);
    }
}

}  // namespace
