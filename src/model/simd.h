// Which inner loops the build uses: the SSE2 ones where the compiler targets SSE2 (every x86-64)
// unless KOVRIN_PLAIN_CPU asks for the plain C++ ones, which compute the same bits one value
// at a time and build on any processor.
#pragma once

#if defined(__SSE2__) && !defined(KOVRIN_PLAIN_CPU)
#define KOVRIN_SSE2 1
#include <emmintrin.h>
#else
#define KOVRIN_SSE2 0
#endif

// Asks for the cache line holding `p` ahead of its use (a hint; no effect on results).
inline void prefetchLine(const void* p) {
  __builtin_prefetch(p, 0, 3);
}
