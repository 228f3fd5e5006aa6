#include "state_checks.h"

#include <cmath>

static bool Finite(Vec2 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

std::string EditorStateFault(const EditorState& s)
{
    if (s.pointCount < 1 || s.pointCount > MaxPoints) {
        return "point count " + std::to_string(s.pointCount);
    }
    for (int i = 0; i < s.pointCount; ++i) {
        if (!Finite(s.points[i]) || !Finite(s.tangents.outTangents[i]) || !Finite(s.tangents.inTangents[i])) {
            return "non-finite point or tangent at " + std::to_string(i);
        }
    }
    if (s.dragging && (s.selectedIndex < 0 || s.selectedIndex >= s.pointCount)) {
        return "dragging point " + std::to_string(s.selectedIndex) + " of " + std::to_string(s.pointCount);
    }
    return {};
}
