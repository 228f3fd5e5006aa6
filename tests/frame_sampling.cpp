#include "frame_sampling.h"

#include <algorithm>
#include <numeric>

#include "memory_surface.h"

namespace {

// One row of a window's client area copied into a memory bitmap, through a device context of the
// window that belongs to the thread that opened it.
struct RowReader {
    HWND window;
    HDC windowSurface;
    MemorySurface row;
    int rowIndex;
    int width;
};

RowReader OpenRowReader(HWND window, int row)
{
    RECT client;
    GetClientRect(window, &client);
    return {window, GetDC(window), OpenSurface(client.right, 1), row, static_cast<int>(client.right)};
}

void ReadRow(RowReader& reader)
{
    BitBlt(reader.row.surface, 0, 0, reader.width, 1, reader.windowSurface, 0, reader.rowIndex, SRCCOPY);
    GdiFlush();
}

bool Shows(const RowReader& reader, int column, COLORREF colour)
{
    return PixelAt(reader.row, static_cast<size_t>(column)) == colour;
}

void CloseRowReader(RowReader& reader)
{
    CloseSurface(reader.row);
    ReleaseDC(reader.window, reader.windowSurface);
}

void SampleRows(FrameSampler* sampler)
{
    RowReader reader = OpenRowReader(sampler->window, sampler->row);
    while (!sampler->stop.load()) {
        ReadRow(reader);
        const bool whole = std::all_of(sampler->wholeFrameColumns.begin(), sampler->wholeFrameColumns.end(),
                                       [&](int column) { return Shows(reader, column, sampler->colour); });
        sampler->halfDrawn += whole ? 0 : 1;
        ++sampler->samples;
    }
    CloseRowReader(reader);
}

}  // namespace

std::vector<int> ColumnsShowingInEveryFrame(HWND window, int row, COLORREF colour, int frames,
                                            const std::function<void(int)>& showFrame)
{
    RowReader reader = OpenRowReader(window, row);
    std::vector<int> columns(static_cast<size_t>(reader.width));
    std::iota(columns.begin(), columns.end(), 0);
    for (int k = 0; k < frames; ++k) {
        showFrame(k);
        ReadRow(reader);
        columns.erase(std::remove_if(columns.begin(), columns.end(),
                                     [&](int column) { return !Shows(reader, column, colour); }),
                      columns.end());
    }
    CloseRowReader(reader);
    return columns;
}

void StartSampling(FrameSampler& sampler)
{
    sampler.stop = false;
    sampler.thread = std::thread(SampleRows, &sampler);
}

void StopSampling(FrameSampler& sampler)
{
    sampler.stop = true;
    sampler.thread.join();
}
