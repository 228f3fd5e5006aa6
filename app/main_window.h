#pragma once
// The main window: its class, its creation, the message loop that serves it and the controls
// panel, and the window procedure that hands each message to a small handler.
#include <windows.h>

inline constexpr char MainWindowClass[] = "Trazos";
inline constexpr char MainMenuName[] = "Trazos";

// A credit line naming the program and its makers.
inline constexpr char MainWindowTitle[] = "Trazos - curvas de Hermite a mano, por el equipo de Trazos";

// What a paint draws once the background is erased: any pending layout, the markers, then the
// curve. Kept apart from the paint message so that any surface, a memory bitmap too, can be drawn alike.
void DrawEditorState(HDC surface);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the "Trazos" class: grey background brush, the program's icon and menu, arrow cursor.
ATOM RegisterMainWindowClass(HINSTANCE instance);

HWND CreateMainWindow(HINSTANCE instance);

using GetMessageFunction = BOOL(WINAPI*)(LPMSG message, HWND window, UINT first, UINT last);

// Runs until the quit message and returns its wParam, or returns 1 if getMessage fails.
// Keyboard input for the open controls panel is routed to it.
int RunMessageLoop(GetMessageFunction getMessage);

// The whole program: first restricts DLL searches to the system folder, then keeps the instance,
// registers the class, shows the main window and runs the loop. Returns the quit message's exit
// code, or 1 when the main window cannot be created.
int RunTrazos(HINSTANCE instance, int showCommand);
