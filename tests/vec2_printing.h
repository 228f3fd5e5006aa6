#pragma once
// Lets tests compare and print Vec2 values.
#include <ostream>

#include "model/curve_model.h"

inline bool operator==(Vec2 a, Vec2 b)
{
    return a.x == b.x && a.y == b.y;
}

inline std::ostream& operator<<(std::ostream& out, Vec2 v)
{
    return out << '(' << v.x << ", " << v.y << ')';
}
