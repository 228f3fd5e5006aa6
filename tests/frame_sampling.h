#pragma once
// Frames caught half-drawn. A second thread reads one row of a window's client area as fast as it
// can while the window's own thread goes on painting, and counts the reads that lack any pixel
// that every whole frame shows in that row: what a screen that copies the window at any moment
// could show between two paints.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// The columns of a row that show colour in every one of the frames that showFrame(0) to
// showFrame(frames - 1) leave on the window, read from the calling thread.
std::vector<int> ColumnsShowingInEveryFrame(HWND window, int row, COLORREF colour, int frames,
                                            const std::function<void(int)>& showFrame);

struct FrameSampler {
    // Set before StartSampling.
    HWND window = nullptr;
    int row = 0;
    COLORREF colour = 0;
    std::vector<int> wholeFrameColumns;  // every whole frame shows colour there

    std::atomic<long long> samples{0};
    std::atomic<long long> halfDrawn{0};  // reads lacking colour in any of wholeFrameColumns
    std::atomic<bool> stop{false};
    std::thread thread;
};

// Starts the reading thread; the counts go on from where they stand.
void StartSampling(FrameSampler& sampler);

// Stops it and waits for it; the counts are final then.
void StopSampling(FrameSampler& sampler);
