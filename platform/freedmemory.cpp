#include "platform/freedmemory.h"

#include <cstdlib>  // defines __GLIBC__ with the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pv {

void GiveBackFreedMemory() {
#if defined(__GLIBC__)
  // Every arena's free pages, not only the top of the main heap.
  malloc_trim(0);
#endif
}

}  // namespace pv
