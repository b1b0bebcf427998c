#include "allocation_peak.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

std::size_t inUse = 0;
std::size_t peak = 0;
std::size_t base = 0;

void* allocate(std::size_t size) noexcept {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory) {
    inUse += malloc_usable_size(memory);
    if (inUse > peak) peak = inUse;
  }
  return memory;
}

void release(void* memory) noexcept {
  if (!memory) return;
  inUse -= malloc_usable_size(memory);
  std::free(memory);
}

void* allocateOrThrow(std::size_t size) {
  void* memory = allocate(size);
  if (!memory) throw std::bad_alloc();
  return memory;
}

}  // namespace

void resetAllocationPeak() { base = peak = inUse; }

std::size_t allocationPeakSinceReset() { return peak - base; }

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { release(memory); }
void operator delete[](void* memory) noexcept { release(memory); }
void operator delete(void* memory, std::size_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { release(memory); }
