// Timing shared by the benchmarks.
#pragma once

#include <windows.h>

// Milliseconds from the performance counter.
inline double nowMs()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The shortest of a few runs of work, in milliseconds: under Wine a single large run varies
// several-fold with the state of the heap.
template <typename Work>
double bestOf(Work work, int rounds = 3)
{
    double best = 1e30;
    for (int round = 0; round < rounds; ++round) {
        double started = nowMs();
        work();
        double spent = nowMs() - started;
        if (spent < best)
            best = spent;
    }
    return best;
}
