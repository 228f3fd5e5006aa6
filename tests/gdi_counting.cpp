#include "gdi_counting.h"

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <numeric>

// One entry of the GDI handle table that the system maps into every process, as both Windows and
// Wine lay it out: the owning process id at byte 8 and the object's type at byte 14, which is 0
// while the entry is free. The entry of a handle is the handle's low 16 bits.
constexpr std::size_t HandleEntrySize = sizeof(void*) == 8 ? 24 : 16;
constexpr std::size_t HandleEntries = 0x10000;
constexpr std::size_t OwnerOffset = sizeof(void*) == 8 ? 8 : 4;
constexpr std::size_t TypeOffset = sizeof(void*) == 8 ? 14 : 10;
// Where the process environment block keeps the table.
constexpr std::size_t TableOffsetInPeb = sizeof(void*) == 8 ? 0xF8 : 0x94;

static const unsigned char* GdiHandleTable()
{
    PROCESS_BASIC_INFORMATION process = {};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr);
    const auto* peb = reinterpret_cast<const unsigned char*>(process.PebBaseAddress);
    return *reinterpret_cast<const unsigned char* const*>(peb + TableOffsetInPeb);
}

// Tallies this process's entries of the table by object type; false where there is no table.
static bool TallyTableEntries(int (&byType)[256])
{
    const unsigned char* table = GdiHandleTable();
    if (!table) {
        return false;
    }
    // On Windows the table is shared by all processes and entries carry their owner; Wine gives
    // each process a table of its own and leaves the owner 0.
    const auto ownProcess = static_cast<std::uint16_t>(GetCurrentProcessId());
    for (std::size_t i = 0; i < HandleEntries; ++i) {
        const unsigned char* entry = table + i * HandleEntrySize;
        const auto owner = *reinterpret_cast<const std::uint16_t*>(entry + OwnerOffset);
        if (entry[TypeOffset] != 0 && (owner == ownProcess || owner == 0)) {
            ++byType[entry[TypeOffset]];
        }
    }
    return true;
}

int LiveGdiObjects()
{
    // Windows counts the objects itself. Wine 8 answers 0 whatever the process holds, and there the
    // handle table is counted instead.
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<int>(counted);
    }
    int byType[256] = {};
    return TallyTableEntries(byType) ? std::accumulate(std::begin(byType), std::end(byType), 0) : -1;
}

std::string LiveGdiObjectsByType()
{
    int byType[256] = {};
    if (!TallyTableEntries(byType)) {
        return "no handle table";
    }
    std::string text;
    for (int type = 1; type < 256; ++type) {
        if (byType[type] != 0) {
            text += (text.empty() ? "" : " ") + std::to_string(type) + ":" + std::to_string(byType[type]);
        }
    }
    return text;
}

int LiveGdiObjectsOfType(int type)
{
    int byType[256] = {};
    return TallyTableEntries(byType) ? byType[type & 0xFF] : -1;
}

int GdiObjectType(HGDIOBJ object)
{
    const unsigned char* table = GdiHandleTable();
    const std::size_t entry = reinterpret_cast<std::uintptr_t>(object) & 0xFFFF;
    return table ? table[entry * HandleEntrySize + TypeOffset] : -1;
}
