#pragma once
// Drawing the curve and its markers onto the main window's device context during one paint.
// Every pen and brush is made, used and released within one call; nothing is cached between paints.
// What lacks its pen or brush, when the desktop has none to spare, is left out of that one paint.
#include <windows.h>

#include <cstdint>

#include "../model/curve_model.h"

// State of the trail colours' generator: 1 when the program starts, never reseeded, so the trail
// colours of every run form the same sequence.
extern std::uint32_t trailColourState;

// Sets the current position to the pixel of a unit position, drawing nothing.
void MoveToUnitPoint(HDC surface, double x, double y);

// Draws with the current pen from the current position to the pixel of a unit position.
void LineToUnitPoint(HDC surface, double x, double y);

// One Hermite segment as SegmentSteps + 1 lines from the start point, with the current pen.
void TraceSegment(HDC surface, Vec2 start, Vec2 end, Vec2 startTangent, Vec2 endTangent);

// A square at every point and at every handle that belongs to a segment, all in one colour (0x00BBGGRR).
// Outside trail mode also the dotted control polygon and dotted lines from points to their handles,
// whose gaps show the surface's background colour (white in a paint); in trail mode only small
// squares. The surface keeps the pen and brush it had on entry.
void DrawMarkers(HDC surface, const Vec2 points[], const TangentTable& tangents, int count, COLORREF colour);

// Every segment of editorState's curve with one pen chosen for the mode and background;
// the surface keeps the pen it had on entry.
void DrawCurve(HDC surface, const Vec2 points[], const TangentTable& tangents);
