#include "bench/alloc_meter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace pphatch::bench {

namespace {

// The benchmarks run on one thread, so plain counters do: they keep the
// cost of counting (which the timed clicks pay) to a few instructions.
std::size_t inUse = 0;
std::size_t peak = 0;

// Records an allocation of p (null when it failed).
void* Track(void* p) {
  if (!p) throw std::bad_alloc();
  inUse += malloc_usable_size(p);
  if (inUse > peak) peak = inUse;
  return p;
}

// Records and performs a release.
void Release(void* p) noexcept {
  if (!p) return;
  inUse -= malloc_usable_size(p);
  std::free(p);
}

// Memory aligned to `align`, at least one byte.
void* Aligned(std::size_t size, std::align_val_t align) {
  const std::size_t a = static_cast<std::size_t>(align);
  const std::size_t rounded = (size + a - 1) / a * a;
  return std::aligned_alloc(a, rounded == 0 ? a : rounded);
}

}  // namespace

PeakHeap::PeakHeap() : base_(inUse) { peak = base_; }

std::size_t PeakHeap::Peak() const { return peak > base_ ? peak - base_ : 0; }

}  // namespace pphatch::bench

// The replaced global allocation functions. Every form ends in Track and
// Release above, so sized and aligned deletes need no bookkeeping of their own.
void* operator new(std::size_t size) { return pphatch::bench::Track(std::malloc(size ? size : 1)); }
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t align) {
  return pphatch::bench::Track(pphatch::bench::Aligned(size, align));
}
void* operator new[](std::size_t size, std::align_val_t align) { return operator new(size, align); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept { pphatch::bench::Release(p); }
void operator delete[](void* p) noexcept { pphatch::bench::Release(p); }
void operator delete(void* p, std::size_t) noexcept { pphatch::bench::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { pphatch::bench::Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { pphatch::bench::Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { pphatch::bench::Release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  pphatch::bench::Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  pphatch::bench::Release(p);
}
