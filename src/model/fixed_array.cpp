#include "model/fixed_array.h"

#include <sys/mman.h>

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define KOVRIN_ZEROED_BY_CALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVRIN_ZEROED_BY_CALLOC 1
#endif
#endif

void* allocateZeroedBlock(size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  void* p = std::calloc(bytes, 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
#else
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return p;
#endif
}

void releaseZeroedBlock(void* block, size_t bytes) {
#ifdef KOVRIN_ZEROED_BY_CALLOC
  (void)bytes;
  std::free(block);
#else
  munmap(block, bytes);
#endif
}
