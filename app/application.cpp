#include "../model/curve_model.h"
#include "../resources/resource_ids.h"
#include "main_window.h"

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    LOGBRUSH grey = {BS_SOLID, RGB(128, 128, 128), 0};
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // any change of size repaints the whole stretched curve
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAZOS));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateBrushIndirect(&grey);
    if (!windowClass.hbrBackground) {
        // A desktop out of GDI objects makes no brush; the stock grey is the same colour.
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    }
    windowClass.lpszMenuName = MainMenuName;
    windowClass.lpszClassName = MainWindowClass;
    return RegisterClassA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    return CreateWindowExA(0, MainWindowClass, MainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           nullptr);
}

int RunMessageLoop(GetMessageFunction getMessage)
{
    MSG message;
    for (;;) {
        const BOOL got = getMessage(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            // A failing GetMessage fails again at once; going round would spin for ever.
            return 1;
        }
        if (editorState.panelWindow && IsDialogMessageA(editorState.panelWindow, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Every DLL that the program or the system loads by name from here on comes from the system folder
// only. By default the folder the program was started from is searched first, and that is often
// Downloads, where a DLL of a fitting name may lie waiting. Windows 7 without update KB2533623
// lacks the call, hence the lookup: there the program starts as before.
static void LoadDllsFromTheSystemFolderOnly()
{
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found) {
        reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void*>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

int RunTrazos(HINSTANCE instance, int showCommand)
{
    LoadDllsFromTheSystemFolderOnly();
    editorState.instance = instance;
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    if (!window) {
        // Without a window no quit message would ever come.
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return RunMessageLoop(GetMessageA);
}
