// Long random sequences of what a user and the window system can do to the editor state: sizes
// (zero included), presses, moves and releases anywhere in the 16-bit range or right on a point or
// handle, layouts, count changes, trail mode, and the arithmetic of every paint. The state is
// checked after every step. Set TRAZOS_SEED to replay a run; the seed is printed either way.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "draw/curve_arithmetic.h"
#include "edit/pointer_editing.h"
#include "state_checks.h"

namespace {

std::uint32_t ChooseSeed()
{
    if (const char* given = std::getenv("TRAZOS_SEED")) {
        return static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10));
    }
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// Everything a paint computes before it calls the platform: samples, pixels and squares.
long long PaintArithmetic(EditorState& s, std::uint32_t& colours)
{
    ApplyPendingLayouts(s);
    long long checksum = ChooseCurvePen(s, colours).colour;
    for (int i = 0; i < s.pointCount; ++i) {
        const Vec2 handles[] = {HandlePosition(s.points[i], s.tangents.outTangents[i]),
                                HandlePosition(s.points[i], s.tangents.inTangents[i]), s.points[i]};
        for (Vec2 at : handles) {
            const PixelBox box = MarkerSquare(at, 3, s.clientWidth, s.clientHeight);
            checksum += box.left + box.top + box.right + box.bottom;
        }
        if (i + 1 < s.pointCount) {
            const HermiteCoefficients h = HermiteCoefficientsOf(s.points[i], s.points[i + 1], s.tangents.outTangents[i],
                                                                s.tangents.inTangents[i + 1]);
            for (int step = 0; step <= SegmentSteps; ++step) {
                const Vec2 sample = HermiteSample(h, step);
                const Pixel p = UnitToPixel(sample.x, sample.y, s.clientWidth, s.clientHeight);
                checksum += p.column + p.row;
            }
        }
    }
    return checksum;
}

TEST(RandomEditing, StateStaysSoundThroughALongRandomSequence)
{
    const std::uint32_t seed = ChooseSeed();
    std::printf("seed %u (replay with TRAZOS_SEED=%u)\n", seed, seed);
    std::mt19937 random(seed);
    auto below = [&](std::uint32_t n) { return static_cast<int>(random() % n); };
    auto anyHalf = [&]() -> std::uint16_t {
        const std::uint16_t edges[] = {0, 1, 0xFFFE, 0xFFFF};
        return below(4) == 0 ? edges[below(4)] : static_cast<std::uint16_t>(random());
    };

    EditorState s = {};
    s.pointCount = 4;
    ApplyWavyLayout(s.points, s.tangents, 4);
    s.clientWidth = 500;
    s.clientHeight = 400;
    std::uint32_t colours = 1;
    long long checksum = 0;
    int countDirection = 1;  // count presses go one way for a while, so both limits are reached and pressed past
    int largestCount = 0;

    const int events = 200000;
    for (int event = 0; event < events; ++event) {
        std::uint16_t x = anyHalf(), y = anyHalf();
        if (below(2) == 0) {
            // Aim at a point or one of its handles, so that hits and drags happen often.
            const int i = below(s.pointCount);
            const Vec2 targets[] = {s.points[i], HandlePosition(s.points[i], s.tangents.outTangents[i]),
                                    HandlePosition(s.points[i], s.tangents.inTangents[i])};
            const Pixel p = UnitToPixel(targets[below(3)].x, targets[below(3)].y, s.clientWidth, s.clientHeight);
            x = static_cast<std::uint16_t>(p.column + below(5) - 2);
            y = static_cast<std::uint16_t>(p.row + below(5) - 2);
        }
        switch (below(12)) {
        case 0:
            PressPointer(s, x, y);
            break;
        case 1:
        case 2:
        case 3:
            MovePointer(s, x, y);
            break;
        case 4:
            ReleasePointer(s, x, y);
            break;
        case 5: {
            const double sizes[] = {0, 1, 2, 640, 1920, 65535};
            s.clientWidth = below(3) == 0 ? sizes[below(6)] : anyHalf();
            s.clientHeight = below(3) == 0 ? sizes[below(6)] : anyHalf();
            break;
        }
        case 6:
            if (below(300) == 0) {
                countDirection = -countDirection;
            }
            ChangePointCount(s, below(4) ? countDirection : -countDirection);
            largestCount = std::max(largestCount, s.pointCount);
            break;
        case 7:
            (below(2) == 0 ? s.pendingStraightInit : s.pendingWavyInit) = 1;
            break;
        case 8:
            s.trailMode = below(2);
            s.backgroundStep += below(2);
            break;
        default:
            checksum += PaintArithmetic(s, colours);
            break;
        }
        const std::string fault = EditorStateFault(s);
        ASSERT_TRUE(fault.empty()) << fault << " after event " << event << "; seed " << seed;
    }
    std::printf("%d events, largest count %d, checksum %lld\n", events, largestCount, checksum);
}

#ifdef TRAZOS_SANITIZED
// The sanitizer build must stop at a conversion of a double out of the int range; otherwise the
// random sequences above could not catch one.
TEST(RandomEditing, SanitizersStopAnOutOfRangeConversion)
{
    volatile double far = 1e300;
    EXPECT_DEATH(std::printf("%d\n", static_cast<int>(far)), "outside the range of representable values");
}
#endif

}  // namespace
