#include "model/fixed_array.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
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

#ifndef KOVRIN_ZEROED_BY_CALLOC
namespace {

// The whole pages inside bytes [0, bytes) of a block.
struct PageSpan {
  uintptr_t begin, end;
};
PageSpan wholePages(void* block, size_t bytes) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(block);
  return {(at + kPage - 1) & ~(kPage - 1), (at + bytes) & ~(kPage - 1)};
}

}  // namespace
#endif

bool renewZeroedBlock(void* block, size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  (void)block;
  (void)bytes;
  return false;
#else
  const PageSpan pages = wholePages(block, bytes);
  if (pages.end <= pages.begin) return false;
  void* from = reinterpret_cast<void*>(pages.begin);
  const size_t length = pages.end - pages.begin;
  if (::madvise(from, length, MADV_DONTNEED) != 0) return false;
  std::memset(block, 0, pages.begin - reinterpret_cast<uintptr_t>(block));
  std::memset(reinterpret_cast<void*>(pages.end), 0,
              reinterpret_cast<uintptr_t>(block) + bytes - pages.end);
  ::madvise(from, length, MADV_HUGEPAGE);
  ::madvise(from, length, MADV_POPULATE_WRITE);
  return true;
#endif
}

void prepareZeroedBlock(void* block, size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  (void)block;
  (void)bytes;
#else
  if (bytes < (size_t{1} << 20)) return;  // a few faults cost less than the requests
  const uintptr_t start = reinterpret_cast<uintptr_t>(block) & ~static_cast<uintptr_t>(kPage - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(block) + bytes;
  void* from = reinterpret_cast<void*>(start);
  const size_t length = end - start;
  ::madvise(from, length, MADV_HUGEPAGE);
  ::madvise(from, length, MADV_POPULATE_WRITE);
#endif
}
