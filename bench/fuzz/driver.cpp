// A small mutation fuzzer for the sanitizer build: it runs a target's
// LLVMFuzzerTestOneInput on mutated copies of the target's seeds until the
// time is up. GCC has no libFuzzer, and the readers' libraries are not built
// with coverage anyway, so the mutations are blind but biased towards the
// first bytes of an input, where file headers live.
//
//   fuzz_NAME --seconds N [--out DIR] [--timeout S] [--seed K]
//   fuzz_NAME FILE...        runs each file once (to replay a finding)
//
// A sanitizer report, an abort or an input that runs past --timeout leaves
// the input in DIR (crash-N or timeout-N) and ends the run with a non-zero
// status; otherwise the last line says "N runs in S s (R a second), 0
// faults".
#include <sanitizer/common_interface_defs.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                                                unsigned seed);
// The target's own seeds: it calls add once for each.
extern "C" __attribute__((weak)) void PlavikFuzzSeeds(void (*add)(const uint8_t* data, size_t size));

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> g_seeds;
// The input being run, and where it goes if the run dies: kept ready so the
// signal handlers only write.
const Bytes* g_current = nullptr;
char g_crashPath[4096];
char g_timeoutPath[4096];

void AddSeed(const uint8_t* data, size_t size) { g_seeds.emplace_back(data, data + size); }

void SaveCurrent(const char* path) {
  if (!g_current) return;
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  size_t done = 0;
  while (done < g_current->size()) {
    const ssize_t n = write(fd, g_current->data() + done, g_current->size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
  const char note[] = "fuzz: input saved in ";
  (void)!write(2, note, sizeof note - 1);
  (void)!write(2, path, strlen(path));
  (void)!write(2, "\n", 1);
}

void OnDeath() { SaveCurrent(g_crashPath); }

void OnAbort(int) {
  SaveCurrent(g_crashPath);
  signal(SIGABRT, SIG_DFL);
  raise(SIGABRT);
}

void OnAlarm(int) {
  SaveCurrent(g_timeoutPath);
  const char note[] = "fuzz: an input ran past the time limit\n";
  (void)!write(2, note, sizeof note - 1);
  _exit(3);
}

uint64_t Below(std::mt19937_64& rng, uint64_t n) { return n == 0 ? 0 : rng() % n; }

// An offset, one time in two among the first 512 bytes.
size_t Offset(std::mt19937_64& rng, size_t size) {
  if (size == 0) return 0;
  if (rng() & 1) return Below(rng, std::min<size_t>(size, 512));
  return Below(rng, size);
}

void Mutate(Bytes& b, std::mt19937_64& rng, size_t maxSize) {
  static const uint32_t kInteresting[] = {0,      1,      0x7f,    0x80,       0xff,       0x100,      0x7fff,
                                          0x8000, 0xffff, 0x10000, 0x7fffffff, 0x80000000, 0xffffffff, 8,
                                          16,     255,    256,     1024,       4096,       65535,      65536};
  switch (Below(rng, 9)) {
    case 0:  // flip a bit
      if (!b.empty()) b[Offset(rng, b.size())] ^= static_cast<uint8_t>(1u << Below(rng, 8));
      break;
    case 1:  // a random byte
      if (!b.empty()) b[Offset(rng, b.size())] = static_cast<uint8_t>(rng());
      break;
    case 2: {  // an interesting value, 1, 2 or 4 bytes, either byte order
      if (b.empty()) break;
      const uint32_t v = kInteresting[Below(rng, std::size(kInteresting))];
      const size_t width = size_t{1} << Below(rng, 3);
      const size_t at = Offset(rng, b.size());
      const bool big = rng() & 1;
      for (size_t i = 0; i < width && at + i < b.size(); ++i) {
        const size_t shift = 8 * (big ? width - 1 - i : i);
        b[at + i] = static_cast<uint8_t>(shift < 32 ? v >> shift : 0);
      }
      break;
    }
    case 3: {  // remove a run
      if (b.size() < 2) break;
      const size_t at = Offset(rng, b.size());
      const size_t n = 1 + Below(rng, std::min<size_t>(b.size() - at, 64));
      b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
      break;
    }
    case 4: {  // repeat a run
      if (b.empty() || b.size() >= maxSize) break;
      const size_t at = Offset(rng, b.size());
      const size_t n = std::min<size_t>(1 + Below(rng, std::min<size_t>(b.size() - at, 256)), maxSize - b.size());
      const Bytes run(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
      b.insert(b.begin() + static_cast<std::ptrdiff_t>(Offset(rng, b.size())), run.begin(), run.end());
      break;
    }
    case 5: {  // insert random bytes
      const size_t n = std::min<size_t>(1 + Below(rng, 16), maxSize > b.size() ? maxSize - b.size() : 0);
      const size_t at = Offset(rng, b.size() + 1);
      for (size_t i = 0; i < n; ++i) b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng()));
      break;
    }
    case 6:  // cut the end off
      if (!b.empty()) b.resize(Below(rng, b.size()));
      break;
    case 7: {  // a piece of another seed over this one
      const Bytes& other = g_seeds[Below(rng, g_seeds.size())];
      if (other.empty() || b.empty()) break;
      const size_t from = Offset(rng, other.size());
      const size_t to = Offset(rng, b.size());
      const size_t n = std::min({other.size() - from, b.size() - to, size_t{1} + Below(rng, 128)});
      std::memcpy(b.data() + to, other.data() + from, n);
      break;
    }
    default:  // add or take a small amount to a byte
      if (!b.empty()) b[Offset(rng, b.size())] += static_cast<uint8_t>(Below(rng, 35)) - 17;
      break;
  }
}

Bytes ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  double seconds = 0;
  unsigned timeout = 20;
  uint64_t seed = std::random_device{}();
  std::string out = ".";
  std::vector<const char*> files;
  const size_t maxSize = 1 << 20;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else if (a == "--timeout" && i + 1 < argc)
      timeout = static_cast<unsigned>(std::atoi(argv[++i]));
    else if (a == "--seed" && i + 1 < argc)
      seed = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--out" && i + 1 < argc)
      out = argv[++i];
    else
      files.push_back(argv[i]);
  }
  const long pid = static_cast<long>(getpid());
  std::snprintf(g_crashPath, sizeof g_crashPath, "%s/crash-%ld", out.c_str(), pid);
  std::snprintf(g_timeoutPath, sizeof g_timeoutPath, "%s/timeout-%ld", out.c_str(), pid);
  __sanitizer_set_death_callback(OnDeath);
  signal(SIGABRT, OnAbort);
  signal(SIGALRM, OnAlarm);

  if (!files.empty()) {
    for (const char* f : files) {
      const Bytes b = ReadFile(f);
      g_current = &b;
      alarm(timeout);
      LLVMFuzzerTestOneInput(b.data(), b.size());
      alarm(0);
      std::printf("%s: ran\n", f);
    }
    return 0;
  }

  if (PlavikFuzzSeeds) PlavikFuzzSeeds(AddSeed);
  if (g_seeds.empty()) g_seeds.emplace_back();
  std::printf("fuzz: %zu seeds, random seed %llu, %.0f s\n", g_seeds.size(), static_cast<unsigned long long>(seed),
              seconds);
  std::fflush(stdout);
  std::mt19937_64 rng(seed);
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration<double>(seconds);
  auto nextReport = start + std::chrono::seconds(60);
  uint64_t runs = 0;
  Bytes input;
  input.reserve(maxSize);
  while (Clock::now() < end) {
    input = g_seeds[Below(rng, g_seeds.size())];
    // Now and then a seed as it is; otherwise 1 to 16 mutations on top.
    if (Below(rng, 64) != 0) {
      const uint64_t count = uint64_t{1} << Below(rng, 5);
      for (uint64_t m = 0; m < count; ++m) {
        if (LLVMFuzzerCustomMutator && (rng() & 1)) {
          const size_t size = input.size();
          input.resize(maxSize);
          input.resize(
              std::min(maxSize, LLVMFuzzerCustomMutator(input.data(), size, maxSize, static_cast<unsigned>(rng()))));
        } else {
          Mutate(input, rng, maxSize);
        }
      }
    }
    g_current = &input;
    alarm(timeout);
    LLVMFuzzerTestOneInput(input.data(), input.size());
    alarm(0);
    ++runs;
    if (Clock::now() >= nextReport) {
      const double s = std::chrono::duration<double>(Clock::now() - start).count();
      std::printf("fuzz: %llu runs in %.0f s\n", static_cast<unsigned long long>(runs), s);
      std::fflush(stdout);
      nextReport += std::chrono::seconds(60);
    }
  }
  g_current = nullptr;
  const double s = std::max(std::chrono::duration<double>(Clock::now() - start).count(), 1e-3);
  std::printf("%llu runs in %.0f s (%.0f a second), 0 faults\n", static_cast<unsigned long long>(runs), s,
              static_cast<double>(runs) / s);
  return 0;
}
