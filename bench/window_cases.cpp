#include "window_cases.h"

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "bench_timing.h"
#include "draw/curve_arithmetic.h"
#include "drawing_floor.h"
#include "model/curve_model.h"
#include "window_driving.h"

namespace {

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

// A memory frame of the client area's size, as the program keeps one, to time its bare copy to the
// window with.
struct BareFrame {
    HDC surface;
    HBITMAP bitmap;
    HGDIOBJ surfaceOwnBitmap;
};

BareFrame MakeBareFrame(HWND window, int width, int height)
{
    HDC windowSurface = GetDC(window);
    BareFrame frame = {CreateCompatibleDC(windowSurface), CreateCompatibleBitmap(windowSurface, width, height), nullptr};
    ReleaseDC(window, windowSurface);
    frame.surfaceOwnBitmap = SelectObject(frame.surface, frame.bitmap);
    return frame;
}

void FreeBareFrame(const BareFrame& frame)
{
    SelectObject(frame.surface, frame.surfaceOwnBitmap);
    DeleteObject(frame.bitmap);
    DeleteDC(frame.surface);
}

// The mean time of one BitBlt of the frame to the window, over copies enough to last some
// milliseconds; the first copy, which may touch the frame's memory for the first time, is left out.
double TimeBareCopy(HWND window, const BareFrame& frame, int width, int height)
{
    HDC windowSurface = GetDC(window);
    BitBlt(windowSurface, 0, 0, width, height, frame.surface, 0, 0, SRCCOPY);
    GdiFlush();
    const int copies = 20;
    const double start = SecondsNow();
    for (int copy = 0; copy < copies; ++copy) {
        BitBlt(windowSurface, 0, 0, width, height, frame.surface, 0, 0, SRCCOPY);
    }
    GdiFlush();
    const double seconds = (SecondsNow() - start) / copies;
    ReleaseDC(window, windowSurface);
    // The window now shows an empty frame: the next paint draws the program's again.
    InvalidateRect(window, nullptr, TRUE);
    DispatchCountingPaints(window);
    return seconds;
}

DrawingFloor windowFloor;

void PlayWindowFloor(HDC surface)
{
    PlayFloor(surface, windowFloor);
}

}  // namespace

WindowCase RunWindowCase(HINSTANCE instance, int width, int height, int pointCount, int moves, int runs)
{
    HWND window = OpenBenchWindow(instance, width, height, pointCount);

    WindowCase result = {};
    RECT client;
    GetClientRect(window, &client);
    result.clientWidth = client.right;
    result.clientHeight = client.bottom;
    HDC surface = GetDC(window);
    result.bitsPerPixel = GetDeviceCaps(surface, BITSPIXEL);
    ReleaseDC(window, surface);
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
    std::vector<double> copySeconds;
    const BareFrame bareFrame = MakeBareFrame(window, result.clientWidth, result.clientHeight);
    for (int round = 0; round <= runs; ++round) {
        const int roundMoves = round ? moves : moves / 10;
        if (round == 1) {
            ClearOnWindowPaintTimes();
        }
        const TimedRun burstRun = TimeRun(window, start, roundMoves, false);
        TimedRun pacedRun = {}, floorRun = {};
        for (int block = 0; block < blocks; ++block) {
            Add(pacedRun, TimeRun(window, start, roundMoves / blocks, true));
            PaintOnWindow(window, PlayWindowFloor);
            Add(floorRun, TimeRun(window, start, roundMoves / blocks, true));
            RestoreProgramPaint(window);
        }
        if (round) {
            copySeconds.push_back(TimeBareCopy(window, bareFrame, result.clientWidth, result.clientHeight));
            Keep(burst, burstRun);
            Keep(paced, pacedRun);
            Keep(pacedFloor, floorRun);
        }
    }
    ReleaseFloor(windowFloor);
    FreeBareFrame(bareFrame);
    const OnWindowPaintTimes floorTimes = MeanOnWindowPaintTimes();
    result.floorBeginSeconds = floorTimes.begin;
    result.floorCallsSeconds = floorTimes.draw;
    result.floorEndSeconds = floorTimes.end;
    result.burst = MedianRun(burst);
    result.paced = MedianRun(paced);
    result.pacedFloor = MedianRun(pacedFloor);
    result.copySeconds = Median(copySeconds);

    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(start.column, start.row));
    DispatchCountingPaints(window);
    CloseBenchWindow(window);
    return result;
}
