#pragma once
// Records what a drawing routine asks of a device context, by drawing into an enhanced metafile
// and reading its records back in order.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct GdiCall {
    std::string name;         // "CreatePen", "SelectObject", "MoveToEx", "LineTo", ...
    std::vector<long> args;   // CreatePen: handle slot, style, width, colour; SelectObject and
                              // DeleteObject: handle slot; MoveToEx, LineTo: x, y;
                              // Rectangle: left, top, right, bottom, ordered so that left < right
                              // and top < bottom; CreateBrush: slot, colour
};

std::vector<GdiCall> RecordGdiCalls(const std::function<void(HDC)>& draw);

std::vector<GdiCall> OnlyCalls(const std::vector<GdiCall>& calls, const std::string& name);

// Calls as one line each, for readable failure messages.
std::string Describe(const std::vector<GdiCall>& calls);

// A slot above this marks a stock object, as the metafile records them.
constexpr long StockObjectSlot = static_cast<long>(0x80000000u);
