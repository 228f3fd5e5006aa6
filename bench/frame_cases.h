#pragma once
// Half-drawn frames: the last point dragged through the real main window, one move after the paint
// of the one before, while a second thread reads one row of the window's pixels as fast as it can.
// The program's paint, composed off-screen, against a paint that erases and draws on the window.
#include <windows.h>

struct FramePaint {
    long long reads;      // rows the second thread read
    long long halfDrawn;  // of which lacked a curve pixel that every whole frame shows
    // A move posted, dispatched and painted, median over blocks of moves: while the second thread
    // reads, and in blocks of their own while nothing else runs.
    double secondsPerMove;
    double secondsPerMoveAlone;
};

struct FrameCase {
    int pointCount;
    int clientWidth;  // what the window really got
    int clientHeight;
    bool dragsLastPoint;  // the press picked the last point itself
    int moves;            // of each paint
    int wholeFrameColumns;  // curve pixels of the row that every whole frame shows
    FramePaint offScreen;   // the program's own paint
    FramePaint onWindow;    // BeginPaint's erase on the window, then the same drawing there
};

// Needs the main window class registered in instance.
FrameCase RunFrameCase(HINSTANCE instance, int width, int height, int pointCount, int moves);
