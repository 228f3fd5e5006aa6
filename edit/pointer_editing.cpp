#include "pointer_editing.h"

// A client area with no width or height gives a pixel no unit position; the position is then
// left unused rather than turned into an infinite or undefined coordinate.
static bool PointerToUnit(const EditorState& state, std::uint16_t x, std::uint16_t y, Vec2& unit)
{
    if (!(state.clientWidth > 0.0 && state.clientHeight > 0.0)) {
        return false;
    }
    unit = {x / state.clientWidth, 1.0 - y / state.clientHeight};
    return true;
}

// Inclusive on every side, so a pointer exactly the tolerance away still hits.
static bool InBox(Vec2 centre, double tolerance, Vec2 pointer)
{
    return centre.x - tolerance <= pointer.x && centre.x + tolerance >= pointer.x &&
           centre.y + tolerance >= pointer.y && centre.y - tolerance <= pointer.y;
}

// A hit puts the handle on the pointer: only the tangent that was hit changes. Inline because the
// press's scan calls it twice for every point, and as a call of its own it doubled the scan's cost.
static inline void PickHandle(EditorState& state, int i, Vec2& tangent, int target, Vec2 c)
{
    if (InBox(HandlePosition(state.points[i], tangent), HandleTolerance, c)) {
        state.dragging = 1;
        state.dragTarget = target;
        tangent = TangentTowards(state.points[i], c);
        state.selectedIndex = i;
    }
}

static RepaintRequest Repaint(const EditorState& state)
{
    return {true, state.trailMode == 0};
}

static void DragTo(EditorState& state, Vec2 pointer)
{
    const int s = state.selectedIndex;
    if (state.dragTarget == 0) {
        state.points[s] = pointer;
        return;
    }
    // Whichever handle was picked, both tangents of the point follow it.
    const Vec2 tangent = TangentTowards(state.points[s], pointer);
    state.tangents.outTangents[s] = tangent;
    state.tangents.inTangents[s] = tangent;
}

RepaintRequest PressPointer(EditorState& state, std::uint16_t x, std::uint16_t y)
{
    // Any drag ends here, even where the position has no unit value, so none outlives its press.
    state.dragging = 0;
    state.dragTarget = 0;
    Vec2 c;
    if (!PointerToUnit(state, x, y, c)) {
        return {};
    }
    state.cursor = c;
    // The scan stops after the first index with a hit, but all three tests of that index run, so
    // its in-handle wins over its out-handle and either handle over the point. A point hit has
    // already moved the point, and with it the handle boxes, when its handles are tested.
    for (int i = 0; i < state.pointCount && !state.dragging; ++i) {
        if (InBox(state.points[i], PointTolerance, c)) {
            state.dragging = 1;
            state.points[i] = c;
            state.selectedIndex = i;
        }
        PickHandle(state, i, state.tangents.outTangents[i], 1, c);
        PickHandle(state, i, state.tangents.inTangents[i], 2, c);
    }
    return state.dragging ? Repaint(state) : RepaintRequest{};
}

RepaintRequest MovePointer(EditorState& state, std::uint16_t x, std::uint16_t y)
{
    Vec2 c;
    if (!state.dragging || !PointerToUnit(state, x, y, c)) {
        return {};
    }
    state.cursor = c;
    DragTo(state, c);
    return Repaint(state);
}

RepaintRequest ReleasePointer(EditorState& state, std::uint16_t x, std::uint16_t y)
{
    // The drag ends even where the last move could not be made (a client area of no size).
    const RepaintRequest lastMove = MovePointer(state, x, y);
    state.dragTarget = 0;
    state.dragging = 0;
    return lastMove;
}
