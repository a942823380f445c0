#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Timing and summing up of the Wine benchmarks: a clock of the performance counter and the
// median of repeated runs, which a single slow run (a page-cache miss, Wine starting a
// service) does not move.
namespace bench {

// Milliseconds since construction, from the performance counter.
class Stopwatch {
 public:
  Stopwatch() { ::QueryPerformanceCounter(&start_); }

  double ElapsedMs() const {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_{};
};

struct Summary {
  double median = 0;
  double minimum = 0;
  double maximum = 0;
};

// Of at least one sample.
inline Summary Summarise(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  Summary summary;
  summary.median = samples.size() % 2 == 1 ? samples[middle]
                                           : (samples[middle - 1] + samples[middle]) / 2;
  summary.minimum = samples.front();
  summary.maximum = samples.back();
  return summary;
}

// "median 12.3 ms (min 11.0, max 15.2)"
inline void PrintSummary(const Summary& summary) {
  std::printf("median %.1f ms (min %.1f, max %.1f)", summary.median, summary.minimum,
              summary.maximum);
}

}  // namespace bench
