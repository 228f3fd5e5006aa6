#pragma once
// A memory device context drawing into a 32-bit top-down bitmap: the pixel format of a window
// surface on a true-colour display.
#include <windows.h>

#include <cstddef>

struct MemorySurface {
    HDC surface;
    HBITMAP bitmap;
    HGDIOBJ keptBitmap;
    void* bits;
    size_t bytes;
};

MemorySurface OpenSurface(int width, int height);
void CloseSurface(MemorySurface& memory);
