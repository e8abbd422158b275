// Watches the program's operator new while a probe is alive, so a test can tell how much a
// reader asked for: the largest single request and the sum of all requests.
#pragma once

#include <cstddef>

class AllocationProbe {
 public:
  AllocationProbe();
  ~AllocationProbe();
  AllocationProbe(const AllocationProbe&) = delete;
  AllocationProbe& operator=(const AllocationProbe&) = delete;

  size_t largest() const;
  size_t total() const;
};
