// Long random sessions with the real main window and controls panel: pointer messages anywhere in
// the 16-bit range (and right on points and handles), releases the window never sees, resizes down
// to nothing, minimising, every menu command and panel button in any order, paints in between.
// The editor state is checked after every event; GDI objects and the working set must stay flat.
// A second session makes the program's creating calls fail on the way, as a desktop out of GDI
// objects does. Set TRAZOS_SEED to replay a run; the seed is printed either way.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/main_window.h"
#include "curve_on_screen.h"
#include "draw/curve_arithmetic.h"
#include "failing_calls.h"
#include "gdi_counting.h"
#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "state_checks.h"
#include "window_testing.h"

namespace {

const int Events = 100000;
const int FailingEvents = 3000;  // at each chance of failing

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Grey = RGB(128, 128, 128);
const COLORREF LightGreen = RGB(127, 255, 63);

std::mt19937 random;

int Below(int n)
{
    return static_cast<int>(random() % static_cast<unsigned>(n));
}

WORD AnyHalf()
{
    const WORD edges[] = {0, 1, 0xFFFE, 0xFFFF};
    return Below(4) == 0 ? edges[Below(4)] : static_cast<WORD>(random());
}

// Mostly right on a point or one of its handles, so that picks and drags happen often.
LPARAM PointerPosition()
{
    if (Below(3) == 0 || editorState.pointCount < 1) {
        return MAKELPARAM(AnyHalf(), AnyHalf());
    }
    const int i = Below(editorState.pointCount);
    const Vec2 targets[] = {editorState.points[i], HandlePosition(editorState.points[i], editorState.tangents.outTangents[i]),
                            HandlePosition(editorState.points[i], editorState.tangents.inTangents[i])};
    const Vec2 at = targets[Below(3)];
    const Pixel p = UnitToPixel(at.x, at.y, editorState.clientWidth, editorState.clientHeight);
    return MAKELPARAM(static_cast<WORD>(p.column + Below(5) - 2), static_cast<WORD>(p.row + Below(5) - 2));
}

// What a session of random events has done so far.
struct Session {
    HWND window = nullptr;
    int countButton = IDC_POINTS_PLUS;
    int countPressesLeft = 0;
    int closes = 0;
    int aboutBoxes = 0;
    int paints = 0;
    int backgroundPresses = 0;  // of "color fondo" since the window opened, whose brush could be made
};

// After the close command the program would end; the session goes on as a fresh run would start:
// the class and its brush made anew, the state zeroed, the panel open again.
void StartAgain(Session& session)
{
    if (IsWindow(session.window)) {
        DestroyWindow(session.window);
        DispatchPendingMessages();  // the quit message
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA used;
    if (GetClassInfoA(instance, MainWindowClass, &used)) {
        UnregisterClassA(MainWindowClass, instance);
        DeleteObject(used.hbrBackground);
    }
    session.window = OpenMainWindow(400, 300);
    session.backgroundPresses = 0;
    SendMessageA(session.window, WM_COMMAND, IDM_CONTROLS, 0);
}

// A press of a panel button, with the panel opened first if it is closed.
void PressPanelButton(Session& session, int id)
{
    if (!editorState.panelWindow) {
        SendMessageA(session.window, WM_COMMAND, IDM_CONTROLS, 0);
    }
    HWND button = GetDlgItem(editorState.panelWindow, id);
    const int brushesFailed = failingCalls.failed[CallCreateSolidBrush];
    if (Below(10) == 0) {
        SendMessageA(button, BM_CLICK, 0, 0);
    } else {
        // What the button tells the panel when clicked, without animating the button.
        SendMessageA(editorState.panelWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    if (id == IDC_BACKGROUND && failingCalls.failed[CallCreateSolidBrush] == brushesFailed) {
        ++session.backgroundPresses;
    }
}

// The About box runs a modal loop of its own; this timer, dispatched by that loop, closes it.
void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND owner = GetActiveWindow();
    if (owner && owner != editorState.panelWindow && GetDlgItem(owner, IDOK)) {
        SendMessageA(GetDlgItem(owner, IDOK), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
    }
}

void Resize(HWND window)
{
    switch (Below(4)) {
    case 0:
        ShowWindow(window, SW_MINIMIZE);  // a client area of 0 x 0
        break;
    case 1:
        ShowWindow(window, SW_RESTORE);
        break;
    case 2:
        SetClientSize(window, Below(3) == 0 ? 0 : 1 + Below(600), Below(3) == 0 ? 0 : 1 + Below(450));
        break;
    default:
        SetWindowPos(window, nullptr, 0, 0, Below(40), Below(80), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
}

// The window system keeps every device context that its windows have painted with, and makes a
// new one whenever none that it keeps is free for the window at hand, until it keeps 64 (Wine's
// cache). How many it keeps after a while depends on which windows happened to paint together,
// which varies with timing; each new one adds three objects. A kept one also holds on to the
// window surface it last drew on: Wine 10 makes each window's surface of a bitmap and a region of
// the process's own, and an About box's lives on after the box is gone until its device context
// serves another window. Holding 64 at once fills the cache, so that from here on a new device
// context means more than 64 in use at once (one not released), and has every kept one serve this
// window, so that none holds a surface of a window that is no more.
void FillDeviceContextCache(HWND window)
{
    HDC held[64];
    for (HDC& surface : held) {
        surface = GetDC(window);
    }
    for (HDC surface : held) {
        ReleaseDC(window, surface);
    }
}

struct Usage {
    int gdiObjects;
    std::string gdiObjectsByType;
    SIZE_T workingSet;
    SIZE_T privateBytes;
};

// The window restored at the session's first size and painted whole, with its off-screen frame,
// which it gives back while minimised and lacks while its client area is empty.
void RestoreAndPaint(HWND window)
{
    ShowWindow(window, SW_RESTORE);
    SetClientSize(window, 400, 300);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// Measured with the panel closed, the window restored and painted, every kept device context
// serving it, and nothing pending, so that every measure sees the same windows and objects. The
// queue goes first: a command still in it could open the panel again, or close the window, and a
// session whose window is gone goes on as a fresh run would start.
Usage Measure(Session& session)
{
    DispatchPendingMessages();
    if (!IsWindow(session.window)) {
        StartAgain(session);
    }
    if (editorState.panelWindow) {
        SendMessageA(editorState.panelWindow, WM_CLOSE, 0, 0);
    }
    RestoreAndPaint(session.window);
    FillDeviceContextCache(session.window);
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return {LiveGdiObjects(), LiveGdiObjectsByType(), memory.WorkingSetSize, memory.PagefileUsage};
}

// One random event, mostly pointer messages, then now and then the queue dispatched.
void PlayRandomEvent(Session& session, int event)
{
    if (!IsWindow(session.window)) {
        StartAgain(session);
    }
    // Now and then one count button is pressed all the way to its limit and past it, however
    // often the random closes have put the count back to its start.
    if (event % 5000 == 2500) {
        session.countPressesLeft = MaxPoints + 10;
    }
    const int panelButtons[] = {IDC_TRAIL_ON,    IDC_TRAIL_OFF,    IDC_STRAIGHT_LAYOUT, IDC_WAVY_LAYOUT,
                                IDC_POINTS_PLUS, IDC_POINTS_MINUS, IDC_BACKGROUND,      IDC_CURVE_WIDTH};
    HWND window = session.window;
    const int kind = session.countPressesLeft > 0 ? 180 : Below(200);
    if (kind < 164) {
        const UINT messages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP};
        PostMessageA(window, messages[Below(5)], MK_LBUTTON, PointerPosition());
    } else if (kind < 168) {
        Resize(window);
    } else if (kind < 192) {
        PressPanelButton(session, session.countPressesLeft > 0 || Below(2) == 0 ? session.countButton : panelButtons[Below(8)]);
        if (session.countPressesLeft > 0 && --session.countPressesLeft == 0) {
            session.countButton = session.countButton == IDC_POINTS_PLUS ? IDC_POINTS_MINUS : IDC_POINTS_PLUS;
        }
    } else if (kind < 195) {
        PostMessageA(editorState.panelWindow ? editorState.panelWindow : window, WM_CLOSE, 0, 0);
    } else if (kind < 196 && Below(2) == 0) {
        SetTimer(nullptr, 0, 1, CloseAboutBox);
        SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
        ++session.aboutBoxes;
    } else if (kind < 197) {
        PostMessageA(window, WM_COMMAND, Below(20) == 0 ? IDM_CLOSE : IDM_CONTROLS, 0);
    } else {
        session.paints += GetUpdateRect(window, nullptr, FALSE) ? 1 : 0;
        UpdateWindow(window);
    }
    if (Below(8) == 0) {
        DispatchPendingMessages();  // otherwise messages pile up and their repaints merge
    }
    if (!IsWindow(window)) {
        ++session.closes;
        DispatchPendingMessages();  // the quit message the close posted
    }
}

std::uint32_t Seed()
{
    if (const char* given = std::getenv("TRAZOS_SEED")) {
        return static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10));
    }
    return static_cast<std::uint32_t>(GetTickCount());
}

std::string SeedText(std::uint32_t seed)
{
    return "seed " + std::to_string(seed) + " (replay with TRAZOS_SEED=" + std::to_string(seed) + ")";
}

TEST(Soak, AHundredThousandRandomEventsLeaveTheEditorSoundAndLeakNothing)
{
    const std::uint32_t seed = Seed();
    const std::string seedText = SeedText(seed);
    std::printf("%s\n", seedText.c_str());
    random.seed(seed);

    Session session;
    StartAgain(session);
    int smallestCount = MaxPoints, largestCount = 0;
    Usage start = {};
    LARGE_INTEGER frequency, began, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&began);

    for (int event = 0; event < Events; ++event) {
        if (event == Events / 10) {
            // After a warm-up in which the window system's other caches have filled.
            start = Measure(session);
        }
        PlayRandomEvent(session, event);
        smallestCount = std::min(smallestCount, editorState.pointCount);
        largestCount = std::max(largestCount, editorState.pointCount);
        const std::string fault = EditorStateFault(editorState);
        ASSERT_TRUE(fault.empty()) << fault << " after event " << event << "; " << seedText;
    }

    const Usage end = Measure(session);
    QueryPerformanceCounter(&ended);
    std::printf("%d events in %.1f s: %d closes and reopenings, %d About boxes, %d extra paints, counts %d .. %d\n",
                Events, static_cast<double>(ended.QuadPart - began.QuadPart) / frequency.QuadPart, session.closes,
                session.aboutBoxes, session.paints, smallestCount, largestCount);
    std::printf("GDI objects %d -> %d, working set %.1f -> %.1f MiB, private bytes %.1f -> %.1f MiB\n", start.gdiObjects,
                end.gdiObjects, start.workingSet / 1048576.0, end.workingSet / 1048576.0, start.privateBytes / 1048576.0,
                end.privateBytes / 1048576.0);
    std::printf("GDI objects by type %s -> %s\n", start.gdiObjectsByType.c_str(), end.gdiObjectsByType.c_str());
    const std::string after = "after " + std::to_string(Events) + " events; " + seedText;
    EXPECT_EQ(smallestCount, 1) << "the count never came down to 1 " << after;
    EXPECT_EQ(largestCount, MaxPoints) << "the count never came up to its limit " << after;
    // Flat: every pen and brush made is released, and both measures see the same windows with the
    // device context cache full, so the count may not grow at all; memory may grow by the
    // allocator's and caches' few MiB, far below the 10 MiB that even 100 bytes lost per event would add.
    EXPECT_LE(end.gdiObjects, start.gdiObjects)
        << "GDI objects grew, by type " << start.gdiObjectsByType << " -> " << end.gdiObjectsByType << ", " << after;
    EXPECT_LE(end.privateBytes, start.privateBytes + 8 * 1048576) << "private bytes grew " << after;
    DestroyWindow(session.window);
}

// Once the calls succeed again the next paint is whole: the background that the presses which took
// effect imply, the wavy curve in the colour that suits it, and a square at every point.
void ExpectWholeAgain(Session& session, const std::string& after)
{
    FailCalls(0);
    EXPECT_EQ(failingCalls.rulesBroken, 0) << failingCalls.firstRuleBroken << " " << after;
    PressPanelButton(session, IDC_TRAIL_OFF);  // the trail's colours are a generator's
    PressPanelButton(session, IDC_WAVY_LAYOUT);
    RestoreAndPaint(session.window);
    const ClientPixels pixels = CaptureClient(session.window);

    const COLORREF cycle[3] = {Black, Grey, LightGreen};
    const int presses = session.backgroundPresses;
    const COLORREF background = presses == 0 ? Grey : cycle[(presses - 1) % 3];
    EXPECT_GT(pixels.Count(background), pixels.width * pixels.height / 2)
        << presses << " presses of color fondo took effect, " << after;
    const bool overLightGreen = background == LightGreen;
    ExpectCurveSamplesIn(pixels, overLightGreen ? RGB(255, 0, 255) : RGB(255, 0, 0));
    const COLORREF marker = overLightGreen ? Black : RGB(128, 255, 0);
    for (int i = 0; i < editorState.pointCount; ++i) {
        const Pixel p = UnitToPixel(editorState.points[i].x, editorState.points[i].y, 400, 300);
        int shown = 0;
        for (int column = p.column - 3; column <= p.column + 3; ++column) {
            shown += pixels.CountInColumn(column, p.row - 3, p.row + 3, marker);
        }
        EXPECT_GT(shown, 0) << "no square at point " << i << " " << after;
    }
}

// Where a creating call fails in the script below.
enum Step { StartUp, BackgroundPress, PaintThatErases, PaintInTrailMode, PaintAfterResize, Steps };
const char* const StepNames[Steps] = {"start-up", "a press of color fondo", "a paint that erases", "a paint in trail mode",
                                      "a paint after a resize"};

void RunStep(Session& session, Step step)
{
    switch (step) {
    case StartUp:
        StartAgain(session);  // the class's brush and the first paints
        break;
    case BackgroundPress:
        PressPanelButton(session, IDC_BACKGROUND);
        break;
    case PaintAfterResize:
        SetClientSize(session.window, 300, 200);  // the kept off-screen frame no longer fits
        break;
    default:
        InvalidateRect(session.window, nullptr, step == PaintThatErases ? TRUE : FALSE);
        UpdateWindow(session.window);
        break;
    }
    DispatchPendingMessages();
}

TEST(Soak, CreatingCallsThatFailBreakNoRuleLeakNothingAndTheNextPaintIsWhole)
{
    const std::uint32_t seed = Seed();
    const std::string seedText = SeedText(seed);
    std::printf("%s\n", seedText.c_str());
    random.seed(seed);
    failingCalls.random.seed(seed);
    ASSERT_TRUE(InstallFailingCalls());

    Session session;
    StartAgain(session);
    for (int event = 0; event < 2000; ++event) {
        PlayRandomEvent(session, event);  // the window system's caches fill
    }
    StartAgain(session);
    const Usage start = Measure(session);

    // One call at a time: the first creating call of a step, then its second, and so on.
    for (int step = StartUp; step < Steps; ++step) {
        for (int call = 1;; ++call) {
            if (step != StartUp) {
                StartAgain(session);
            }
            if (step == PaintInTrailMode) {
                PressPanelButton(session, IDC_TRAIL_ON);
                UpdateWindow(session.window);
            }
            FailCalls(call);
            RunStep(session, static_cast<Step>(step));
            const bool reached = failingCalls.made >= call;
            FailCalls(0);
            if (!reached) {
                break;
            }
            ExpectWholeAgain(session, "after creating call " + std::to_string(call) + " of " + StepNames[step] + " failed");
            ASSERT_FALSE(HasFailure()) << seedText;
        }
    }

    // At random, in sessions like the one above.
    for (double chance : {0.05, 0.2, 0.5}) {
        FailCalls(0, chance);
        for (int event = 0; event < FailingEvents; ++event) {
            PlayRandomEvent(session, event);
            // A paint after every event, so that failures fall on paints of every kind.
            InvalidateRect(session.window, nullptr, FALSE);
            UpdateWindow(session.window);
            const std::string fault = EditorStateFault(editorState);
            ASSERT_TRUE(fault.empty()) << fault << " after event " << event << " at chance " << chance << "; " << seedText;
        }
        int failed = 0;
        std::string byCall;
        for (int call = 0; call < CreatingCalls; ++call) {
            failed += failingCalls.failed[call];
            byCall += std::string(call ? ", " : "") + CreatingCallNames[call] + " " + std::to_string(failingCalls.failed[call]);
        }
        std::printf("%d events, each creating call failing at chance %.2f: %d of %d calls failed (%s)\n", FailingEvents,
                    chance, failed, failingCalls.made, byCall.c_str());
        ExpectWholeAgain(session, "after " + std::to_string(FailingEvents) + " events at chance " + std::to_string(chance));
        ASSERT_FALSE(HasFailure()) << seedText;
    }

    StartAgain(session);
    const Usage end = Measure(session);
    std::printf("GDI objects by type %s -> %s\n", start.gdiObjectsByType.c_str(), end.gdiObjectsByType.c_str());
    EXPECT_EQ(end.gdiObjectsByType, start.gdiObjectsByType) << seedText;
    // The window gives its off-screen frame back as it goes: one device context and one bitmap.
    DestroyWindow(session.window);
    EXPECT_EQ(LiveGdiObjects(), end.gdiObjects - 2) << seedText;
}

}  // namespace
