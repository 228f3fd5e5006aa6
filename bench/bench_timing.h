#pragma once
// Wall-clock timing for the benchmark: the performance counter, and medians of repeated batches.
#include <functional>
#include <vector>

// Seconds since an arbitrary start, from QueryPerformanceCounter.
double SecondsNow();

// The middle value, or the mean of the two middle values; values must not be empty.
double Median(std::vector<double> values);

// Times each piece of work as the median of `samples` batches and returns the seconds one call
// takes, in the order given. The pieces run one after the other within every round, in reverse
// order every other round, so a slow spell of the machine falls on all of them alike and none
// always runs after the same one; each runs a few times first to warm the caches. A batch repeats its work until it lasts about a millisecond, which keeps short calls
// well above the counter's resolution.
std::vector<double> InterleavedMedians(const std::vector<std::function<void()>>& works, int samples);
