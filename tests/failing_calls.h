#pragma once
// Makes the program's own creating calls fail as they do on a desktop out of GDI objects, by
// rewriting this test program's import table: the program's code is linked into it and calls the
// system through that table. Once installed it also holds every caller to two rules of Windows
// that Wine does not keep: SelectObject is given no null surface or object, and an object still
// selected into a device context is not deleted (Windows refuses, and the object then lives for
// ever; here too, so that the GDI object counts show it).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

enum CreatingCall {
    CallCreatePen,
    CallCreateSolidBrush,
    CallCreateBrushIndirect,
    CallCreateCompatibleDC,
    CallCreateCompatibleBitmap,
    CallBeginPaint,
    CreatingCalls
};
inline const char* const CreatingCallNames[CreatingCalls] = {"CreatePen", "CreateSolidBrush", "CreateBrushIndirect",
                                                             "CreateCompatibleDC", "CreateCompatibleBitmap", "BeginPaint"};

struct FailingCalls {
    double chance = 0;  // of each call failing, drawn from random
    int failAt = 0;     // if not 0, only the call of this number fails, counting by made
    int made = 0;                    // since armed
    int failed[CreatingCalls] = {};  // likewise
    std::mt19937 random;
    std::vector<HDC> surfaces;  // every surface given to SelectObject and not deleted since
    int rulesBroken = 0;
    std::string firstRuleBroken;
};
inline FailingCalls failingCalls;

// Arms the failures anew, counting from 0: call number failAt fails, or each call fails with the chance.
inline void FailCalls(int failAt, double chance = 0)
{
    failingCalls.failAt = failAt;
    failingCalls.chance = chance;
    failingCalls.made = 0;
    std::fill(std::begin(failingCalls.failed), std::end(failingCalls.failed), 0);
}

namespace failing_calls_detail {

inline decltype(&CreatePen) realCreatePen;
inline decltype(&CreateSolidBrush) realCreateSolidBrush;
inline decltype(&CreateBrushIndirect) realCreateBrushIndirect;
inline decltype(&CreateCompatibleDC) realCreateCompatibleDC;
inline decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
inline decltype(&BeginPaint) realBeginPaint;
inline decltype(&SelectObject) realSelectObject;
inline decltype(&DeleteObject) realDeleteObject;
inline decltype(&DeleteDC) realDeleteDC;

inline bool FailsNow(CreatingCall call)
{
    FailingCalls& f = failingCalls;
    ++f.made;
    const bool fails = f.failAt ? f.made == f.failAt
                                : f.chance > 0 && std::uniform_real_distribution<double>(0, 1)(f.random) < f.chance;
    f.failed[call] += fails;
    return fails;
}

inline void BreakRule(const std::string& rule)
{
    if (failingCalls.rulesBroken++ == 0) {
        failingCalls.firstRuleBroken = rule;
    }
}

inline HPEN WINAPI FailingCreatePen(int style, int width, COLORREF colour)
{
    return FailsNow(CallCreatePen) ? nullptr : realCreatePen(style, width, colour);
}
inline HBRUSH WINAPI FailingCreateSolidBrush(COLORREF colour)
{
    return FailsNow(CallCreateSolidBrush) ? nullptr : realCreateSolidBrush(colour);
}
inline HBRUSH WINAPI FailingCreateBrushIndirect(const LOGBRUSH* brush)
{
    return FailsNow(CallCreateBrushIndirect) ? nullptr : realCreateBrushIndirect(brush);
}
inline HDC WINAPI FailingCreateCompatibleDC(HDC surface)
{
    return FailsNow(CallCreateCompatibleDC) ? nullptr : realCreateCompatibleDC(surface);
}
inline HBITMAP WINAPI FailingCreateCompatibleBitmap(HDC surface, int width, int height)
{
    return FailsNow(CallCreateCompatibleBitmap) ? nullptr : realCreateCompatibleBitmap(surface, width, height);
}

// Fails the way a desktop out of objects does: the update region is taken, then no surface is had
// for it, and the caller's structure is left as it was.
inline HDC WINAPI FailingBeginPaint(HWND window, PAINTSTRUCT* paint)
{
    if (!FailsNow(CallBeginPaint)) {
        return realBeginPaint(window, paint);
    }
    PAINTSTRUCT unfilled;
    std::memcpy(&unfilled, paint, sizeof unfilled);
    realBeginPaint(window, paint);
    EndPaint(window, paint);
    std::memcpy(paint, &unfilled, sizeof unfilled);
    return nullptr;
}

inline HGDIOBJ WINAPI CheckedSelectObject(HDC surface, HGDIOBJ object)
{
    if (!surface || !object) {
        BreakRule(std::string("SelectObject given a null ") + (surface ? "object" : "surface"));
    }
    std::vector<HDC>& surfaces = failingCalls.surfaces;
    if (surface && std::find(surfaces.begin(), surfaces.end(), surface) == surfaces.end()) {
        surfaces.push_back(surface);
    }
    return realSelectObject(surface, object);
}

inline BOOL WINAPI CheckedDeleteObject(HGDIOBJ object)
{
    const DWORD type = GetObjectType(object);
    for (HDC surface : failingCalls.surfaces) {
        if (type && GetCurrentObject(surface, type == OBJ_EXTPEN ? OBJ_PEN : type) == object) {
            BreakRule("DeleteObject of an object of type " + std::to_string(type) + " still selected into a surface");
            return FALSE;
        }
    }
    return realDeleteObject(object);
}

inline BOOL WINAPI CheckedDeleteDC(HDC surface)
{
    std::vector<HDC>& surfaces = failingCalls.surfaces;
    surfaces.erase(std::remove(surfaces.begin(), surfaces.end(), surface), surfaces.end());
    return realDeleteDC(surface);
}

// Points this program's import of the function at the hook and keeps the function in real.
template <typename Function>
bool Replace(const char* module, const char* name, Function hook, Function& real)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* from = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); from->Name; ++from) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + from->Name), module) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + from->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + from->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) && std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) {
                DWORD protection;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
                real = reinterpret_cast<Function>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
                return true;
            }
        }
    }
    return false;
}

}  // namespace failing_calls_detail

// Puts the hooks in place for the rest of the process; false if any import was not found.
inline bool InstallFailingCalls()
{
    using namespace failing_calls_detail;
    return Replace("gdi32.dll", "CreatePen", &FailingCreatePen, realCreatePen) &&
           Replace("gdi32.dll", "CreateSolidBrush", &FailingCreateSolidBrush, realCreateSolidBrush) &&
           Replace("gdi32.dll", "CreateBrushIndirect", &FailingCreateBrushIndirect, realCreateBrushIndirect) &&
           Replace("gdi32.dll", "CreateCompatibleDC", &FailingCreateCompatibleDC, realCreateCompatibleDC) &&
           Replace("gdi32.dll", "CreateCompatibleBitmap", &FailingCreateCompatibleBitmap, realCreateCompatibleBitmap) &&
           Replace("user32.dll", "BeginPaint", &FailingBeginPaint, realBeginPaint) &&
           Replace("gdi32.dll", "SelectObject", &CheckedSelectObject, realSelectObject) &&
           Replace("gdi32.dll", "DeleteObject", &CheckedDeleteObject, realDeleteObject) &&
           Replace("gdi32.dll", "DeleteDC", &CheckedDeleteDC, realDeleteDC);
}
