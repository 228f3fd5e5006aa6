#include "window_testing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "memory_surface.h"
#include "model/curve_model.h"

HWND OpenMainWindow(int width, int height)
{
    editorState = EditorState{};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    editorState.instance = instance;
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, MainWindowClass, &existing)) {
        RegisterMainWindowClass(instance);
    }
    HWND window = CreateMainWindow(instance);
    if (!window) {
        ADD_FAILURE() << "the main window could not be created (error " << GetLastError() << ")";
        return nullptr;
    }
    SetClientSize(window, width, height);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    DispatchPendingMessages();
    return window;
}

std::wstring BuiltProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring tests = path;
    return tests.substr(0, tests.find_last_of(L"\\/") + 1) + L"trazos.exe";
}

void SetClientSize(HWND window, int width, int height)
{
    // The menu bar may wrap as the width changes, so correct by what the client area turned out to be.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT client, outer;
        GetClientRect(window, &client);
        GetWindowRect(window, &outer);
        const int extraWidth = (outer.right - outer.left) - client.right;
        const int extraHeight = (outer.bottom - outer.top) - client.bottom;
        SetWindowPos(window, nullptr, 0, 0, width + extraWidth, height + extraHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(window, &client);
        if (client.right == width && client.bottom == height) {
            break;
        }
    }
    UpdateWindow(window);
}

void DispatchPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (editorState.panelWindow && IsDialogMessageA(editorState.panelWindow, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Runs draw on a memory surface backed by a 32-bit top-down bitmap and returns its pixels.
static ClientPixels ReadPixels(int width, int height, const std::function<void(HDC)>& draw)
{
    ClientPixels pixels;
    pixels.width = width;
    pixels.height = height;
    MemorySurface memory = OpenSurface(width, height);
    if (!memory.bits) {
        ADD_FAILURE() << "no bitmap of " << width << " x " << height;
        CloseSurface(memory);
        return ClientPixels{};
    }
    draw(memory.surface);
    GdiFlush();

    pixels.colours.resize(static_cast<size_t>(pixels.width) * pixels.height);
    for (size_t i = 0; i < pixels.colours.size(); ++i) {
        pixels.colours[i] = PixelAt(memory, i);
    }
    CloseSurface(memory);
    return pixels;
}

ClientPixels CaptureClient(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC windowSurface = GetDC(window);
    ClientPixels pixels = ReadPixels(client.right, client.bottom, [&](HDC memory) {
        BitBlt(memory, 0, 0, client.right, client.bottom, windowSurface, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, windowSurface);
    return pixels;
}

ClientPixels DrawToPixels(int width, int height, COLORREF background, const std::function<void(HDC)>& draw)
{
    return ReadPixels(width, height, [&](HDC memory) {
        const RECT all = {0, 0, width, height};
        HBRUSH fill = CreateSolidBrush(background);
        FillRect(memory, &all, fill);
        DeleteObject(fill);
        draw(memory);
    });
}

int ClientPixels::CountInColumn(int column, int firstRow, int lastRow, COLORREF colour) const
{
    int count = 0;
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, height - 1); ++row) {
        count += At(column, row) == colour;
    }
    return count;
}

int ClientPixels::Count(COLORREF colour) const
{
    return static_cast<int>(std::count(colours.begin(), colours.end(), colour));
}
