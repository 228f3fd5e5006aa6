#pragma once
// The About box: a modal credit box with the program's icon, closed only by its one button (or
// Enter, which that default button takes). Escape leaves it open.
#include <windows.h>

inline constexpr char AboutBoxTemplate[] = "AboutBox";

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the box over the main window and returns once it is closed. Only the main window is
// disabled meanwhile: an open controls panel stays usable, its keyboard included.
void ShowAboutBox(HWND mainWindow);
