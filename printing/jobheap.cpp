#include "printing/jobheap.h"

#include "platform/freedmemory.h"

#include <cstdlib>  // defines __GLIBC__ with the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pv {
namespace {

#if defined(__GLIBC__)
constexpr int kDefaultThreshold = 128 * 1024;  // the C library's own start value
constexpr int kJobMmapThreshold = 32 * 1024 * 1024;
constexpr int kJobTrimThreshold = 64 * 1024 * 1024;
#endif

}  // namespace

JobHeap::JobHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, kJobMmapThreshold);
  mallopt(M_TRIM_THRESHOLD, kJobTrimThreshold);
#endif
}

JobHeap::~JobHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
  mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
#endif
  GiveBackFreedMemory();
}

}  // namespace pv
