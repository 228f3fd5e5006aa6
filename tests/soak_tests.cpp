// A long random session with the real main window and controls panel: pointer messages anywhere in
// the 16-bit range (and right on points and handles), releases the window never sees, resizes down
// to nothing, minimising, every menu command and panel button in any order, paints in between.
// The editor state is checked after every event; GDI objects and the working set must stay flat.
// Set TRAZOS_SEED to replay a run; the seed is printed either way.
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
#include "draw/curve_arithmetic.h"
#include "gdi_counting.h"
#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "state_checks.h"
#include "window_testing.h"

namespace {

const int Events = 100000;

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

// After the close command the program would end; the session goes on as a fresh run would start:
// the class and its brush made anew, the state zeroed, the panel open again.
HWND StartAgain()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA used;
    if (GetClassInfoA(instance, MainWindowClass, &used)) {
        UnregisterClassA(MainWindowClass, instance);
        DeleteObject(used.hbrBackground);
    }
    HWND window = OpenMainWindow(400, 300);
    SendMessageA(window, WM_COMMAND, IDM_CONTROLS, 0);
    return window;
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
// which varies with timing; each new one adds three objects. Holding 64 at once fills the cache,
// so that from here on a new device context means more than 64 in use at once: one not released.
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

// Measured with the panel closed and nothing pending, so that every measure sees the same windows.
// The queue goes first: a command still in it could open the panel again.
Usage Measure(HWND window)
{
    DispatchPendingMessages();
    if (editorState.panelWindow) {
        SendMessageA(editorState.panelWindow, WM_CLOSE, 0, 0);
    }
    UpdateWindow(window);
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return {LiveGdiObjects(), LiveGdiObjectsByType(), memory.WorkingSetSize, memory.PagefileUsage};
}

TEST(Soak, AHundredThousandRandomEventsLeaveTheEditorSoundAndLeakNothing)
{
    std::uint32_t seed = static_cast<std::uint32_t>(GetTickCount());
    if (const char* given = std::getenv("TRAZOS_SEED")) {
        seed = static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10));
    }
    const std::string seedText = "seed " + std::to_string(seed) + " (replay with TRAZOS_SEED=" + std::to_string(seed) + ")";
    std::printf("%s\n", seedText.c_str());
    random.seed(seed);

    HWND window = StartAgain();
    FillDeviceContextCache(window);
    const int panelButtons[] = {IDC_TRAIL_ON,    IDC_TRAIL_OFF,     IDC_STRAIGHT_LAYOUT, IDC_WAVY_LAYOUT,
                                IDC_POINTS_PLUS, IDC_POINTS_MINUS,  IDC_BACKGROUND,      IDC_CURVE_WIDTH};
    int countButton = IDC_POINTS_PLUS;
    int countPressesLeft = 0;
    int closes = 0, aboutBoxes = 0, smallestCount = MaxPoints, largestCount = 0, paints = 0;
    Usage start = {};
    LARGE_INTEGER frequency, began, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&began);

    for (int event = 0; event < Events; ++event) {
        if (event == Events / 10) {
            // After a warm-up in which the window system's other caches have filled.
            start = Measure(window);
        }
        if (!IsWindow(window)) {
            window = StartAgain();
        }
        // Now and then one count button is pressed all the way to its limit and past it, however
        // often the random closes have put the count back to its start.
        if (event % 5000 == 2500) {
            countPressesLeft = MaxPoints + 10;
        }
        const int kind = countPressesLeft > 0 ? 180 : Below(200);
        if (kind < 164) {
            const UINT messages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP};
            PostMessageA(window, messages[Below(5)], MK_LBUTTON, PointerPosition());
        } else if (kind < 168) {
            Resize(window);
        } else if (kind < 192) {
            if (!editorState.panelWindow) {
                SendMessageA(window, WM_COMMAND, IDM_CONTROLS, 0);
            }
            const int id = countPressesLeft > 0 || Below(2) == 0 ? countButton : panelButtons[Below(8)];
            HWND button = GetDlgItem(editorState.panelWindow, id);
            if (Below(10) == 0) {
                SendMessageA(button, BM_CLICK, 0, 0);
            } else {
                // What the button tells the panel when clicked, without animating the button.
                SendMessageA(editorState.panelWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            }
            if (countPressesLeft > 0 && --countPressesLeft == 0) {
                countButton = countButton == IDC_POINTS_PLUS ? IDC_POINTS_MINUS : IDC_POINTS_PLUS;
            }
        } else if (kind < 195) {
            PostMessageA(editorState.panelWindow ? editorState.panelWindow : window, WM_CLOSE, 0, 0);
        } else if (kind < 196 && Below(2) == 0) {
            SetTimer(nullptr, 0, 1, CloseAboutBox);
            SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
            ++aboutBoxes;
        } else if (kind < 197) {
            PostMessageA(window, WM_COMMAND, Below(20) == 0 ? IDM_CLOSE : IDM_CONTROLS, 0);
        } else {
            paints += GetUpdateRect(window, nullptr, FALSE) ? 1 : 0;
            UpdateWindow(window);
        }
        if (Below(8) == 0) {
            DispatchPendingMessages();  // otherwise messages pile up and their repaints merge
        }
        if (!IsWindow(window)) {
            ++closes;
            DispatchPendingMessages();  // the quit message the close posted
        }
        smallestCount = std::min(smallestCount, editorState.pointCount);
        largestCount = std::max(largestCount, editorState.pointCount);
        const std::string fault = EditorStateFault(editorState);
        ASSERT_TRUE(fault.empty()) << fault << " after event " << event << "; " << seedText;
    }

    if (!IsWindow(window)) {
        window = StartAgain();
    }
    const Usage end = Measure(window);
    QueryPerformanceCounter(&ended);
    std::printf("%d events in %.1f s: %d closes and reopenings, %d About boxes, %d extra paints, counts %d .. %d\n",
                Events, static_cast<double>(ended.QuadPart - began.QuadPart) / frequency.QuadPart, closes, aboutBoxes,
                paints, smallestCount, largestCount);
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
    DestroyWindow(window);
}

}  // namespace
