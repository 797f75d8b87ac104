// The settings scanner on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings s;
  scanSettings(std::string_view(reinterpret_cast<const char*>(data), size), s);
  // Keys the text lacks keep their built-in values; rdet is always one byte.
  volatile int32_t sink = s.mode ^ s.cdep ^ s.rdet ^ s.maxv ^ s.maxt ^ s.maxl;
  (void)sink;
  return 0;
}
