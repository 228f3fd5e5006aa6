// The main window, created for real: class, menu, painting, resizing, closing and the message loop.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "curve_on_screen.h"
#include "frame_sampling.h"
#include "gdi_counting.h"
#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "window_testing.h"

namespace {

const COLORREF Grey = RGB(128, 128, 128);
const COLORREF Red = RGB(255, 0, 0);
const COLORREF YellowGreen = RGB(128, 255, 0);

TEST(MainWindow, ClassHasItsStyleGreyBrushIconAndArrowCursor)
{
    HWND window = OpenMainWindow(500, 400);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    LOGBRUSH brush = {};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)), sizeof brush, &brush),
              static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, Grey);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON)),
              LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAZOS)));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN),
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_NE(std::string(title).find("Trazos"), std::string::npos);
    DestroyWindow(window);
}

TEST(MainWindow, IconHoldsA16AndA256Colour32By32Image)
{
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colourCount, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved, type, count;
        GroupEntry entries[2];
    };
#pragma pack(pop)
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDI_TRAZOS), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const GroupHeader*>(LockResource(LoadResource(instance, found)));
    ASSERT_EQ(group->count, 2);
    for (const GroupEntry& entry : group->entries) {
        EXPECT_EQ(entry.width, 32);
        EXPECT_EQ(entry.height, 32);
    }
    EXPECT_EQ(group->entries[0].bitCount, 4);  // 16 colours
    EXPECT_EQ(group->entries[1].bitCount, 8);  // 256 colours
}

TEST(MainWindow, MenuBarHasTheTwoCommandsInOrder)
{
    HWND window = OpenMainWindow(500, 400);
    HMENU menu = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    const struct {
        UINT id;
        const wchar_t* text;
    } items[] = {
        {IDM_ABOUT, L"Qui\u00e9n ,c\u00f3mo , y por qu\u00e9...."},
        {IDM_CONTROLS, L"controles....."},
    };
    for (int i = 0; i < 2; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), items[i].id);
        EXPECT_EQ(std::wstring(text), items[i].text);
        EXPECT_EQ(GetSubMenu(menu, i), nullptr);
    }
    DestroyWindow(window);
}

TEST(MainWindow, FirstPaintShowsTheFourPointWavyCurveInRedOnePixelWideAndYellowGreenMarkersOverGrey)
{
    HWND window = OpenMainWindow(500, 400);
    ASSERT_EQ(editorState.clientWidth, 500);
    ASSERT_EQ(editorState.clientHeight, 400);
    const ClientPixels pixels = CaptureClient(window);
    ASSERT_EQ(pixels.width, 500);
    EXPECT_EQ(pixels.At(0, 0), Grey);
    EXPECT_EQ(pixels.At(499, 399), Grey);
    EXPECT_EQ(pixels.At(250, 380), Grey);
    ExpectCurveSamplesIn(pixels, Red);
    // Where the first segment is nearly flat, a one-pixel pen leaves one red pixel a column.
    const Pixel flat = CurveSamplePixel(0, 3);
    EXPECT_EQ(pixels.CountInColumn(flat.column, flat.row - 4, flat.row + 4, Red), 1);
    // Inside the square of point 0, at pixel (25, 200), off the curve that starts at its centre.
    EXPECT_EQ(pixels.At(23, 198), YellowGreen);
    DestroyWindow(window);
}

TEST(MainWindow, ResizeRepaintsTheCurveStretchedOverAFreshBackgroundInTrailModeToo)
{
    HWND window = OpenMainWindow(500, 400);
    const Pixel before = CurveSamplePixel(1, 15);
    SetClientSize(window, 800, 300);
    DispatchPendingMessages();
    ASSERT_EQ(editorState.clientWidth, 800);
    ASSERT_EQ(editorState.clientHeight, 300);
    const ClientPixels pixels = CaptureClient(window);
    ExpectCurveSamplesIn(pixels, Red);
    EXPECT_EQ(pixels.At(before.column, before.row), Grey) << "the old curve is gone";

    // In trail mode a resize erases too, so the trails go: the curve of 800 x 300 is gone at 600 x 500.
    editorState.trailMode = 1;
    const Pixel trail = CurveSamplePixel(1, 15);
    SetClientSize(window, 600, 500);
    DispatchPendingMessages();
    EXPECT_EQ(CaptureClient(window).At(trail.column, trail.row), Grey) << "the trails are gone";
    DestroyWindow(window);
}

// A paint that erases fills the whole client area whichever edge moved: the corners away from the
// old size show the background, and the curve is there whole.
void ExpectWholeClientArea(HWND window, int width, int height, const char* after)
{
    const ClientPixels pixels = CaptureClient(window);
    ASSERT_EQ(pixels.width, width) << after;
    ASSERT_EQ(pixels.height, height) << after;
    EXPECT_EQ(pixels.At(width - 1, 0), Grey) << "top right, " << after;
    EXPECT_EQ(pixels.At(0, height - 1), Grey) << "bottom left, " << after;
    EXPECT_EQ(pixels.At(width - 1, height - 1), Grey) << "bottom right, " << after;
    ExpectCurveSamplesIn(pixels, Red);
}

TEST(MainWindow, ResizeAlongOneEdgeAtATimeRepaintsTheWholeClientArea)
{
    HWND window = OpenMainWindow(500, 400);
    const struct {
        int width, height;
        const char* change;
    } sizes[] = {
        {500, 600, "the height grown"},
        {800, 600, "the width grown"},
        {800, 300, "the height shrunk"},
        {400, 300, "the width shrunk"},
    };
    for (const auto& size : sizes) {
        SetClientSize(window, size.width, size.height);
        DispatchPendingMessages();
        ExpectWholeClientArea(window, size.width, size.height, size.change);
    }
    DestroyWindow(window);
}

// A window of the plainest class, which the default procedure alone serves and draws: what the
// system does for any window. At the screen's right edge, clear of the main window.
HWND OpenPlainWindow(int width, int height)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA plainClass = {};
    plainClass.lpfnWndProc = DefWindowProcA;
    plainClass.hInstance = instance;
    plainClass.lpszClassName = "TrazosTestPlain";
    RegisterClassA(&plainClass);
    HWND window = CreateWindowExA(0, plainClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, GetSystemMetrics(SM_CXSCREEN) - width,
                                  0, width, height, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    DispatchPendingMessages();
    return window;
}

// The kept frame is one device context and one bitmap. Minimised, the window gives it back; a
// display change gives it back too, and asks for no paint, so trails stay. The next paint that
// erases makes it again, whole.
TEST(MainWindow, OffScreenFrameIsGivenBackWhileMinimisedAndWhenTheDisplayChanges)
{
    HWND plain = OpenPlainWindow(500, 400);
    // A frame's two objects are of the types of a pair made here.
    HDC screen = GetDC(plain);
    HDC surface = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    const int surfaceType = GdiObjectType(surface), bitmapType = GdiObjectType(bitmap);
    DeleteObject(bitmap);
    DeleteDC(surface);
    ReleaseDC(plain, screen);
    // Minimising a window may make objects that are the system's: Wine 10, which manages the windows
    // itself here, draws a minimised window on a surface of a bitmap and a region, both the
    // process's, until the window is restored. The system's share is what minimising the plain
    // window makes; the second time, as the first may load what then stays loaded.
    int systemSurfaces = 0, systemBitmaps = 0;
    for (int time = 0; time < 2; ++time) {
        const int surfacesBefore = LiveGdiObjectsOfType(surfaceType), bitmapsBefore = LiveGdiObjectsOfType(bitmapType);
        ShowWindow(plain, SW_MINIMIZE);
        DispatchPendingMessages();
        systemSurfaces = LiveGdiObjectsOfType(surfaceType) - surfacesBefore;
        systemBitmaps = LiveGdiObjectsOfType(bitmapType) - bitmapsBefore;
        ShowWindow(plain, SW_RESTORE);
        UpdateWindow(plain);
        DispatchPendingMessages();
    }
    HWND window = OpenMainWindow(500, 400);
    const std::string withFrame = LiveGdiObjectsByType();
    const int surfaces = LiveGdiObjectsOfType(surfaceType), bitmaps = LiveGdiObjectsOfType(bitmapType);

    ShowWindow(window, SW_MINIMIZE);
    DispatchPendingMessages();
    EXPECT_EQ(LiveGdiObjectsOfType(surfaceType), surfaces - 1 + systemSurfaces)
        << "minimised, with " << systemSurfaces << " of the system's";
    EXPECT_EQ(LiveGdiObjectsOfType(bitmapType), bitmaps - 1 + systemBitmaps)
        << "minimised, with " << systemBitmaps << " of the system's";
    ShowWindow(window, SW_RESTORE);
    UpdateWindow(window);
    EXPECT_EQ(LiveGdiObjectsByType(), withFrame) << "restored";
    ExpectWholeClientArea(window, 500, 400, "restored");

    SendMessageA(window, WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768));
    EXPECT_EQ(LiveGdiObjectsOfType(surfaceType), surfaces - 1) << "after a display change";
    EXPECT_EQ(LiveGdiObjectsOfType(bitmapType), bitmaps - 1) << "after a display change";
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "a display change asks for a paint";
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(LiveGdiObjectsByType(), withFrame) << "after the next paint";
    DestroyWindow(window);
    DestroyWindow(plain);
}

// Another thread reading the window while a drag repaints it, as the screen may at any moment,
// finds whole frames only: every curve pixel that no move shifts is there in every read.
TEST(MainWindow, ADragShowsAnotherThreadReadingTheWindowOnlyWholeFrames)
{
    HWND window = OpenMainWindow(800, 600);
    editorState.pointCount = 50;
    ApplyWavyLayout(editorState.points, editorState.tangents, editorState.pointCount);
    const Vec2 last = editorState.points[editorState.pointCount - 1];
    const Pixel start = UnitToPixel(last.x, last.y, 800, 600);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.column, start.row));
    ASSERT_TRUE(editorState.dragging);
    // The positions come round every 120 moves, so the first 120 frames are every frame there is.
    const auto dragTo = [&](int k) {
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.column - 3 * (k % 40), start.row - 2 * (k % 30)));
        UpdateWindow(window);
    };
    FrameSampler sampler;
    sampler.window = window;
    sampler.row = 240;  // y = 0.6, which every segment from a low point to a high one crosses
    sampler.colour = Red;
    sampler.wholeFrameColumns = ColumnsShowingInEveryFrame(window, sampler.row, Red, 120, dragTo);
    ASSERT_GE(sampler.wholeFrameColumns.size(), 10u);

    StartSampling(sampler);
    for (int k = 0; k < 240 || (sampler.samples < 100000 && k < 12000); ++k) {
        dragTo(k);
    }
    StopSampling(sampler);
    EXPECT_EQ(sampler.halfDrawn, 0) << "reads that lacked a curve pixel of every whole frame, of "
                                    << sampler.samples << " reads";
    DestroyWindow(window);
}

TEST(MainWindow, CloseCommandAndUnknownCommands)
{
    HWND window = OpenMainWindow(300, 200);
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, 12345, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageA(window, WM_COMMAND, IDM_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

int failingCalls = 0;

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT)
{
    ++failingCalls;
    return -1;
}

TEST(MainWindow, MessageLoopEndsWithAnErrorWhenGettingMessagesFails)
{
    EXPECT_EQ(RunMessageLoop(FailingGetMessage), 1);
    EXPECT_EQ(failingCalls, 1);
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

// A class of the same name that refuses every window takes the place of the program's own, so
// that the program's start-up runs and then ends at once.
int RunTrazosWithoutItsWindow()
{
    WNDCLASSA refusing = {};
    refusing.lpfnWndProc = RefuseCreation;
    refusing.hInstance = GetModuleHandleA(nullptr);
    refusing.lpszClassName = MainWindowClass;
    EXPECT_TRUE(RegisterClassA(&refusing));
    return RunTrazos(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
}

TEST(MainWindow, ProgramEndsWithAnErrorWhenItsWindowCannotBeCreated)
{
    EXPECT_EQ(RunTrazosWithoutItsWindow(), 1);
}

TEST(MainWindow, AfterStartUpNoDllLoadsFromBesideTheProgramButSystemOnesStillDo)
{
    // The build puts a DLL of a name that Windows does not have beside the test programs. Before
    // start-up it loads from there, as one planted in the Downloads folder would.
    const wchar_t planted[] = L"trazos_planted.dll";
    HMODULE loaded = LoadLibraryW(planted);
    ASSERT_NE(loaded, nullptr) << "the planted DLL does not load even before start-up (error " << GetLastError() << ")";
    FreeLibrary(loaded);
    ASSERT_EQ(GetModuleHandleW(planted), nullptr);
    const wchar_t system[] = L"winmm.dll";
    ASSERT_EQ(GetModuleHandleW(system), nullptr) << "already loaded, so loading it would search nothing";

    RunTrazosWithoutItsWindow();
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(planted), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(LoadLibraryW(system), nullptr) << "error " << GetLastError();
}

TEST(MainWindow, ClosingTheWindowEndsTheProgramWithExitCodeZero)
{
    const std::wstring program = BuiltProgramPath();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << program;
    WaitForInputIdle(process.hProcess, 10000);

    struct Search {
        DWORD processId;
        HWND found;
    } search = {process.dwProcessId, nullptr};
    for (int attempt = 0; attempt < 200 && !search.found; ++attempt) {
        EnumWindows(
            [](HWND candidate, LPARAM context) -> BOOL {
                auto* s = reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(candidate, &owner);
                char className[32] = {};
                GetClassNameA(candidate, className, sizeof className);
                if (owner == s->processId && std::string(className) == MainWindowClass) {
                    s->found = candidate;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(50);
        }
    }
    ASSERT_NE(search.found, nullptr) << "the program's window never appeared";
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    // The wait only keeps a hung program from hanging the test run.
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
