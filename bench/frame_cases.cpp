#include "frame_cases.h"

#include <vector>

#include "app/main_window.h"
#include "bench_timing.h"
#include "draw/curve_arithmetic.h"
#include "frame_sampling.h"
#include "model/curve_model.h"
#include "window_driving.h"

namespace {

const COLORREF CurveRed = RGB(255, 0, 0);
const int Blocks = 10;

// The k-th position of a drag that wanders left of and above the last point, within the window.
LPARAM DragPosition(Pixel start, int k)
{
    return MAKELPARAM(start.column - 4 * (k % 64), start.row - 3 * (k % 50));
}

// Moves first to last, each after the paint of the one before, while the sampler reads unless it
// is null; returns the seconds per move.
double DragBlock(HWND window, Pixel start, int first, int last, FrameSampler* sampler)
{
    if (sampler) {
        StartSampling(*sampler);
    }
    const double begin = SecondsNow();
    for (int k = first; k < last; ++k) {
        PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, DragPosition(start, k));
        DispatchCountingPaints(window);
    }
    const double seconds = SecondsNow() - begin;
    if (sampler) {
        StopSampling(*sampler);
    }
    return seconds / (last - first);
}

struct BlockTimes {
    std::vector<double> read;
    std::vector<double> alone;
};

// One block of moves with each paint, read and alone, in an order that turns with the block, so
// that a slow spell of the machine falls on all four alike.
void RunBlock(HWND window, Pixel start, int first, int last, int block, FrameSampler* samplers[2], BlockTimes times[2])
{
    for (int turn = 0; turn < 4; ++turn) {
        const int which = (block + turn) % 4;
        const int paint = which % 2;  // 0 the program's own, 1 on the window
        const bool read = which < 2;
        if (paint) {
            PaintOnWindow(window, DrawEditorState);
        }
        const double seconds = DragBlock(window, start, first, last, read ? samplers[paint] : nullptr);
        (read ? times[paint].read : times[paint].alone).push_back(seconds);
        if (paint) {
            RestoreProgramPaint(window);
        }
    }
}

}  // namespace

FrameCase RunFrameCase(HINSTANCE instance, int width, int height, int pointCount, int moves)
{
    HWND window = OpenBenchWindow(instance, width, height, pointCount);
    FrameCase result = {};
    RECT client;
    GetClientRect(window, &client);
    result.pointCount = pointCount;
    result.clientWidth = client.right;
    result.clientHeight = client.bottom;
    result.moves = moves;

    const Vec2 last = editorState.points[pointCount - 1];
    const Pixel start = UnitToPixel(last.x, last.y, editorState.clientWidth, editorState.clientHeight);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.column, start.row));
    DispatchCountingPaints(window);
    result.dragsLastPoint = editorState.dragging && editorState.selectedIndex == pointCount - 1 &&
                            editorState.dragTarget == 0;

    // y = 0.6, which every segment from a low point to a high one crosses. The curve pixels that
    // every frame of the drag shows there are what the drag does not move; both paints leave the
    // same frames, so one pass over every position finds them.
    FrameSampler offScreen, onWindow;
    offScreen.window = onWindow.window = window;
    offScreen.row = onWindow.row = result.clientHeight * 2 / 5;
    offScreen.colour = onWindow.colour = CurveRed;
    const std::vector<int> columns = ColumnsShowingInEveryFrame(window, offScreen.row, CurveRed, moves, [&](int k) {
        PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, DragPosition(start, k));
        DispatchCountingPaints(window);
    });
    offScreen.wholeFrameColumns = onWindow.wholeFrameColumns = columns;
    result.wholeFrameColumns = static_cast<int>(columns.size());

    FrameSampler* samplers[2] = {&offScreen, &onWindow};
    BlockTimes times[2];
    const int blockMoves = moves / Blocks;
    for (int block = 0; block < Blocks; ++block) {
        RunBlock(window, start, block * blockMoves, (block + 1) * blockMoves, block, samplers, times);
    }
    result.offScreen = {offScreen.samples, offScreen.halfDrawn, Median(times[0].read), Median(times[0].alone)};
    result.onWindow = {onWindow.samples, onWindow.halfDrawn, Median(times[1].read), Median(times[1].alone)};

    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(start.column, start.row));
    DispatchCountingPaints(window);
    CloseBenchWindow(window);
    return result;
}
