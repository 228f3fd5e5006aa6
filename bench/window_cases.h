#pragma once
// A drag through the real main window: posted pointer messages, the program's own window
// procedure, and paints counted in a message loop that the benchmark drives.
#include <windows.h>

// One way of posting the moves of a drag: the median run of several.
struct DragRuns {
    int paints;                 // paints that one run caused (the most over the runs)
    double seconds;             // from the first move posted to the end of the last paint
    double secondsInPaint;      // of which in the window's paint message
};

struct WindowCase {
    int clientWidth;  // what the window really got
    int clientHeight;
    int bitsPerPixel;  // of the window's surface, and so of its off-screen frame
    bool dragStarted;  // the press picked a point or handle
    int moves;         // pointer moves in one run
    int runs;          // runs of each kind, after a warm-up
    DragRuns burst;    // all moves posted at once, before any paint can come
    DragRuns paced;    // each move posted after the paint of the one before
    // Paced again, with the window's paint making the floor's calls (recorded at the press)
    // instead of the editor's drawing: what the platform alone costs per frame.
    DragRuns pacedFloor;
    // One bare copy of a frame of the client area's size to the window (BitBlt), timed alone in
    // every run: what the program's paint must add to the floor's calls to show a whole frame.
    double copySeconds;
    // Mean parts of one of those floor paints: BeginPaint with its erase, the floor's calls, EndPaint.
    double floorBeginSeconds;
    double floorCallsSeconds;
    double floorEndSeconds;
};

// Needs the main window class registered in instance.
WindowCase RunWindowCase(HINSTANCE instance, int width, int height, int pointCount, int moves, int runs);
