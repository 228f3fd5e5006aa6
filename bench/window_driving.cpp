#include "window_driving.h"

#include "app/main_window.h"
#include "bench_timing.h"
#include "model/curve_model.h"

LoopCount DispatchCountingPaints(HWND window)
{
    LoopCount count = {};
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        const bool paint = message.message == WM_PAINT && message.hwnd == window;
        const double start = paint ? SecondsNow() : 0.0;
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (paint) {
            ++count.paints;
            count.secondsInPaint += SecondsNow() - start;
        }
    }
    return count;
}

HWND OpenBenchWindow(HINSTANCE instance, int width, int height, int pointCount)
{
    editorState = EditorState{};
    editorState.instance = instance;
    HWND window = CreateMainWindow(instance);
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    editorState.pointCount = pointCount;
    ApplyWavyLayout(editorState.points, editorState.tangents, pointCount);
    InvalidateRect(window, nullptr, TRUE);
    DispatchCountingPaints(window);
    return window;
}

void CloseBenchWindow(HWND window)
{
    DestroyWindow(window);
    DispatchCountingPaints(window);
}

namespace {

WNDPROC programProcedure;
DrawOnWindow drawOnWindow;
OnWindowPaintTimes summedTimes;
int onWindowPaints;

LRESULT CALLBACK OnWindowPaintProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        return DefWindowProcA(window, message, wParam, lParam);  // fills with the class brush
    }
    if (message != WM_PAINT) {
        return CallWindowProcA(programProcedure, window, message, wParam, lParam);
    }
    const double start = SecondsNow();
    InvalidateRect(window, nullptr, TRUE);
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(window, &paint);
    const double begun = SecondsNow();
    drawOnWindow(surface);
    const double drawn = SecondsNow();
    EndPaint(window, &paint);
    summedTimes.begin += begun - start;
    summedTimes.draw += drawn - begun;
    summedTimes.end += SecondsNow() - drawn;
    ++onWindowPaints;
    return 0;
}

}  // namespace

void PaintOnWindow(HWND window, DrawOnWindow draw)
{
    drawOnWindow = draw;
    programProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OnWindowPaintProcedure)));
}

void RestoreProgramPaint(HWND window)
{
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(programProcedure));
}

void ClearOnWindowPaintTimes()
{
    summedTimes = {};
    onWindowPaints = 0;
}

OnWindowPaintTimes MeanOnWindowPaintTimes()
{
    const double paints = onWindowPaints ? onWindowPaints : 1;
    return {summedTimes.begin / paints, summedTimes.draw / paints, summedTimes.end / paints};
}
