// Paradox tables, read by the reader in the fuzzing process.
#include "bench/fuzz/readerinput.h"

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  pv::fuzz::AddSeeds(pv::SourceKind::Paradox, add);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadInProcess(pv::SourceKind::Paradox, data, size);
  return 0;
}
