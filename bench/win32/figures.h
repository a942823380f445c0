#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
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

// The timers' command line: --runs N --floor FLOOR --program PROGRAM, and --reset COMMAND where
// a timer takes one; a text not given stays empty.
struct Options {
  int runs = 10;
  std::string floor;
  std::string program;
  std::string reset;
};

inline Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") {
      options.runs = std::atoi(argv[i + 1]);
    } else if (option == "--floor") {
      options.floor = argv[i + 1];
    } else if (option == "--program") {
      options.program = argv[i + 1];
    } else if (option == "--reset") {
      options.reset = argv[i + 1];
    }
  }
  return options;
}

// One start of each, not counted (it fills the caches of Wine's libraries), then `runs` turns
// in both orders, so neither program always follows the other. `timeStart(subject, counted)`
// is false where a start failed, which ends the benchmark.
template <typename Subject, typename TimeStart>
bool TakeTurns(int runs, Subject& floor, Subject& program, TimeStart timeStart) {
  if (!timeStart(floor, false) || !timeStart(program, false)) return false;
  for (int run = 0; run < runs; ++run) {
    Subject& first = run % 2 == 0 ? floor : program;
    Subject& second = run % 2 == 0 ? program : floor;
    if (!timeStart(first, true) || !timeStart(second, true)) return false;
  }
  return true;
}

}  // namespace bench
