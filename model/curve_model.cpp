#include "curve_model.h"

EditorState editorState;

Vec2 HandlePosition(Vec2 point, Vec2 tangent)
{
    return {tangent.x * HandleScale + point.x, tangent.y * HandleScale + point.y};
}

Vec2 TangentTowards(Vec2 point, Vec2 handle)
{
    return {(handle.x - point.x) * TangentScale, (handle.y - point.y) * TangentScale};
}

void ResetTangents(TangentTable& tangents, int count)
{
    // Every tangent on a segment points right; the two that belong to no segment point up and left.
    // With one point the last two writes replace the first two.
    const Vec2 right = {0.5, 0.0};
    const Vec2 upLeft = {-0.5, 0.5};
    tangents.outTangents[0] = right;
    tangents.inTangents[0] = upLeft;
    for (int i = 1; i <= count - 2; ++i) {
        tangents.outTangents[i] = right;
        tangents.inTangents[i] = right;
    }
    tangents.outTangents[count - 1] = upLeft;
    tangents.inTangents[count - 1] = right;
}

// Spreads the points evenly from x = 0.05 to x = 0.95; interior points alternate between
// y = 0.25 and y = 0.75 when wavy, and lie on y = 0.5 otherwise, as the two ends always do.
static void ApplyLayout(Vec2 points[], TangentTable& tangents, int count, bool wavy)
{
    const double step = 0.9 / (count - 1);  // infinite for one point, and then never used
    points[0] = {0.05, 0.5};
    bool high = false;
    for (int i = 1; i <= count - 2; ++i) {
        double y = 0.5;
        if (wavy) {
            y = high ? 0.75 : 0.25;
            high = !high;
        }
        points[i] = {i * step + 0.05, y};
    }
    points[count - 1] = {0.95, 0.5};
    ResetTangents(tangents, count);
}

void ApplyStraightLayout(Vec2 points[], TangentTable& tangents, int count)
{
    ApplyLayout(points, tangents, count, false);
}

void ApplyWavyLayout(Vec2 points[], TangentTable& tangents, int count)
{
    ApplyLayout(points, tangents, count, true);
}

void ApplyPendingLayouts(EditorState& state)
{
    if (state.pendingStraightInit) {
        ApplyStraightLayout(state.points, state.tangents, state.pointCount);
        state.pendingStraightInit = 0;
    }
    if (state.pendingWavyInit) {
        ApplyWavyLayout(state.points, state.tangents, state.pointCount);
        state.pendingWavyInit = 0;
    }
}

bool ChangePointCount(EditorState& state, int change)
{
    const int count = state.pointCount + change;
    if (count < 1 || count > MaxPoints) {
        return false;
    }
    state.pointCount = count;
    state.pendingWavyInit = 1;
    if (state.dragging && state.selectedIndex >= count) {
        state.dragging = 0;
        state.dragTarget = 0;
    }
    return true;
}
