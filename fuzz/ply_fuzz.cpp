// libFuzzer entry: the PLY reader on arbitrary bytes (checks in fuzz_checks.cpp).
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzzOne(FuzzTarget::Ply, data, size);
}
