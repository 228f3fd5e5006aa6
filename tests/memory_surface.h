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

// bits is null when no bitmap of that size can be had; CloseSurface releases what was made either way.
MemorySurface OpenSurface(int width, int height);
void CloseSurface(MemorySurface& memory);

// Pixel i, counting row by row from the top, as 0x00BBGGRR; call GdiFlush after drawing first.
inline COLORREF PixelAt(const MemorySurface& memory, size_t i)
{
    const RGBQUAD quad = static_cast<const RGBQUAD*>(memory.bits)[i];
    return RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue);
}
