// What every benchmark reports with: the median of its runs and the CPU time
// of the whole process.
#pragma once
#include <time.h>

#include <algorithm>
#include <vector>

namespace vk::bench {

// The middle value (the upper one of an even count); `v` must not be empty.
inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// CPU time of the process (every thread), milliseconds.
inline double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace vk::bench
