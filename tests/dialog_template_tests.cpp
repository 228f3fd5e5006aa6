// The two dialog templates as they come out on screen: captions, styles, font, and every control's
// id, text, style and place, the places given in dialog units.
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/about_box.h"
#include "app/dialogs/controls_panel.h"
#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "window_testing.h"

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Place and size are converted to pixels each on its own, as the dialog manager does.
RECT DialogUnits(HWND dialog, long x, long y, long width, long height)
{
    RECT pixels = {x, y, width, height};
    MapDialogRect(dialog, &pixels);
    return {pixels.left, pixels.top, pixels.left + pixels.right, pixels.top + pixels.bottom};
}

// The client origin of a window, on the screen.
POINT ClientOrigin(HWND window)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

// The dialog lies at (x, y) dialog units from its owner's client origin and its client area is
// width x height dialog units; its font is Arial Black of the given size, default weight, not
// italic, character set 1.
void ExpectDialog(HWND dialog, HWND owner, const RECT& units, int points, const std::wstring& caption)
{
    EXPECT_EQ(TextOf(dialog), caption);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    const RECT place = DialogUnits(dialog, units.left, units.top, units.right, units.bottom);
    const POINT origin = ClientOrigin(dialog);
    const POINT ownerOrigin = ClientOrigin(owner);
    EXPECT_EQ(origin.x - ownerOrigin.x, place.left);
    EXPECT_EQ(origin.y - ownerOrigin.y, place.top);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, place.right - place.left);
    EXPECT_EQ(client.bottom, place.bottom - place.top);

    LOGFONTA font = {};
    ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font), 0);
    EXPECT_STREQ(font.lfFaceName, "Arial Black");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfWeight, 0);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfCharSet, 1);
}

struct ControlRow {
    int id;
    const wchar_t* text;  // nullptr: not checked
    RECT units;           // x, y, width, height
    LONG style;           // all of these bits are set
};

void ExpectControl(HWND dialog, const ControlRow& row, bool checkSize = true)
{
    SCOPED_TRACE(row.id);
    HWND control = GetDlgItem(dialog, row.id);
    ASSERT_NE(control, nullptr);
    if (row.text) {
        EXPECT_EQ(TextOf(control), row.text);
    }
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & row.style, row.style);
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const RECT expected = DialogUnits(dialog, row.units.left, row.units.top, row.units.right, row.units.bottom);
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    if (checkSize) {
        EXPECT_EQ(place.right, expected.right);
        EXPECT_EQ(place.bottom, expected.bottom);
    }
}

TEST(DialogTemplates, ControlsPanelIsAToolWindowOfEightPushButtonsTopToBottom)
{
    HWND window = OpenMainWindow(500, 400);
    SendMessageA(window, WM_COMMAND, IDM_CONTROLS, 0);
    HWND panel = editorState.panelWindow;
    ASSERT_NE(panel, nullptr);
    ExpectDialog(panel, window, {190, 50, 63, 145}, 12, L"controles");
    const LONG style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    EXPECT_EQ(GetWindowLongA(panel, GWL_STYLE) & style, style);
    EXPECT_TRUE(GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    const LONG button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const ControlRow buttons[] = {
        {IDC_TRAIL_ON, L"con estela", {4, 3, 53, 13}, button},
        {IDC_TRAIL_OFF, L"sin estela", {4, 18, 53, 13}, button},
        {IDC_STRAIGHT_LAYOUT, L"init rectiligne", {4, 36, 53, 14}, button},
        {IDC_WAVY_LAYOUT, L"init curviligne", {4, 53, 54, 14}, button},
        {IDC_POINTS_PLUS, L"points plus", {4, 70, 50, 14}, button},
        {IDC_POINTS_MINUS, L"points minus", {4, 87, 50, 14}, button},
        {IDC_BACKGROUND, L"color fondo", {4, 103, 50, 14}, button},
        {IDC_CURVE_WIDTH, L"grosor curva", {4, 121, 50, 14}, button},
    };
    HWND control = GetWindow(panel, GW_CHILD);
    for (const ControlRow& row : buttons) {
        ExpectControl(panel, row);
        EXPECT_EQ(GetWindowLongA(GetDlgItem(panel, row.id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_EQ(control, GetDlgItem(panel, row.id)) << "tab order is top to bottom";
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);
    DestroyWindow(window);
}

TEST(DialogTemplates, AboutBoxHasNoCloseBoxAndShowsTheCreditTheIconAndOneDefaultButton)
{
    HWND window = OpenMainWindow(500, 400);
    // Opened modeless here only to look at it.
    HWND box = CreateDialogParamA(editorState.instance, AboutBoxTemplate, window, AboutBoxProc, 0);
    ASSERT_NE(box, nullptr);
    ExpectDialog(box, window, {20, 20, 123, 66}, 10, L"qui\u00e9n, c\u00f3mo y por qu\u00e9 ....");
    const LONG style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (style | WS_SYSMENU), style);
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    const LONG visible = WS_CHILD | WS_VISIBLE;
    ExpectControl(box, {IDOK, L" List\u00e9", {70, 45, 45, 18}, visible | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON});
    ExpectControl(box, {-1, nullptr, {7, 5, 108, 35}, visible | WS_GROUP});
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, -1), GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    const std::wstring credit = TextOf(GetDlgItem(box, -1));
    EXPECT_NE(credit.find(L"Trazos"), std::wstring::npos) << "the authors";
    // Written out, not taken from the macro that makes the box's text, so that a wrong third line
    // shows: the contact this build was configured with, or with the placeholder where to report.
    wchar_t contact[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, TRAZOS_CONFIGURED_CONTACT, -1, contact, 256);
    const bool placeholder = std::string(TRAZOS_CONFIGURED_CONTACT) == TRAZOS_CONTACT_PLACEHOLDER;
    EXPECT_EQ(credit, L"Para quien traza a mano.\nEl equipo de Trazos\n" +
                          (placeholder ? std::wstring(L"Fallos: p\u00e1gina de descarga") : std::wstring(contact)) +
                          L"\n2026")
        << "four lines; the third gives the contact, or without one says where to report, never the placeholder";

    // The icon control takes the icon's own size, so only its place is checked; its border shows as
    // a sunken client edge.
    const ControlRow icon = {IDC_ABOUT_ICON, nullptr, {34, 45, 12, 12}, visible | SS_ICON | SS_REALSIZEIMAGE | SS_SUNKEN};
    ExpectControl(box, icon, false);
    HWND iconControl = GetDlgItem(box, IDC_ABOUT_ICON);
    EXPECT_TRUE((GetWindowLongA(iconControl, GWL_STYLE) & WS_BORDER) ||
                (GetWindowLongA(iconControl, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    EXPECT_NE(SendMessageA(iconControl, STM_GETICON, 0, 0), 0);
    DestroyWindow(window);
}

}  // namespace
