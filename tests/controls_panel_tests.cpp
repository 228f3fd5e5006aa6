// The controls panel on a real main window: opening and closing, what each button does to the
// editor and to the screen, the keyboard through the program's own loop, and the brushes it swaps.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "app/main_window.h"
#include "curve_on_screen.h"
#include "gdi_counting.h"
#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "window_testing.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Grey = RGB(128, 128, 128);
const COLORREF LightGreen = RGB(127, 255, 63);
const COLORREF Red = RGB(255, 0, 0);
const COLORREF Magenta = RGB(255, 0, 255);
const COLORREF Blue = RGB(0, 0, 255);
const COLORREF YellowGreen = RGB(128, 255, 0);

HWND OpenPanel(HWND window)
{
    SendMessageA(window, WM_COMMAND, IDM_CONTROLS, 0);
    DispatchPendingMessages();
    return editorState.panelWindow;
}

// A click on the button, as the button itself reports it to the panel.
void Press(int id)
{
    SendMessageA(GetDlgItem(editorState.panelWindow, id), BM_CLICK, 0, 0);
}

void PressAndPaint(int id)
{
    Press(id);
    DispatchPendingMessages();
}

// Paints a blue square straight onto the window, as a trail would stay: only an erase removes it.
void PaintMark(HWND window)
{
    HDC surface = GetDC(window);
    const RECT mark = {10, 10, 30, 30};
    HBRUSH blue = CreateSolidBrush(Blue);
    FillRect(surface, &mark, blue);
    DeleteObject(blue);
    ReleaseDC(window, surface);
}

COLORREF ClassBrushColour(HWND window)
{
    LOGBRUSH brush = {};
    GetObjectA(reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)), sizeof brush, &brush);
    return brush.lbColor;
}

void ExpectPoint(int index, double x, double y)
{
    EXPECT_DOUBLE_EQ(editorState.points[index].x, x) << "point " << index;
    EXPECT_DOUBLE_EQ(editorState.points[index].y, y) << "point " << index;
}

int PanelsOfThisThread()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM context) -> BOOL {
            char title[32] = {};
            GetWindowTextA(candidate, title, sizeof title);
            *reinterpret_cast<int*>(context) += IsWindowVisible(candidate) && std::string(title) == "controles";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(ControlsPanel, CommandOpensOnePanelWhichItsCloseBoxOrTheMainWindowTakesAway)
{
    HWND window = OpenMainWindow(500, 400);
    HWND first = OpenPanel(window);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(OpenPanel(window), first);
    EXPECT_EQ(PanelsOfThisThread(), 1);

    SendMessageA(first, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(editorState.panelWindow, nullptr);

    HWND second = OpenPanel(window);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(PanelsOfThisThread(), 1);

    // The panel goes with the main window and leaves no dead handle for the message loop.
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(editorState.panelWindow, nullptr);
}

TEST(ControlsPanel, EveryButtonChangesTheEditorAndRepaintsOverAFreshBackground)
{
    struct Row {
        int id;
        const char* name;
        std::function<void()> before;
        std::function<void()> check;
        COLORREF background;
    };
    const Row rows[] = {
        {IDC_TRAIL_ON, "con estela", [] { editorState.trailMode = 0; }, [] { EXPECT_EQ(editorState.trailMode, 1); },
         Grey},
        {IDC_TRAIL_OFF, "sin estela", [] {}, [] { EXPECT_EQ(editorState.trailMode, 0); }, Grey},
        {IDC_STRAIGHT_LAYOUT, "init rectiligne", [] { editorState.points[1] = {0.2, 0.9}; },
         [] {
             ExpectPoint(1, 0.35, 0.5);
             ExpectPoint(2, 0.65, 0.5);
             EXPECT_EQ(editorState.pendingStraightInit, 0);
         },
         Grey},
        {IDC_WAVY_LAYOUT, "init curviligne", [] { editorState.points[1] = {0.2, 0.9}; },
         [] {
             ExpectPoint(1, 0.35, 0.25);
             EXPECT_EQ(editorState.pendingWavyInit, 0);
         },
         Grey},
        {IDC_POINTS_PLUS, "points plus", [] { editorState.points[1] = {0.2, 0.9}; },
         [] {
             EXPECT_EQ(editorState.pointCount, 5);
             ExpectPoint(1, 0.275, 0.25);
             ExpectPoint(2, 0.5, 0.75);
             ExpectPoint(4, 0.95, 0.5);
         },
         Grey},
        {IDC_POINTS_MINUS, "points minus", [] { editorState.points[1] = {0.2, 0.9}; },
         [] {
             EXPECT_EQ(editorState.pointCount, 3);
             ExpectPoint(1, 0.5, 0.25);
             ExpectPoint(2, 0.95, 0.5);
         },
         Grey},
        {IDC_CURVE_WIDTH, "grosor curva", [] {},
         [] {
             EXPECT_EQ(editorState.curveWidth, 2);
             EXPECT_EQ(editorState.widthStep, 1);
         },
         Grey},
        // Last: the class keeps the new brush for every window opened after it.
        {IDC_BACKGROUND, "color fondo", [] {}, [] { EXPECT_EQ(editorState.backgroundStep, 1); }, Black},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND window = OpenMainWindow(500, 400);
        OpenPanel(window);
        // In trail mode a paint by itself keeps what is on screen, so the mark goes only if the
        // button asked for the erase.
        editorState.trailMode = 1;
        row.before();
        PaintMark(window);
        PressAndPaint(row.id);
        row.check();
        const ClientPixels pixels = CaptureClient(window);
        EXPECT_EQ(pixels.At(20, 20), row.background);
        EXPECT_EQ(ClassBrushColour(window), row.background);
        DestroyWindow(window);
    }
}

TEST(ControlsPanel, ColorFondoCyclesBlackGreyLightGreenWithTheCurveAndMarkerColoursThatSuitEach)
{
    HWND window = OpenMainWindow(500, 400);
    OpenPanel(window);
    const struct {
        COLORREF background;
        COLORREF curve;
        COLORREF markers;
    } presses[] = {
        {Black, Red, YellowGreen},
        {Grey, Red, YellowGreen},
        {LightGreen, Magenta, Black},
        {Black, Red, YellowGreen},
        {Grey, Red, YellowGreen},
        {LightGreen, Magenta, Black},
        {Black, Red, YellowGreen},
    };
    int count = 0;
    for (const auto& press : presses) {
        SCOPED_TRACE(++count);
        if (count == 4) {
            // Three presses' remainder at the edge of the int range: the cycle goes on without overflow.
            editorState.backgroundStep = INT_MAX - 1;
        }
        const HGDIOBJ replaced = reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
        PressAndPaint(IDC_BACKGROUND);
        EXPECT_EQ(GetObjectType(replaced), 0u) << "the replaced brush is deleted";
        const ClientPixels pixels = CaptureClient(window);
        EXPECT_EQ(pixels.At(0, 0), press.background);
        EXPECT_EQ(pixels.At(499, 399), press.background);
        ExpectCurveSamplesIn(pixels, press.curve);
        // Inside the square of point 0, at pixel (25, 200), off the curve that starts at its centre.
        EXPECT_EQ(pixels.At(23, 198), press.markers);
    }
    DestroyWindow(window);
}

TEST(ControlsPanel, GrosorCurvaCyclesTheCurveWidthTwoThreeOne)
{
    HWND window = OpenMainWindow(500, 400);
    OpenPanel(window);
    // A straight curve along row 200 is `width` red pixels high in every column.
    PressAndPaint(IDC_STRAIGHT_LAYOUT);
    int count = 0;
    for (const int width : {2, 3, 1, 2, 3, 1}) {
        if (++count == 4) {
            editorState.widthStep = INT_MAX - 1;  // three presses' remainder at the edge of the int range
        }
        PressAndPaint(IDC_CURVE_WIDTH);
        EXPECT_EQ(editorState.curveWidth, width);
        EXPECT_EQ(CaptureClient(window).CountInColumn(250, 190, 210, Red), width);
    }
    DestroyWindow(window);
}

TEST(ControlsPanel, InitRectiligneThenPointsPlusBeforeAPaintShowsTheWavyLayout)
{
    HWND window = OpenMainWindow(500, 400);
    OpenPanel(window);
    Press(IDC_STRAIGHT_LAYOUT);
    Press(IDC_POINTS_PLUS);
    DispatchPendingMessages();
    EXPECT_EQ(editorState.pointCount, 5);
    ExpectPoint(1, 0.275, 0.25);
    const ClientPixels pixels = CaptureClient(window);
    ExpectCurveSamplesIn(pixels, Red);
    EXPECT_EQ(pixels.CountInColumn(137, 195, 205, Red), 0) << "no straight line through the middle";
    DestroyWindow(window);
}

TEST(ControlsPanel, CountButtonsAtTheirLimitsKeepTheEditsAndAskForNoRepaint)
{
    const struct {
        int id;
        int limit;
    } rows[] = {{IDC_POINTS_PLUS, MaxPoints}, {IDC_POINTS_MINUS, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.limit);
        HWND window = OpenMainWindow(500, 400);
        OpenPanel(window);
        for (int presses = 0; presses < 2 * MaxPoints && editorState.pointCount != row.limit; ++presses) {
            Press(row.id);
        }
        ASSERT_EQ(editorState.pointCount, row.limit);
        DispatchPendingMessages();
        // An edit, as a drag leaves it, already on screen.
        editorState.points[0] = {0.3, 0.7};
        InvalidateRect(window, nullptr, TRUE);
        DispatchPendingMessages();

        Press(row.id);
        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
        DispatchPendingMessages();
        EXPECT_EQ(editorState.pointCount, row.limit);
        EXPECT_EQ(editorState.pendingWavyInit, 0);
        ExpectPoint(0, 0.3, 0.7);
        DestroyWindow(window);
    }
}

// Posts a key press to the focused window, as the keyboard would queue it.
void PostKey(WPARAM key, WPARAM character = 0)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    if (character) {
        PostMessageA(focus, WM_CHAR, character, 1);
    }
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

// Runs the program's own message loop over what is queued.
void RunLoopOverQueue()
{
    PostQuitMessage(0);
    RunMessageLoop(GetMessageA);
}

TEST(ControlsPanel, TabMovesBetweenButtonsSpacePressesAndEscapeLeavesThePanelOpen)
{
    HWND window = OpenMainWindow(500, 400);
    HWND panel = OpenPanel(window);
    SetFocus(GetDlgItem(panel, IDC_BACKGROUND));

    PostKey(VK_TAB);
    RunLoopOverQueue();
    EXPECT_EQ(GetFocus(), GetDlgItem(panel, IDC_CURVE_WIDTH));

    PostKey(VK_SPACE, ' ');
    RunLoopOverQueue();
    EXPECT_EQ(editorState.curveWidth, 2);
    EXPECT_EQ(editorState.widthStep, 1);

    PostKey(VK_TAB);
    RunLoopOverQueue();
    EXPECT_EQ(GetFocus(), GetDlgItem(panel, IDC_TRAIL_ON)) << "Tab goes round";

    PostKey(VK_ESCAPE);
    RunLoopOverQueue();
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(editorState.panelWindow, panel);
    DestroyWindow(window);
}

TEST(ControlsPanel, HundredsOfColorFondoPressesAndPaintsLeakNoGdiObject)
{
    HWND window = OpenMainWindow(500, 400);
    OpenPanel(window);
    for (int i = 0; i < 3; ++i) {
        PressAndPaint(IDC_BACKGROUND);
    }
    const int afterAFew = LiveGdiObjects();
    // The count sees a single object come and go.
    HBRUSH probe = CreateSolidBrush(Blue);
    EXPECT_EQ(LiveGdiObjects(), afterAFew + 1);
    DeleteObject(probe);

    for (int i = 0; i < 300; ++i) {
        PressAndPaint(IDC_BACKGROUND);
    }
    EXPECT_EQ(LiveGdiObjects(), afterAFew);
    DestroyWindow(window);
}

}  // namespace
