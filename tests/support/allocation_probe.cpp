// The test program's own operator new and delete (over malloc and free), counting requests
// while an AllocationProbe is alive. Counting is lock-free so any thread may allocate.
#include "tests/support/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int> g_probes{0};
std::atomic<size_t> g_largest{0};
std::atomic<size_t> g_total{0};

void Count(size_t size) {
  if (g_probes.load(std::memory_order_relaxed) == 0) return;
  g_total.fetch_add(size, std::memory_order_relaxed);
  size_t seen = g_largest.load(std::memory_order_relaxed);
  while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {}
}

void* Allocate(size_t size) {
  Count(size);
  return std::malloc(size ? size : 1);
}

}  // namespace

AllocationProbe::AllocationProbe() {
  g_largest = 0;
  g_total = 0;
  ++g_probes;
}
AllocationProbe::~AllocationProbe() { --g_probes; }
size_t AllocationProbe::largest() const { return g_largest; }
size_t AllocationProbe::total() const { return g_total; }

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
