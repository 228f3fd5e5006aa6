#include "pointer_cases.h"

#include "bench_timing.h"
#include "edit/pointer_editing.h"
#include "model/curve_model.h"

PointerCase RunPointerCase(int width, int height, int samples)
{
    EditorState state = {};
    state.pointCount = MaxPoints;
    ApplyWavyLayout(state.points, state.tangents, state.pointCount);
    state.clientWidth = width;
    state.clientHeight = height;

    // The top row lies far from every point and handle of the wavy layout, so a press there scans
    // every index to the end. The positions alternate so that no call repeats the one before.
    const bool pressMissed = !PressPointer(state, 0, 0).wanted && !PressPointer(state, 1, 0).wanted;
    std::uint16_t corner = 0;
    const auto press = [&] {
        corner ^= 1;
        PressPointer(state, corner, 0);
    };
    // A move drags the out-handle of the middle point back and forth over a few pixels.
    const std::uint16_t column = static_cast<std::uint16_t>(width / 2);
    const std::uint16_t row = static_cast<std::uint16_t>(height / 2);
    std::uint16_t offset = 0;
    const auto move = [&] {
        state.dragging = 1;
        state.selectedIndex = MaxPoints / 2;
        state.dragTarget = 1;
        offset = (offset + 1) & 7;
        MovePointer(state, static_cast<std::uint16_t>(column + offset), row);
    };

    const std::vector<double> medians = InterleavedMedians({press, move}, samples);
    return {pressMissed, medians[0], medians[1]};
}
