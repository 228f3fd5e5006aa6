// The About box shown modally from the menu. Its modal loop runs inside the command, so what the
// test does while the box is open runs from a timer that the loop dispatches.
#include <gtest/gtest.h>

#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "window_testing.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Grey = RGB(128, 128, 128);

// What the timer saw while the box was open.
struct WhileOpen {
    HWND window = nullptr;
    HWND panel = nullptr;
    HWND box = nullptr;
    int step = 0;
    bool buttonFocused = false;
    bool mainEnabled = true;
    bool panelEnabled = false;
    bool openAfterEscape = false;
    COLORREF background = 0;
    HWND focusAfterTab = nullptr;
    int widthAfterSpace = 0;
    bool forcedShut = false;
} seen;

// The visible window of this thread that the main window owns, other than the panel.
HWND FindBox()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM context) -> BOOL {
            if (GetWindow(candidate, GW_OWNER) == seen.window && candidate != seen.panel && IsWindowVisible(candidate)) {
                *reinterpret_cast<HWND*>(context) = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A key press posted to a window, as the keyboard would queue it; the box's modal loop picks it up.
void PostKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Keys for the box go to its button, which holds the box's focus. (Once the panel has been clicked
// the thread's focus is on the panel.)
void PostKeyToBox(WPARAM key)
{
    PostKey(GetDlgItem(seen.box, IDOK), key);
}

void CALLBACK StepWhileOpen(HWND, UINT, UINT_PTR, DWORD)
{
    if (!seen.box) {
        seen.box = FindBox();
        if (!seen.box) {
            return;
        }
    }
    switch (seen.step++) {
    case 0: {
        seen.buttonFocused = GetFocus() == GetDlgItem(seen.box, IDOK);
        seen.mainEnabled = IsWindowEnabled(seen.window);
        seen.panelEnabled = IsWindowEnabled(seen.panel);
        PostKeyToBox(VK_ESCAPE);
        // A click on the panel's "color fondo", which must repaint the disabled main window.
        HWND button = GetDlgItem(seen.panel, IDC_BACKGROUND);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        break;
    }
    case 1:
        seen.openAfterEscape = IsWindowVisible(seen.box);
        seen.background = CaptureClient(seen.window).At(495, 395);
        PostKey(GetFocus(), VK_TAB);  // from the clicked "color fondo" to "grosor curva"
        break;
    case 2:
        seen.focusAfterTab = GetFocus();
        PostKey(GetFocus(), VK_SPACE);
        break;
    case 3:
        seen.widthAfterSpace = editorState.curveWidth;
        PostKeyToBox(VK_RETURN);
        break;
    default:
        // Only keeps a box that ignores Enter from hanging the run.
        if (seen.step > 50) {
            seen.forcedShut = true;
            EndDialog(seen.box, 0);
        }
        break;
    }
}

TEST(AboutBox, DisablesOnlyTheMainWindowKeepsThePanelsKeysAndClosesOnEnterButNotOnEscape)
{
    seen.window = OpenMainWindow(500, 400);
    SendMessageA(seen.window, WM_COMMAND, IDM_CONTROLS, 0);
    seen.panel = editorState.panelWindow;
    ASSERT_NE(seen.panel, nullptr);
    ASSERT_EQ(CaptureClient(seen.window).At(495, 395), Grey);

    const UINT_PTR timer = SetTimer(nullptr, 0, 20, StepWhileOpen);
    SendMessageA(seen.window, WM_COMMAND, IDM_ABOUT, 0);  // returns when the box has closed
    KillTimer(nullptr, timer);

    ASSERT_NE(seen.box, nullptr) << "the box never opened";
    EXPECT_TRUE(seen.buttonFocused);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_TRUE(seen.panelEnabled);
    EXPECT_TRUE(seen.openAfterEscape);
    EXPECT_EQ(seen.background, Black) << "the panel's press repainted the main window";
    EXPECT_EQ(seen.focusAfterTab, GetDlgItem(seen.panel, IDC_CURVE_WIDTH)) << "Tab moved in the panel";
    EXPECT_EQ(seen.widthAfterSpace, 2) << "Space pressed the panel's focused button";
    EXPECT_FALSE(seen.forcedShut) << "Enter did not close the box";
    EXPECT_FALSE(IsWindow(seen.box));
    MSG tab = {GetDlgItem(seen.panel, IDC_TRAIL_ON), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_FALSE(CallMsgFilterA(&tab, MSGF_DIALOGBOX)) << "the box's hook on the panel's keys went with it";
    EXPECT_TRUE(IsWindowEnabled(seen.window));
    EXPECT_TRUE(IsWindow(seen.panel));
    DestroyWindow(seen.window);
}

}  // namespace
