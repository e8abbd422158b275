// The median wall time of `runs` runs of `work`, in milliseconds, each after `setUp` (not
// timed).
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MedianOfRunsMs(const std::function<void()>& setUp, const std::function<void()>& work,
                             int runs) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    setUp();
    auto start = std::chrono::steady_clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}
