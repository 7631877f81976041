// Replaces the global operator new of the benchmark program (and with it of
// the replacement host it loads) by one that counts.
#include "bench/allocation_count.hpp"

#include <cstdlib>
#include <new>

namespace {
uint64_t allocations = 0;

void* Allocate(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

namespace bench {
uint64_t AllocationCount() { return allocations; }
}  // namespace bench

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
