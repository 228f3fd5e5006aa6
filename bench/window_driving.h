#pragma once
// The real main window in the benchmark: opened at a known place and size, its messages
// dispatched by a loop that counts its paints, and its paint swapped for one that erases and
// draws on the window itself.
#include <windows.h>

struct LoopCount {
    int paints;
    double secondsInPaint;
};

// Dispatches every queued message, as the program's loop does, and counts the main window's
// paints among them and the time they took. Ends when nothing is queued and no paint is due.
LoopCount DispatchCountingPaints(HWND window);

// The main window, shown and painted with the wavy layout of pointCount points, at the screen's
// top-left corner with a client area of width x height, so that all of it is on the screen and
// painted. Needs the main window class registered in instance.
HWND OpenBenchWindow(HINSTANCE instance, int width, int height, int pointCount);

// Destroys the window and dispatches what that posts.
void CloseBenchWindow(HWND window);

// What OnWindowPaint draws after BeginPaint has erased the window with the class brush.
using DrawOnWindow = void (*)(HDC surface);

// Mean parts of the on-window paints since ClearOnWindowPaintTimes, in seconds: BeginPaint with
// its erase, the drawing, EndPaint.
struct OnWindowPaintTimes {
    double begin;
    double draw;
    double end;
};

// Until RestoreProgramPaint, the window paints the way a window does without a memory surface:
// BeginPaint erases the window itself with the class brush, and draw draws straight onto it.
// Every other message still goes to the program's own procedure.
void PaintOnWindow(HWND window, DrawOnWindow draw);
void RestoreProgramPaint(HWND window);

void ClearOnWindowPaintTimes();
OnWindowPaintTimes MeanOnWindowPaintTimes();
