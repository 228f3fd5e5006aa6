#include "paint_cases.h"

#include <windows.h>

#include <cstring>

#include "app/main_window.h"
#include "bench_timing.h"
#include "drawing_floor.h"
#include "memory_surface.h"
#include "model/curve_model.h"

namespace {

// The erase that BeginPaint makes with the window class's grey brush; a trail-mode paint makes none.
void Erase(HDC surface, const RECT& all, HBRUSH background)
{
    if (!editorState.trailMode) {
        FillRect(surface, &all, background);
    }
}

bool FloorLeavesThePaintsPixels(const MemorySurface& memory, const RECT& all, HBRUSH background,
                                const DrawingFloor& floor)
{
    Erase(memory.surface, all, background);
    DrawEditorState(memory.surface);
    GdiFlush();
    std::vector<unsigned char> painted(static_cast<const unsigned char*>(memory.bits),
                                       static_cast<const unsigned char*>(memory.bits) + memory.bytes);
    Erase(memory.surface, all, background);
    PlayFloor(memory.surface, floor);
    GdiFlush();
    return std::memcmp(painted.data(), memory.bits, memory.bytes) == 0;
}

PaintCase RunPaintCase(int pointCount, int width, int height, bool trail, HBRUSH background, int samples)
{
    editorState = EditorState{};
    editorState.pointCount = pointCount;
    ApplyWavyLayout(editorState.points, editorState.tangents, pointCount);
    editorState.clientWidth = width;
    editorState.clientHeight = height;
    editorState.trailMode = trail;

    MemorySurface memory = OpenSurface(width, height);
    const RECT all = {0, 0, width, height};
    DrawingFloor floor = RecordFloor();
    // Trail colours differ from paint to paint, so only the paints without trail can match exactly.
    const bool samePixels = trail || FloorLeavesThePaintsPixels(memory, all, background, floor);

    const std::vector<double> medians = InterleavedMedians(
        {[&] {
             Erase(memory.surface, all, background);
             DrawEditorState(memory.surface);
             GdiFlush();
         },
         [&] {
             Erase(memory.surface, all, background);
             PlayFloor(memory.surface, floor);
             GdiFlush();
         }},
        samples);

    ReleaseFloor(floor);
    CloseSurface(memory);
    return {pointCount, width, height, trail, medians[0], medians[1], samePixels};
}

}  // namespace

std::vector<PaintCase> RunPaintCases(HBRUSH background, int samples)
{
    const int pointCounts[] = {4, 50, 150};
    const SIZE sizes[] = {{800, 600}, {1920, 1080}, {3840, 2160}};
    std::vector<PaintCase> cases;
    for (const SIZE& size : sizes) {
        for (int pointCount : pointCounts) {
            for (bool trail : {false, true}) {
                cases.push_back(RunPaintCase(pointCount, size.cx, size.cy, trail, background, samples));
            }
        }
    }
    return cases;
}
