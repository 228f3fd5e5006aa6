// What a user downloads: the program file's version information, as Windows shows it under the
// file's properties, and the manifest that puts Common Controls 6 in force.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/curve_model.h"
#include "resources/resource_ids.h"
#include "trazos_version.h"
#include "window_testing.h"

namespace {

TEST(Release, ProgramFileCarriesTheProjectVersionAndItsDetailsInSpanish)
{
    const std::wstring program = BuiltProgramPath();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &unused);
    ASSERT_GT(size, 0u) << "no version information in the program";
    std::vector<BYTE> information(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, information.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const DWORD high = MAKELONG(TRAZOS_VERSION_MINOR, TRAZOS_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, TRAZOS_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0C0A) << "Spanish (Spain)";
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200) << "UTF-16";

    const std::wstring version = L"" TRAZOS_VERSION_TEXT;
    const struct {
        const wchar_t* name;
        std::wstring text;
    } rows[] = {
        {L"CompanyName", L"El equipo de Trazos"},
        {L"FileDescription", L"Trazos, editor de curvas de Hermite a mano"},
        {L"FileVersion", version},
        {L"InternalName", L"trazos"},
        {L"LegalCopyright", L"\u00a9 2026 El equipo de Trazos"},
        {L"OriginalFilename", L"trazos.exe"},
        {L"ProductName", L"Trazos"},
        {L"ProductVersion", version},
    };
    for (const auto& row : rows) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\0c0a04b0\\") + row.name;
        ASSERT_TRUE(VerQueryValueW(information.data(), query.c_str(), &value, &length)) << row.name;
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), row.text) << row.name;
    }
}

TEST(Release, ManifestRunsAsInvokerAndPutsCommonControls6InForce)
{
    HMODULE program = LoadLibraryExW(BuiltProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(found, nullptr) << "no manifest";
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    // Line widths and squares are whole pixels: the system scales the window as a whole instead.
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);

    // The test programs carry the same manifest, so the panel's buttons come from Common Controls 6:
    // only its buttons tell their ideal size (BCM_GETIDEALSIZE); the older ones know no such message.
    HWND window = OpenMainWindow(500, 400);
    SendMessageA(window, WM_COMMAND, IDM_CONTROLS, 0);
    ASSERT_NE(editorState.panelWindow, nullptr);
    SIZE ideal = {};
    EXPECT_TRUE(SendMessageW(GetDlgItem(editorState.panelWindow, IDC_TRAIL_ON), 0x1601 /* BCM_GETIDEALSIZE */, 0,
                             reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    DestroyWindow(window);
}

}  // namespace
