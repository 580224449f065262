// Every kind of file source through the reader program, as the program reads
// it: an input's first byte picks the kind, the rest is the file.
#include "bench/fuzz/readerinput.h"

#include <iterator>
#include <vector>

namespace {

// The seeds of the kind being added, behind its byte.
uint8_t g_kind = 0;
void (*g_add)(const uint8_t*, size_t) = nullptr;

void AddBehindKind(const uint8_t* data, size_t size) {
  std::vector<uint8_t> seed{g_kind};
  seed.insert(seed.end(), data, data + size);
  g_add(seed.data(), seed.size());
}

}  // namespace

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  g_add = add;
  for (g_kind = 0; g_kind < std::size(pv::fuzz::kFileKinds); ++g_kind)
    pv::fuzz::AddSeeds(pv::fuzz::kFileKinds[g_kind], AddBehindKind);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  pv::fuzz::ReadThroughProgram(pv::fuzz::kFileKinds[data[0] % std::size(pv::fuzz::kFileKinds)], data + 1, size - 1);
  return 0;
}
