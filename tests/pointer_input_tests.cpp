// Dragging as a user does: real pointer input through the system's input queue to the real main
// window, then a look at the screen.
#include <gtest/gtest.h>

#include "curve_on_screen.h"
#include "window_testing.h"

namespace {

const COLORREF Grey = RGB(128, 128, 128);
const COLORREF Red = RGB(255, 0, 0);
const COLORREF YellowGreen = RGB(128, 255, 0);

void PointerTo(HWND window, int column, int row)
{
    POINT screen = {column, row};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    DispatchPendingMessages();
    UpdateWindow(window);
}

void Button(HWND window, DWORD flag)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    DispatchPendingMessages();
    UpdateWindow(window);
}

// Presses on point 1, at pixel (175, 300), drags it in steps to (300, 150) and releases.
void DragPointOne(HWND window)
{
    PointerTo(window, 175, 300);
    Button(window, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 5; ++step) {
        PointerTo(window, 175 + 25 * step, 300 - 30 * step);
    }
    Button(window, MOUSEEVENTF_LEFTUP);
}

Pixel CurveMiddle(int segment)
{
    return CurveSamplePixel(segment, 15);
}

// Point 1 lies at pixel (300, 150), and the screen shows its square and the curve through it there,
// and the grey background where the middle of its segment was before; returns what it shows.
ClientPixels ExpectPointOneShownAt300By150(HWND window, Pixel oldMiddle)
{
    EXPECT_NEAR(editorState.points[1].x, 0.6, 1e-12);
    EXPECT_NEAR(editorState.points[1].y, 0.625, 1e-12);
    const ClientPixels pixels = CaptureClient(window);
    EXPECT_EQ(pixels.At(298, 148), YellowGreen) << "the point's square, beside the curve's pixel";
    const Pixel newMiddle = CurveMiddle(1);
    EXPECT_EQ(pixels.At(newMiddle.column, newMiddle.row), Red);
    EXPECT_EQ(pixels.At(oldMiddle.column, oldMiddle.row), Grey) << "nothing is left of the old curve";
    return pixels;
}

TEST(PointerInput, DraggedPointAndCurveShowAtTheNewPlaceAndNothingAtTheOld)
{
    HWND window = OpenMainWindow(500, 400);
    const Pixel oldMiddle = CurveMiddle(1);
    DragPointOne(window);

    EXPECT_EQ(editorState.dragging, 0);
    const ClientPixels pixels = ExpectPointOneShownAt300By150(window, oldMiddle);
    EXPECT_EQ(pixels.At(173, 302), Grey) << "nothing is left of the old square";
    DestroyWindow(window);
}

TEST(PointerInput, InTrailModeTheEarlierCurvesStayOnScreen)
{
    HWND window = OpenMainWindow(500, 400);
    const Pixel oldMiddle = CurveMiddle(1);
    editorState.trailMode = 1;
    DragPointOne(window);

    const ClientPixels pixels = CaptureClient(window);
    // The press snapped point 1 onto itself, so the first trail colour redrew the curve where it was.
    EXPECT_EQ(pixels.At(oldMiddle.column, oldMiddle.row), RGB(105, 205, 227)) << "the curve before the drag stays";
    const Pixel newMiddle = CurveMiddle(1);
    const COLORREF last = pixels.At(newMiddle.column, newMiddle.row);
    EXPECT_NE(last, Grey);
    EXPECT_NE(last, Red) << "trail curves take colours of their own";
    EXPECT_NE(pixels.At(175, 300), Grey) << "the square where the drag began stays";
    DestroyWindow(window);
}

TEST(PointerInput, DraggedHandleBendsBothSegmentsOfItsPoint)
{
    HWND window = OpenMainWindow(500, 400);
    // Both handles of point 1 lie at pixel (225, 300); dragged up and right to (250, 250) they aim
    // both its tangents at (0.75, 0.625), so its segments start and end with tangents that differ
    // in x and in y.
    PointerTo(window, 225, 300);
    Button(window, MOUSEEVENTF_LEFTDOWN);
    PointerTo(window, 250, 250);
    Button(window, MOUSEEVENTF_LEFTUP);
    ASSERT_NEAR(editorState.tangents.inTangents[1].x, 0.75, 1e-12);
    ASSERT_NEAR(editorState.tangents.inTangents[1].y, 0.625, 1e-12);
    ExpectCurveSamplesIn(CaptureClient(window), Red);
    DestroyWindow(window);
}

WNDPROC mainProcedure;
int paintsSeen = 0;

// Counts the paints that reach the window, queued or sent, and hands every message on.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    paintsSeen += message == WM_PAINT;
    return CallWindowProcA(mainProcedure, window, message, wParam, lParam);
}

// Moves that queue up while the window is busy must not queue paints: they merge into one paint,
// which shows where the last of them left the point, so a drag never lags behind the pointer.
TEST(PointerInput, MovesQueuedBeforeAPaintMergeIntoOnePaintOfTheLastPosition)
{
    HWND window = OpenMainWindow(500, 400);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(175, 300));
    DispatchPendingMessages();
    const Pixel oldMiddle = CurveMiddle(1);
    mainProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPaints)));
    for (int step = 1; step <= 50; ++step) {
        PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(175 + (step * 5) / 2, 300 - 3 * step));
    }
    DispatchPendingMessages();

    EXPECT_EQ(paintsSeen, 1);
    ExpectPointOneShownAt300By150(window, oldMiddle);
    DestroyWindow(window);
}

}  // namespace
