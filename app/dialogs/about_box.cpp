#include "about_box.h"

#include "../../model/curve_model.h"

INT_PTR CALLBACK AboutBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // The system gives the focus to the default button.
        return TRUE;
    case WM_COMMAND:
        // IDCANCEL (Escape) is not taken: the button is the one way out.
        if (LOWORD(wParam) == IDOK) {
            EndDialog(box, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// Set while a message is with the panel's IsDialogMessageA, which calls this same hook again.
static bool routingToPanel = false;

// While the box is open its modal loop takes the thread's messages instead of the program's loop,
// and passes each to the box's IsDialogMessageA, which first offers it to this hook. Messages for
// the panel go through the panel's IsDialogMessageA here, as in the program's loop; otherwise they
// would be dispatched as they are, and Tab would not move between the panel's buttons.
static LRESULT CALLBACK RouteToPanel(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    HWND panel = editorState.panelWindow;
    if (code == MSGF_DIALOGBOX && panel && !routingToPanel &&
        (message->hwnd == panel || IsChild(panel, message->hwnd))) {
        routingToPanel = true;
        const BOOL taken = IsDialogMessageA(panel, message);
        routingToPanel = false;
        if (taken) {
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowAboutBox(HWND mainWindow)
{
    HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, RouteToPanel, nullptr, GetCurrentThreadId());
    DialogBoxParamA(editorState.instance, AboutBoxTemplate, mainWindow, AboutBoxProc, 0);
    UnhookWindowsHookEx(hook);
}
