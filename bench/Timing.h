#pragma once
// Wall-clock samples in milliseconds and the figures the bench reports from them.

#include <windows.h>

#include <algorithm>
#include <vector>

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Ms() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * double(now.QuadPart - start_.QuadPart) / double(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// The sample below which `fraction` of the samples lie (nearest rank); 0.5 is the median.
inline double Percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t rank = std::size_t(fraction * double(samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

inline double Median(const std::vector<double>& samples)
{
    return Percentile(samples, 0.5);
}
