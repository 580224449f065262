// Access files, read by the reader in the fuzzing process.
#include "bench/fuzz/readerinput.h"

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  pv::fuzz::AddSeeds(pv::SourceKind::Access, add);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadInProcess(pv::SourceKind::Access, data, size);
  return 0;
}
