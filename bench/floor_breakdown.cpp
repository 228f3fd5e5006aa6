#include "floor_breakdown.h"

#include "bench_timing.h"
#include "drawing_floor.h"
#include "memory_surface.h"
#include "model/curve_model.h"

static int CountCalls(const DrawingFloor& floor, unsigned kinds)
{
    int count = 0;
    for (const FloorCall& call : floor.calls) {
        count += (call.kind & kinds) != 0;
    }
    return count;
}

std::vector<FloorPart> RunFloorBreakdown(HBRUSH background, int pointCount, int width, int height, int samples)
{
    editorState = EditorState{};
    editorState.pointCount = pointCount;
    ApplyWavyLayout(editorState.points, editorState.tangents, pointCount);
    editorState.clientWidth = width;
    editorState.clientHeight = height;
    MemorySurface memory = OpenSurface(width, height);
    DrawingFloor floor = RecordFloor();
    const RECT all = {0, 0, width, height};

    // Lines and squares need their pens and brush, so every part plays the selections and moves
    // too, and that part alone is taken off the others.
    const unsigned base = FloorCall::Select | FloorCall::Move;
    const unsigned parts[] = {FloorCall::DottedLine, FloorCall::Box, FloorCall::SolidLine};
    std::vector<std::function<void()>> works = {[&] { FillRect(memory.surface, &all, background); },
                                                [&] { PlayFloor(memory.surface, floor, base); }};
    for (unsigned part : parts) {
        works.push_back([&, part] { PlayFloor(memory.surface, floor, base | part); });
    }
    const std::vector<double> medians = InterleavedMedians(works, samples);
    const std::vector<FloorPart> breakdown = {
        {"erase (one FillRect)", 1, medians[0]},
        {"pen and brush selections, moves", CountCalls(floor, base), medians[1]},
        {"dotted lines: control polygon and handle lines", CountCalls(floor, parts[0]), medians[2] - medians[1]},
        {"squares at points and handles", CountCalls(floor, parts[1]), medians[3] - medians[1]},
        {"curve lines, one pixel wide", CountCalls(floor, parts[2]), medians[4] - medians[1]}};

    ReleaseFloor(floor);
    CloseSurface(memory);
    return breakdown;
}
