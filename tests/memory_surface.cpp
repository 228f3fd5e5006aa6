#include "memory_surface.h"

MemorySurface OpenSurface(int width, int height)
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    MemorySurface memory = {};
    memory.surface = CreateCompatibleDC(nullptr);
    memory.bitmap = CreateDIBSection(memory.surface, &format, DIB_RGB_COLORS, &memory.bits, nullptr, 0);
    memory.keptBitmap = SelectObject(memory.surface, memory.bitmap);
    memory.bytes = static_cast<size_t>(width) * height * 4;
    return memory;
}

void CloseSurface(MemorySurface& memory)
{
    SelectObject(memory.surface, memory.keptBitmap);
    DeleteObject(memory.bitmap);
    DeleteDC(memory.surface);
}
