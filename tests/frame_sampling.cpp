#include "frame_sampling.h"

#include <algorithm>
#include <iterator>

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
    return column >= 0 && column < reader.width && PixelAt(reader.row, static_cast<size_t>(column)) == colour;
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

std::vector<int> ColumnsShowing(HWND window, int row, COLORREF colour)
{
    RowReader reader = OpenRowReader(window, row);
    ReadRow(reader);
    std::vector<int> columns;
    for (int column = 0; column < reader.width; ++column) {
        if (Shows(reader, column, colour)) {
            columns.push_back(column);
        }
    }
    CloseRowReader(reader);
    return columns;
}

void KeepColumnsShowing(std::vector<int>& columns, HWND window, int row, COLORREF colour)
{
    const std::vector<int> now = ColumnsShowing(window, row, colour);
    std::vector<int> kept;
    std::set_intersection(columns.begin(), columns.end(), now.begin(), now.end(), std::back_inserter(kept));
    columns = kept;
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
