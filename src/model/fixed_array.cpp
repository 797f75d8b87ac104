#include "model/fixed_array.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KOVRIN_ZEROED_BY_CALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVRIN_ZEROED_BY_CALLOC 1
#endif
#endif

#ifndef KOVRIN_ZEROED_BY_CALLOC
namespace {
constexpr size_t kPage = 4096, kCacheLine = 64;
}  // namespace
#endif

void* allocateZeroedBlock(size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  void* p = std::calloc(bytes, 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
#else
  // Arrays that start on a page boundary each map the same row index to the same cache set;
  // read side by side (a triangle's corners, normal and flags) they then evict one another.
  // Each block starts a different number of cache lines into its first page instead.
  static std::atomic<unsigned> blocks{0};
  const size_t skew = kCacheLine * (blocks.fetch_add(7, std::memory_order_relaxed) % 64);
  void* p =
      mmap(nullptr, bytes + kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return static_cast<char*>(p) + skew;
#endif
}

void releaseZeroedBlock(void* block, size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  (void)bytes;
  std::free(block);
#else
  const uintptr_t start = reinterpret_cast<uintptr_t>(block) & ~static_cast<uintptr_t>(kPage - 1);
  munmap(reinterpret_cast<void*>(start), bytes + kPage);
#endif
}
