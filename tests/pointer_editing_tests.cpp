// Pointer editing on the start-up curve in a 500 x 400 client area: pixel (X, Y) is unit
// (X / 500, 1 - Y / 400). Points: (0.05, 0.5), (0.35, 0.25), (0.65, 0.75), (0.95, 0.5).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "edit/pointer_editing.h"
#include "vec2_printing.h"

namespace {

const Vec2 Right = {0.5, 0.0};

EditorState StartUpState()
{
    EditorState state = {};
    state.pointCount = 4;
    ApplyWavyLayout(state.points, state.tangents, 4);
    state.clientWidth = 500;
    state.clientHeight = 400;
    state.selectedIndex = 2;  // left from an earlier drag; a press that misses keeps it
    return state;
}

void ExpectNear(Vec2 actual, Vec2 expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-12) << what;
}

bool SameCurve(const EditorState& a, const EditorState& b)
{
    return std::memcmp(a.points, b.points, sizeof a.points) == 0 &&
           std::memcmp(&a.tangents, &b.tangents, sizeof a.tangents) == 0;
}

struct Expected {
    int dragging, dragTarget, selectedIndex;
    int changedIndex;  // the one point whose point or tangents change, or -1
    Vec2 point, outTangent, inTangent;
};

void ExpectState(const EditorState& before, const EditorState& after, const Expected& e)
{
    EXPECT_EQ(after.dragging, e.dragging);
    EXPECT_EQ(after.dragTarget, e.dragTarget);
    EXPECT_EQ(after.selectedIndex, e.selectedIndex);
    EditorState rest = after;
    if (e.changedIndex >= 0) {
        const int i = e.changedIndex;
        ExpectNear(after.points[i], e.point, "point");
        ExpectNear(after.tangents.outTangents[i], e.outTangent, "out-tangent");
        ExpectNear(after.tangents.inTangents[i], e.inTangent, "in-tangent");
        rest.points[i] = before.points[i];
        rest.tangents.outTangents[i] = before.tangents.outTangents[i];
        rest.tangents.inTangents[i] = before.tangents.inTangents[i];
    }
    EXPECT_TRUE(SameCurve(rest, before)) << "something else moved";
}

// Point 1, or its two handles 0.1 to its right, moved so that the pointer at pixel (250, 200), unit
// (0.5, 0.5), lies on one side of the hit box: the box's centre is the tolerance away towards (dx, dy).
template <int dx, int dy>
void PointBoxBeside(EditorState& s)
{
    s.points[1] = {0.5 + dx * PointTolerance, 0.5 + dy * PointTolerance};
}

template <int dx, int dy>
void HandleBoxBeside(EditorState& s)
{
    s.points[1] = {0.4 + dx * HandleTolerance, 0.5 + dy * HandleTolerance};
}

const Expected Miss = {0, 0, 2, -1, {}, {}, {}};

TEST(PointerEditing, PressPicksTheFirstHitAndPutsItUnderThePointer)
{
    const struct {
        const char* what;
        void (*setUp)(EditorState&);
        std::uint16_t x, y;
        Expected expected;
    } cases[] = {
        {"a miss changes nothing", nullptr, 300, 300, Miss},
        {"exactly on point 1", nullptr, 175, 300, {1, 0, 1, 1, {0.35, 0.25}, Right, Right}},
        {"both handles of point 1 coincide: the in-handle wins", nullptr, 225, 300,
         {1, 2, 1, 1, {0.35, 0.25}, Right, Right}},
        {"the undrawn out-handle of the last point", nullptr, 425, 160,
         {1, 1, 3, 3, {0.95, 0.5}, {-0.5, 0.5}, Right}},
        {"two points under the pointer: the lower index, alone, moves",
         [](EditorState& s) { s.points[2] = {0.36, 0.26}; }, 177, 298, {1, 0, 1, 1, {0.354, 0.255}, Right, Right}},
        {"a handle on its own point takes the drag after the point snapped",
         [](EditorState& s) { s.tangents.outTangents[1] = {0, 0}; }, 178, 298,
         {1, 1, 1, 1, {0.356, 0.255}, {0, 0}, Right}},
        // Every side of both boxes: exactly the tolerance away hits, a pixel further out misses.
        {"point box, left side", PointBoxBeside<1, 0>, 250, 200, {1, 0, 1, 1, {0.5, 0.5}, Right, Right}},
        {"left of the point box", PointBoxBeside<1, 0>, 249, 200, Miss},
        {"point box, right side", PointBoxBeside<-1, 0>, 250, 200, {1, 0, 1, 1, {0.5, 0.5}, Right, Right}},
        {"right of the point box", PointBoxBeside<-1, 0>, 251, 200, Miss},
        {"point box, top side", PointBoxBeside<0, -1>, 250, 200, {1, 0, 1, 1, {0.5, 0.5}, Right, Right}},
        {"above the point box", PointBoxBeside<0, -1>, 250, 199, Miss},
        {"point box, bottom side", PointBoxBeside<0, 1>, 250, 200, {1, 0, 1, 1, {0.5, 0.5}, Right, Right}},
        {"below the point box", PointBoxBeside<0, 1>, 250, 201, Miss},
        {"handle box, left side", HandleBoxBeside<1, 0>, 250, 200, {1, 2, 1, 1, {0.41, 0.5}, {0.45, 0}, {0.45, 0}}},
        {"left of the handle box", HandleBoxBeside<1, 0>, 249, 200, Miss},
        {"handle box, right side", HandleBoxBeside<-1, 0>, 250, 200, {1, 2, 1, 1, {0.39, 0.5}, {0.55, 0}, {0.55, 0}}},
        {"right of the handle box", HandleBoxBeside<-1, 0>, 251, 200, Miss},
        {"handle box, top side", HandleBoxBeside<0, -1>, 250, 200, {1, 2, 1, 1, {0.4, 0.49}, {0.5, 0.05}, {0.5, 0.05}}},
        {"above the handle box", HandleBoxBeside<0, -1>, 250, 199, Miss},
        {"handle box, bottom side", HandleBoxBeside<0, 1>, 250, 200,
         {1, 2, 1, 1, {0.4, 0.51}, {0.5, -0.05}, {0.5, -0.05}}},
        {"below the handle box", HandleBoxBeside<0, 1>, 250, 201, Miss},
        {"a press while a missed release left a drag ends it without a last update",
         [](EditorState& s) { s.dragging = 1, s.dragTarget = 1, s.selectedIndex = 1; }, 300, 300,
         {0, 0, 1, -1, {}, {}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int trail : {0, 1}) {
            EditorState state = StartUpState();
            state.trailMode = trail;
            if (c.setUp) {
                c.setUp(state);
            }
            const EditorState before = state;
            const RepaintRequest repaint = PressPointer(state, c.x, c.y);
            ExpectNear(state.cursor, {c.x / 500.0, 1 - c.y / 400.0}, "cursor");
            ExpectState(before, state, c.expected);
            EXPECT_EQ(repaint.wanted, c.expected.dragging == 1);
            if (repaint.wanted) {
                EXPECT_EQ(repaint.erase, trail == 0);
            }
        }
    }
}

TEST(PointerEditing, MovesAndTheReleaseDragThePointOrAimBothTangents)
{
    const struct {
        const char* what;
        std::uint16_t pressX, pressY, moveX, moveY;
        Expected afterMove;
    } cases[] = {
        {"point 1 follows the pointer; its tangents stay", 175, 300, 200, 200,
         {1, 0, 1, 1, {0.4, 0.5}, Right, Right}},
        {"a handle of point 1 aims both tangents; the point stays", 225, 300, 225, 250,
         {1, 2, 1, 1, {0.35, 0.25}, {0.5, 0.625}, {0.5, 0.625}}},
        {"the last point's out-handle sets its drawn in-tangent too", 425, 160, 450, 120,
         {1, 1, 3, 3, {0.95, 0.5}, {-0.25, 1.0}, {-0.25, 1.0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EditorState state = StartUpState();
        const EditorState before = state;
        PressPointer(state, c.pressX, c.pressY);
        const RepaintRequest moved = MovePointer(state, c.moveX, c.moveY);
        EXPECT_TRUE(moved.wanted && moved.erase);
        ExpectNear(state.cursor, {c.moveX / 500.0, 1 - c.moveY / 400.0}, "cursor");
        ExpectState(before, state, c.afterMove);

        Expected afterRelease = c.afterMove;
        afterRelease.dragging = 0;
        afterRelease.dragTarget = 0;
        EXPECT_TRUE(ReleasePointer(state, c.moveX, c.moveY).wanted);
        ExpectState(before, state, afterRelease);
    }

    EditorState state = StartUpState();
    PressPointer(state, 175, 300);
    ReleasePointer(state, 210, 190);
    ExpectNear(state.points[1], {0.42, 0.525}, "released point");

    // In trail mode a move and the release ask for a repaint that keeps the earlier curves.
    state = StartUpState();
    state.trailMode = 1;
    PressPointer(state, 225, 300);
    const RepaintRequest moved = MovePointer(state, 225, 250);
    EXPECT_TRUE(moved.wanted && !moved.erase);
    const RepaintRequest released = ReleasePointer(state, 225, 250);
    EXPECT_TRUE(released.wanted && !released.erase);
}

TEST(PointerEditing, WithoutADragMovesAndReleasesDoNothing)
{
    EditorState state = StartUpState();
    PressPointer(state, 300, 300);
    const EditorState before = state;
    EXPECT_FALSE(MovePointer(state, 175, 300).wanted);
    EXPECT_FALSE(ReleasePointer(state, 175, 300).wanted);
    EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0) << "not even the cursor changes";
}

TEST(PointerEditing, AfterAMissedReleaseMovesGoOnDragging)
{
    EditorState state = StartUpState();
    PressPointer(state, 175, 300);
    MovePointer(state, 200, 200);  // the button comes up outside the window: no release arrives
    MovePointer(state, 250, 100);
    ExpectNear(state.points[1], {0.5, 0.75}, "point 1");
    EXPECT_EQ(state.dragging, 1);
}

TEST(PointerEditing, PositionsAreUnsignedAndAtZeroSizeAPressOrAReleaseOnlyEndsTheDrag)
{
    EditorState state = StartUpState();
    PressPointer(state, 0xFFFF, 0xFFFF);
    EXPECT_EQ(state.cursor.x, 65535 / 500.0);
    EXPECT_EQ(state.cursor.y, 1 - 65535 / 400.0);

    // A minimised window reports a 0 x 0 client area; a pointer there must not become a
    // non-finite point or tangent, and the cursor keeps its value. A move does nothing.
    for (Vec2 size : {Vec2{0, 400}, Vec2{500, 0}, Vec2{0, 0}}) {
        for (auto endOfDrag : {PressPointer, ReleasePointer}) {
            state = StartUpState();
            PressPointer(state, 175, 300);
            PressPointer(state, 225, 300);  // dragging a handle
            state.clientWidth = size.x;
            state.clientHeight = size.y;
            EditorState expected = state;
            expected.dragging = 0;
            expected.dragTarget = 0;
            EXPECT_FALSE(MovePointer(state, 0, 0).wanted);
            EXPECT_FALSE(endOfDrag(state, 0, 0).wanted);
            EXPECT_EQ(std::memcmp(&state, &expected, sizeof state), 0);
        }
    }
}

}  // namespace
