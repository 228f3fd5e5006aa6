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

void ShowAboutBox(HWND mainWindow)
{
    DialogBoxParamA(editorState.instance, AboutBoxTemplate, mainWindow, AboutBoxProc, 0);
}
