#include "bench/heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace bench {
namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

void* Counted(void* block) {
  if (block == nullptr) throw std::bad_alloc();
  const std::size_t now = live.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
  std::size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  live.fetch_sub(malloc_usable_size(block));
  std::free(block);
}

}  // namespace

std::size_t LiveHeapBytes() { return live.load(); }
std::size_t PeakHeapBytes() { return peak.load(); }
void ResetPeakHeap() { peak.store(live.load()); }

}  // namespace bench

void* operator new(std::size_t size) { return bench::Counted(std::malloc(size == 0 ? 1 : size)); }
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t align) {
  const auto alignment = static_cast<std::size_t>(align);
  const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
  return bench::Counted(std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded));
}
void* operator new[](std::size_t size, std::align_val_t align) { return operator new(size, align); }
void operator delete(void* block) noexcept { bench::Release(block); }
void operator delete[](void* block) noexcept { bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { bench::Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { bench::Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { bench::Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { bench::Release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { bench::Release(block); }
