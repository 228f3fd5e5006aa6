#include "window_cases.h"

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "bench_timing.h"
#include "draw/curve_arithmetic.h"
#include "drawing_floor.h"
#include "model/curve_model.h"

namespace {

struct LoopCount {
    int paints;
    double secondsInPaint;
};

// Dispatches every queued message, as the program's loop does, and counts the main window's
// paints among them and the time they took. Ends when nothing is queued and no paint is due.
LoopCount DispatchCountingPaints(HWND window)
{
    LoopCount count = {};
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        const bool paint = message.message == WM_PAINT && message.hwnd == window;
        const double start = paint ? SecondsNow() : 0.0;
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (paint) {
            ++count.paints;
            count.secondsInPaint += SecondsNow() - start;
        }
    }
    return count;
}

// Puts the window at the screen's top-left corner with a client area of width x height, so that
// all of it is on the screen and painted.
void PlaceWindow(HWND window, int width, int height)
{
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The k-th position of a drag that wanders around a start pixel, never twice in a row the same.
LPARAM DragPosition(Pixel start, int k)
{
    return MAKELPARAM(start.column + 4 * (k % 64), start.row + 3 * (k % 50));
}

// Posts the moves of one run, all at once or each after the paint of the one before.
LoopCount DragRun(HWND window, Pixel start, int moves, bool paced)
{
    LoopCount total = {};
    for (int k = 0; k < moves; ++k) {
        PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, DragPosition(start, k));
        if (paced) {
            const LoopCount count = DispatchCountingPaints(window);
            total.paints += count.paints;
            total.secondsInPaint += count.secondsInPaint;
        }
    }
    const LoopCount count = DispatchCountingPaints(window);
    return {total.paints + count.paints, total.secondsInPaint + count.secondsInPaint};
}

struct TimedRun {
    int paints;
    double seconds;
    double secondsInPaint;
};

TimedRun TimeRun(HWND window, Pixel start, int moves, bool paced)
{
    const double begin = SecondsNow();
    const LoopCount count = DragRun(window, start, moves, paced);
    return {count.paints, SecondsNow() - begin, count.secondsInPaint};
}

void Add(TimedRun& sum, const TimedRun& part)
{
    sum.paints += part.paints;
    sum.seconds += part.seconds;
    sum.secondsInPaint += part.secondsInPaint;
}

// The runs of one kind, summed up as the median run.
struct RunTimes {
    int paints = 0;
    std::vector<double> seconds;
    std::vector<double> secondsInPaint;
};

void Keep(RunTimes& times, const TimedRun& run)
{
    times.paints = std::max(times.paints, run.paints);
    times.seconds.push_back(run.seconds);
    times.secondsInPaint.push_back(run.secondsInPaint);
}

DragRuns MedianRun(const RunTimes& times)
{
    return {times.paints, Median(times.seconds), Median(times.secondsInPaint)};
}

WNDPROC programProcedure;
DrawingFloor windowFloor;
double floorPaintParts[3];  // seconds summed over the floor paints: begin, calls, end
int floorPaints;

// The program's paint with the floor's calls in place of the editor's drawing; every other
// message goes to the program's own procedure.
LRESULT CALLBACK FloorPaintProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) {
        return CallWindowProcA(programProcedure, window, message, wParam, lParam);
    }
    const double start = SecondsNow();
    InvalidateRect(window, nullptr, TRUE);
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(window, &paint);
    const double begun = SecondsNow();
    PlayFloor(surface, windowFloor);
    const double drawn = SecondsNow();
    EndPaint(window, &paint);
    floorPaintParts[0] += begun - start;
    floorPaintParts[1] += drawn - begun;
    floorPaintParts[2] += SecondsNow() - drawn;
    ++floorPaints;
    return 0;
}

}  // namespace

WindowCase RunWindowCase(HINSTANCE instance, int width, int height, int pointCount, int moves, int runs)
{
    editorState = EditorState{};
    editorState.instance = instance;
    HWND window = CreateMainWindow(instance);
    PlaceWindow(window, width, height);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    editorState.pointCount = pointCount;
    ApplyWavyLayout(editorState.points, editorState.tangents, pointCount);
    InvalidateRect(window, nullptr, TRUE);
    DispatchCountingPaints(window);

    WindowCase result = {};
    RECT client;
    GetClientRect(window, &client);
    result.clientWidth = client.right;
    result.clientHeight = client.bottom;
    result.moves = moves;
    result.runs = runs;

    // Press on the middle point, and drag whatever the press picked.
    const Vec2 middle = editorState.points[pointCount / 2];
    const Pixel start = UnitToPixel(middle.x, middle.y, editorState.clientWidth, editorState.clientHeight);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.column, start.row));
    DispatchCountingPaints(window);
    result.dragStarted = editorState.dragging != 0;

    // The paced runs of the program's paint and of the floor's take turns in blocks of a tenth of
    // their moves, so that a slow spell of the machine falls on both alike. The first round, with
    // a tenth of the moves, warms up and is not kept.
    const int blocks = 10;
    windowFloor = RecordFloor();
    RunTimes burst, paced, pacedFloor;
    for (int round = 0; round <= runs; ++round) {
        const int roundMoves = round ? moves : moves / 10;
        if (round == 1) {
            floorPaintParts[0] = floorPaintParts[1] = floorPaintParts[2] = 0.0;
            floorPaints = 0;
        }
        const TimedRun burstRun = TimeRun(window, start, roundMoves, false);
        TimedRun pacedRun = {}, floorRun = {};
        for (int block = 0; block < blocks; ++block) {
            Add(pacedRun, TimeRun(window, start, roundMoves / blocks, true));
            programProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FloorPaintProcedure)));
            Add(floorRun, TimeRun(window, start, roundMoves / blocks, true));
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(programProcedure));
        }
        if (round) {
            Keep(burst, burstRun);
            Keep(paced, pacedRun);
            Keep(pacedFloor, floorRun);
        }
    }
    ReleaseFloor(windowFloor);
    result.floorBeginSeconds = floorPaintParts[0] / floorPaints;
    result.floorCallsSeconds = floorPaintParts[1] / floorPaints;
    result.floorEndSeconds = floorPaintParts[2] / floorPaints;
    result.burst = MedianRun(burst);
    result.paced = MedianRun(paced);
    result.pacedFloor = MedianRun(pacedFloor);

    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(start.column, start.row));
    DispatchCountingPaints(window);
    DestroyWindow(window);
    DispatchCountingPaints(window);
    return result;
}
