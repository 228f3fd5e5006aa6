#pragma once
// Picking and dragging points and handles with the left button. Positions arrive as the unsigned
// 16-bit client-pixel halves of a mouse message; the caller makes the repaint that each asks for.
// Needs no platform headers.
#include <cstdint>

#include "../model/curve_model.h"

// Half the side of the square hit boxes, in unit coordinates.
constexpr double PointTolerance = 0.02;
constexpr double HandleTolerance = 0.01;

struct RepaintRequest {
    bool wanted;
    bool erase;  // clear in trail mode, so earlier curves stay under the new one
};

// Picks the first point (in index order) whose point or handle box holds the pointer, and puts
// that point or handle under it. A press also ends any drag whose release the window missed, even
// over a client area of no width or height, where the position picks nothing.
RepaintRequest PressPointer(EditorState& state, std::uint16_t x, std::uint16_t y);

// While dragging: moves the point, or aims both tangents of the point at the pointer.
RepaintRequest MovePointer(EditorState& state, std::uint16_t x, std::uint16_t y);

// While dragging: a last move (none over a client area of no size), then the drag ends.
RepaintRequest ReleasePointer(EditorState& state, std::uint16_t x, std::uint16_t y);
