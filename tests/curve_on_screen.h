#pragma once
// Where the curve now in editorState lies on screen, and whether a captured client area shows it.
#include <windows.h>

#include "draw/curve_arithmetic.h"
#include "window_testing.h"

// Pixel of sample `step` (t = step / 30) of segment `segment`, worked out from the cubic Hermite
// basis in the test, apart from the program's own arithmetic.
Pixel CurveSamplePixel(int segment, int step);

// Every sample of every segment that falls inside the client area shows the colour.
void ExpectCurveSamplesIn(const ClientPixels& pixels, COLORREF colour);
