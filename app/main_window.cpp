#include "main_window.h"

#include "../draw/curve_arithmetic.h"
#include "../draw/drawing.h"
#include "../edit/pointer_editing.h"
#include "../model/curve_model.h"
#include "../resources/resource_ids.h"
#include "dialogs/about_box.h"
#include "dialogs/controls_panel.h"

static void OnCreate()
{
    editorState.pointCount = 4;
    ApplyWavyLayout(editorState.points, editorState.tangents, editorState.pointCount);
}

void DrawEditorState(HDC surface)
{
    ApplyPendingLayouts(editorState);
    // Black markers over the light green background, yellow-green over the others.
    const COLORREF markerColour = LightGreenBackground(editorState.backgroundStep) ? RGB(0, 0, 0) : RGB(128, 255, 0);
    DrawMarkers(surface, editorState.points, editorState.tangents, editorState.pointCount, markerColour);
    DrawCurve(surface, editorState.points, editorState.tangents);
}

// The class background brush: grey at first, then whichever the panel's "color fondo" put in.
static void FillBackground(HWND window, HDC surface, const RECT& client)
{
    FillRect(surface, &client, reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)));
}

// The memory surface that a paint which erases composes its frame on, with a bitmap of the client
// area's size. It is kept from paint to paint, so that a paint need not make, fill and free a
// bitmap of that size. It is made again when the size changes and given back while the window is
// minimised, when the display changes (a frame in the old display's format would be converted on
// every copy), and with the window; the next paint that erases makes it anew.
struct OffScreenFrame {
    HDC surface;
    HBITMAP bitmap;
    HGDIOBJ surfaceOwnBitmap;  // selected back before the bitmap is freed
    LONG width;
    LONG height;
};
static OffScreenFrame offScreenFrame;

static void FreeOffScreenFrame()
{
    if (offScreenFrame.surface) {
        SelectObject(offScreenFrame.surface, offScreenFrame.surfaceOwnBitmap);
        DeleteObject(offScreenFrame.bitmap);
        DeleteDC(offScreenFrame.surface);
    }
    offScreenFrame = {};
}

// A frame of the client area's size, kept or made now. False when none can be had: of no size, too
// large for memory, or on a desktop out of GDI objects; the next paint tries again.
static bool HaveOffScreenFrame(HDC windowSurface, const RECT& client)
{
    if (offScreenFrame.surface && offScreenFrame.width == client.right && offScreenFrame.height == client.bottom) {
        return true;
    }
    // A frame of another size is freed first: on a desktop short of objects that leaves room for the new one.
    FreeOffScreenFrame();
    if (IsRectEmpty(&client)) {
        return false;
    }
    HDC memory = CreateCompatibleDC(windowSurface);
    HBITMAP bitmap = CreateCompatibleBitmap(windowSurface, client.right, client.bottom);
    HGDIOBJ ownBitmap = memory && bitmap ? SelectObject(memory, bitmap) : nullptr;
    if (!ownBitmap) {
        // Nothing is selected; either may be null, which these two ignore.
        DeleteObject(bitmap);
        DeleteDC(memory);
        return false;
    }
    offScreenFrame = {memory, bitmap, ownBitmap, client.right, client.bottom};
    return true;
}

// Erases and draws on the off-screen frame and copies it to the window in one BitBlt. The window's
// own surface, which the screen may show at any moment, then never holds a half-drawn frame.
// Returns false, having drawn nothing, when there is no frame to draw on.
static bool DrawOffScreen(HWND window, HDC windowSurface, const RECT& client)
{
    if (!HaveOffScreenFrame(windowSurface, client)) {
        return false;
    }
    FillBackground(window, offScreenFrame.surface, client);
    DrawEditorState(offScreenFrame.surface);
    BitBlt(windowSurface, 0, 0, client.right, client.bottom, offScreenFrame.surface, 0, 0, SRCCOPY);
    return true;
}

static void OnPaint(HWND window)
{
    // Widening the request to the whole client area first makes every paint redraw everything;
    // trail mode keeps what was drawn before underneath.
    InvalidateRect(window, nullptr, editorState.trailMode ? FALSE : TRUE);
    // On a desktop out of GDI objects BeginPaint gives no surface and fills nothing in: then nothing
    // is drawn, pending layouts wait for the next paint, and EndPaint is given zeroes.
    PAINTSTRUCT paint = {};
    HDC surface = BeginPaint(window, &paint);
    if (surface) {
        RECT client;
        GetClientRect(window, &client);
        if (!paint.fErase) {
            // Only adds to what is on the window, so no frame in between lacks anything.
            DrawEditorState(surface);
        } else if (!DrawOffScreen(window, surface, client)) {
            FillBackground(window, surface, client);
            DrawEditorState(surface);
        }
    }
    EndPaint(window, &paint);
}

static void OnSize(HWND window, UINT how, LPARAM lParam)
{
    if (how == SIZE_MINIMIZED) {
        // Nothing painted can reach the screen until the window is restored, and restoring it
        // repaints it whole: until then its frame would only hold memory.
        FreeOffScreenFrame();
    }
    // The size halves are unsigned.
    editorState.clientWidth = LOWORD(lParam);
    editorState.clientHeight = HIWORD(lParam);
    InvalidateRect(window, nullptr, TRUE);
}

static void OnDestroy()
{
    FreeOffScreenFrame();
    PostQuitMessage(0);
}

using PointerHandler = RepaintRequest (*)(EditorState&, std::uint16_t, std::uint16_t);

// The pointer's halves are unsigned client pixels. No capture is taken: the window sees the pointer
// only over its client area, and a drag whose release it missed goes on until the next press.
static void OnPointer(HWND window, PointerHandler handle, LPARAM lParam)
{
    const RepaintRequest request = handle(editorState, LOWORD(lParam), HIWORD(lParam));
    if (request.wanted) {
        InvalidateRect(window, nullptr, request.erase ? TRUE : FALSE);
    }
}

// Returns false for ids the window does not know, which go on to the default procedure.
static bool OnCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_CLOSE:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case IDM_CONTROLS:
        OpenControlsPanel(window);
        return true;
    case IDM_ABOUT:
        ShowAboutBox(window);
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
        OnSize(window, static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        // Trail mode keeps what it drew on the window: only the frame goes.
        FreeOffScreenFrame();
        return 0;
    case WM_ERASEBKGND:
        // Left to the paint, which erases off-screen: the window stays marked for erasing, and
        // BeginPaint says so in PAINTSTRUCT.fErase.
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_LBUTTONDOWN:
        OnPointer(window, PressPointer, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnPointer(window, MovePointer, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnPointer(window, ReleasePointer, lParam);
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
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
