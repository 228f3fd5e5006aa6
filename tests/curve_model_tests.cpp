// The straight and wavy layouts and the tangent reset, for small and full curves.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/curve_model.h"
#include "vec2_printing.h"

namespace {

const Vec2 Right = {0.5, 0.0};
const Vec2 UpLeft = {-0.5, 0.5};
const Vec2 Untouched = {7.0, 7.0};

struct Layout {
    Vec2 points[MaxPoints];
    TangentTable tangents;
};

Layout Laid(int count, bool wavy)
{
    Layout layout;
    std::fill(std::begin(layout.points), std::end(layout.points), Untouched);
    std::fill(std::begin(layout.tangents.outTangents), std::end(layout.tangents.outTangents), Untouched);
    std::fill(std::begin(layout.tangents.inTangents), std::end(layout.tangents.inTangents), Untouched);
    (wavy ? ApplyWavyLayout : ApplyStraightLayout)(layout.points, layout.tangents, count);
    return layout;
}

TEST(CurveModel, SmallWavyLayoutsGiveTheKnownPointsAndTangents)
{
    struct Case {
        int count;
        std::vector<Vec2> points, outTangents, inTangents;
    } cases[] = {
        // One point: the writes for the last point replace those for the first.
        {1, {{0.95, 0.5}}, {UpLeft}, {Right}},
        {2, {{0.05, 0.5}, {0.95, 0.5}}, {Right, UpLeft}, {UpLeft, Right}},
        {4,
         {{0.05, 0.5}, {0.35, 0.25}, {0.65, 0.75}, {0.95, 0.5}},
         {Right, Right, Right, UpLeft},
         {UpLeft, Right, Right, Right}},
        {5,
         {{0.05, 0.5}, {0.275, 0.25}, {0.5, 0.75}, {0.725, 0.25}, {0.95, 0.5}},
         {Right, Right, Right, Right, UpLeft},
         {UpLeft, Right, Right, Right, Right}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const Layout layout = Laid(c.count, true);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_NEAR(layout.points[i].x, c.points[i].x, 1e-15) << "point " << i;
            EXPECT_EQ(layout.points[i].y, c.points[i].y) << "point " << i;
            EXPECT_EQ(layout.tangents.outTangents[i], c.outTangents[i]) << "out-tangent " << i;
            EXPECT_EQ(layout.tangents.inTangents[i], c.inTangents[i]) << "in-tangent " << i;
        }
        EXPECT_EQ(layout.points[c.count], Untouched) << "nothing past the last point is written";
        EXPECT_EQ(layout.tangents.outTangents[c.count], Untouched);
        EXPECT_EQ(layout.tangents.inTangents[c.count], Untouched);
    }
}

TEST(CurveModel, FullCurveFillsEveryEntryEvenlyAndAlternates)
{
    for (bool wavy : {false, true}) {
        const Layout layout = Laid(MaxPoints, wavy);
        EXPECT_EQ(layout.points[0], (Vec2{0.05, 0.5}));
        EXPECT_EQ(layout.points[MaxPoints - 1], (Vec2{0.95, 0.5}));
        EXPECT_EQ(layout.tangents.inTangents[0], UpLeft);
        EXPECT_EQ(layout.tangents.outTangents[MaxPoints - 1], UpLeft);
        EXPECT_EQ(layout.tangents.outTangents[0], Right);
        EXPECT_EQ(layout.tangents.inTangents[MaxPoints - 1], Right);
        for (int i = 1; i < MaxPoints - 1; ++i) {
            const double expectedY = !wavy ? 0.5 : (i % 2 == 1 ? 0.25 : 0.75);
            ASSERT_EQ(layout.points[i].y, expectedY) << i;
            ASSERT_NEAR(layout.points[i].x, 0.05 + i * 0.9 / 149, 1e-15) << i;
            ASSERT_EQ(layout.tangents.outTangents[i], Right) << i;
            ASSERT_EQ(layout.tangents.inTangents[i], Right) << i;
        }
    }
}

TEST(CurveModel, StraightLayoutLinesUpTheSamePointsOnTheMiddle)
{
    const Layout straight = Laid(5, false);
    const Layout wavy = Laid(5, true);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(straight.points[i].x, wavy.points[i].x);
        EXPECT_EQ(straight.points[i].y, 0.5);
    }
}

TEST(CurveModel, HandlesSitAFifthOfTheTangentAwayAndConvertBack)
{
    const Vec2 point = {0.35, 0.25};
    const Vec2 outHandle = HandlePosition(point, Right);
    const Vec2 inHandle = HandlePosition(point, UpLeft);  // an in-handle too lies at P + 0.2 T
    const Vec2 tangent = TangentTowards(point, {0.45, 0.375});
    EXPECT_NEAR(outHandle.x, 0.45, 1e-15);
    EXPECT_EQ(outHandle.y, 0.25);
    EXPECT_NEAR(inHandle.x, 0.25, 1e-15);
    EXPECT_NEAR(inHandle.y, 0.35, 1e-15);
    EXPECT_NEAR(tangent.x, 0.5, 1e-12);
    EXPECT_NEAR(tangent.y, 0.625, 1e-12);
}

TEST(CurveModel, CountChangesStopAtTheLimitsAndEndADragWhosePointIsGone)
{
    EditorState state = {};
    state.pointCount = 2;
    state.dragging = 1;
    state.dragTarget = 2;
    state.selectedIndex = 1;  // a drag left over from a release the window never saw
    EXPECT_TRUE(ChangePointCount(state, -1));
    EXPECT_EQ(state.pointCount, 1);
    EXPECT_EQ(state.pendingWavyInit, 1);
    EXPECT_EQ(state.dragging, 0);
    EXPECT_EQ(state.dragTarget, 0);

    state.pendingWavyInit = 0;
    EXPECT_FALSE(ChangePointCount(state, -1));
    EXPECT_EQ(state.pointCount, 1);
    EXPECT_EQ(state.pendingWavyInit, 0) << "the shape stays as it was";

    state.pointCount = MaxPoints;
    state.dragging = 1;
    EXPECT_FALSE(ChangePointCount(state, +1));
    EXPECT_EQ(state.pointCount, MaxPoints);
    EXPECT_TRUE(ChangePointCount(state, -1));
    EXPECT_EQ(state.dragging, 1) << "point 1 still exists, so its drag goes on";
}

}  // namespace
