#pragma once
// One full paint of the wavy layout (erase, markers, curve) into a memory bitmap, against the
// floor of the same drawing calls, over point counts, client sizes and trail mode.
#include <windows.h>

#include <vector>

struct PaintCase {
    int pointCount;
    int width;
    int height;
    bool trail;
    double paintSeconds;  // median of one paint
    double floorSeconds;  // median of one play of the floor
    bool samePixels;      // the floor left exactly the paint's pixels (checked without trail only)
};

// background is the brush that erases the window before each paint: its class's brush, which
// lives with the class and so is no part of a paint's cost.
std::vector<PaintCase> RunPaintCases(HBRUSH background, int samples);
