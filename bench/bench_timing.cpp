#include "bench_timing.h"

#include <windows.h>

#include <algorithm>

double SecondsNow()
{
    static const double tick = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * tick;
}

static const int WarmUpCalls = 5;
static const double BatchSeconds = 0.001;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::vector<double> InterleavedMedians(const std::vector<std::function<void()>>& works, int samples)
{
    std::vector<int> repeats;
    for (const auto& work : works) {
        double fastest = 1e9;
        for (int call = 0; call < WarmUpCalls; ++call) {
            const double start = SecondsNow();
            work();
            fastest = std::min(fastest, SecondsNow() - start);
        }
        repeats.push_back(std::max(1, static_cast<int>(BatchSeconds / std::max(fastest, 1e-9))));
    }

    std::vector<std::vector<double>> perCall(works.size());
    for (int sample = 0; sample < samples; ++sample) {
        for (size_t k = 0; k < works.size(); ++k) {
            // Every other round runs the works in reverse, so none always follows the same one.
            const size_t i = sample % 2 ? works.size() - 1 - k : k;
            const double start = SecondsNow();
            for (int call = 0; call < repeats[i]; ++call) {
                works[i]();
            }
            perCall[i].push_back((SecondsNow() - start) / repeats[i]);
        }
    }
    std::vector<double> medians;
    for (const auto& times : perCall) {
        medians.push_back(Median(times));
    }
    return medians;
}
