#include "main_window.h"

#include "../draw/drawing.h"
#include "../model/curve_model.h"
#include "../resources/resource_ids.h"

static void OnCreate()
{
    editorState.pointCount = 4;
    ApplyWavyLayout(editorState.points, editorState.tangents, editorState.pointCount);
}

static void OnSize(HWND window, LPARAM lParam)
{
    // The size halves are unsigned.
    editorState.clientWidth = LOWORD(lParam);
    editorState.clientHeight = HIWORD(lParam);
    InvalidateRect(window, nullptr, TRUE);
}

static void OnPaint(HWND window)
{
    // Widening the request to the whole client area first makes every paint redraw everything;
    // trail mode keeps what was drawn before underneath.
    InvalidateRect(window, nullptr, editorState.trailMode ? FALSE : TRUE);
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(window, &paint);
    if (editorState.pendingStraightInit) {
        ApplyStraightLayout(editorState.points, editorState.tangents, editorState.pointCount);
        editorState.pendingStraightInit = 0;
    }
    if (editorState.pendingWavyInit) {
        ApplyWavyLayout(editorState.points, editorState.tangents, editorState.pointCount);
        editorState.pendingWavyInit = 0;
    }
    DrawCurve(surface, editorState.points, editorState.tangents);
    EndPaint(window, &paint);
}

// Returns false for ids the window does not know, which go on to the default procedure.
static bool OnCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_CLOSE:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case IDM_CONTROLS:
    case IDM_ABOUT:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize(window, lParam);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam))) {
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
