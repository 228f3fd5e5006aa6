#pragma once
// The controls panel: a modeless dialog of eight buttons over the main window. Each press changes
// editorState or the main window's background and asks the main window for a full repaint with
// erase; the panel never draws on the main window itself.
#include <windows.h>

inline constexpr char ControlsPanelTemplate[] = "IDD_CURVEPROP";

INT_PTR CALLBACK ControlsPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the panel, owned by the main window, unless one is open already; an open panel is left as
// it is. The open panel is kept in editorState.panelWindow for the message loop.
void OpenControlsPanel(HWND mainWindow);
