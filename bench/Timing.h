#pragma once
// Wall-clock samples in milliseconds and the figures the bench reports from them.

#include <windows.h>

#include <algorithm>
#include <cmath>
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

// A median with a confidence interval of at least 95 % that assumes nothing about how the
// samples spread: the order statistics whose ranks bracket the median with that binomial
// probability (normal approximation; from ten samples down it is the whole range).
struct Estimate {
    double median = 0, low = 0, high = 0;
    double HalfWidth() const
    {
        return median > 0 ? std::max(high / median - 1, 1 - low / median) : 1;
    }
};

inline Estimate MedianInterval(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double rank = std::floor(n / 2.0 - 0.98 * std::sqrt(double(n)));  // 1-based
    const std::size_t low = rank > 1 ? std::size_t(rank) - 1 : 0;
    return {Percentile(samples, 0.5), samples[low], samples[n - 1 - low]};
}
