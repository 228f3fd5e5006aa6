#pragma once
// Real windows for tests: the main window opened at a known client size, the pending messages
// dispatched as the program's own loop would, and the client area read back as pixels.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Zeroes editorState, registers the class once per process and opens a shown, painted main window
// whose client area is width x height pixels.
HWND OpenMainWindow(int width, int height);

// The built program, trazos.exe, which lies beside the test programs.
std::wstring BuiltProgramPath();

// Gives the window a client area of width x height pixels.
void SetClientSize(HWND window, int width, int height);

// Dispatches every message already queued for this thread, the controls panel's through
// IsDialogMessageA, as the program's loop does.
void DispatchPendingMessages();

struct ClientPixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;  // row by row from the top

    // CLR_INVALID outside the picture.
    COLORREF At(int column, int row) const
    {
        if (column < 0 || column >= width || row < 0 || row >= height) {
            return CLR_INVALID;
        }
        return colours[static_cast<size_t>(row) * width + column];
    }
    int CountInColumn(int column, int firstRow, int lastRow, COLORREF colour) const;
    int Count(COLORREF colour) const;
};

// What the client area shows now.
ClientPixels CaptureClient(HWND window);

// What draw leaves on a width x height bitmap first filled with background; the surface starts as
// a paint's does, with an opaque white text background.
ClientPixels DrawToPixels(int width, int height, COLORREF background, const std::function<void(HDC)>& draw);
