#include "app/memory_policy.h"

// Any C library header first: it is what defines __GLIBC__, which the test below needs.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kq {

void KeepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

}  // namespace kq
