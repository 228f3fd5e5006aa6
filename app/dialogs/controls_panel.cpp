#include "controls_panel.h"

#include <climits>

#include "../../model/curve_model.h"
#include "../../resources/resource_ids.h"

// A count of presses shows only through its remainder of 3 and through being 0 before the first
// press (the grey of start-up). Going back by a multiple of 3, never to 0, keeps both, so the count
// never overflows however long the panel is used and every colour and width stays as it would be.
static int NextPressCount(int presses)
{
    const int wrap = INT_MAX / 3 * 3;
    return presses >= wrap ? presses - wrap + 1 : presses + 1;
}

// Installs the next background of the cycle black, grey, light green as the main window's class
// brush. The first press replaces the grey of start-up. Returns false, having changed nothing, when
// the desktop has no brush to spare: the class keeps its own and the next press gives this colour.
static bool CycleBackground(HWND mainWindow)
{
    static const COLORREF cycle[3] = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(127, 255, 63)};
    HBRUSH brush = CreateSolidBrush(cycle[editorState.backgroundStep % 3]);
    if (!brush) {
        return false;
    }
    // The pointer-sized call: SetClassLongA would cut a 64-bit brush handle to 32 bits.
    const LONG_PTR replaced = SetClassLongPtrA(mainWindow, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
    // The class owns its brush, so the one it gave up is ours to release.
    DeleteObject(reinterpret_cast<HBRUSH>(replaced));
    editorState.backgroundStep = NextPressCount(editorState.backgroundStep);
    return true;
}

static void CycleCurveWidth()
{
    static const int cycle[3] = {2, 3, 1};
    editorState.curveWidth = cycle[editorState.widthStep % 3];
    editorState.widthStep = NextPressCount(editorState.widthStep);
}

// Returns false when the press changes nothing.
static bool ApplyButton(HWND mainWindow, WORD id)
{
    switch (id) {
    case IDC_TRAIL_ON:
        editorState.trailMode = 1;
        return true;
    case IDC_TRAIL_OFF:
        editorState.trailMode = 0;
        return true;
    case IDC_STRAIGHT_LAYOUT:
        editorState.pendingStraightInit = 1;
        return true;
    case IDC_WAVY_LAYOUT:
        editorState.pendingWavyInit = 1;
        return true;
    case IDC_POINTS_PLUS:
        // A press that cannot change the count keeps everything, the trails on screen included.
        return ChangePointCount(editorState, +1);
    case IDC_POINTS_MINUS:
        return ChangePointCount(editorState, -1);
    case IDC_BACKGROUND:
        return CycleBackground(mainWindow);
    case IDC_CURVE_WIDTH:
        CycleCurveWidth();
        return true;
    default:
        // IDCANCEL from Escape lands here, so Escape leaves the panel open.
        return false;
    }
}

INT_PTR CALLBACK ControlsPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM)
{
    // A popup's parent is its owner, the main window.
    HWND mainWindow = GetParent(panel);
    switch (message) {
    case WM_COMMAND:
        if (ApplyButton(mainWindow, LOWORD(wParam))) {
            InvalidateRect(mainWindow, nullptr, TRUE);
        }
        break;
    case WM_CLOSE:
        DestroyWindow(panel);
        break;
    case WM_DESTROY:
        // Also when the main window takes the panel with it, so no dead handle is left behind.
        editorState.panelWindow = nullptr;
        break;
    default:
        break;
    }
    // Also 0 for WM_INITDIALOG, which only keeps the dialog manager from setting the focus then.
    // The panel is activated as it appears, and activation gives the focus to its first button,
    // "con estela": Space pressed right after opening the panel turns trail mode on.
    return 0;
}

void OpenControlsPanel(HWND mainWindow)
{
    if (!editorState.panelWindow) {
        editorState.panelWindow =
            CreateDialogParamA(editorState.instance, ControlsPanelTemplate, mainWindow, ControlsPanelProc, 0);
    }
}
