#pragma once
// Where the time of the floor goes: its calls timed by kind, for one curve and client size.
#include <windows.h>

#include <vector>

struct FloorPart {
    const char* what;
    int calls;
    double seconds;  // median for the calls of one paint
};

// The wavy layout without trail; background is the brush of the erase.
std::vector<FloorPart> RunFloorBreakdown(HBRUSH background, int pointCount, int width, int height, int samples);
