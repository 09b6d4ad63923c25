#include "app/memory_policy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// Only glibc's own allocator takes these settings (a sanitizer brings its own).
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define KQ_GLIBC_ALLOCATOR 1
#include <sys/resource.h>
#endif

namespace {

#if defined(KQ_GLIBC_ALLOCATOR)
long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Takes a block, writes every page of it, gives it back.
void UseBlock(std::size_t size) {
    char* p = static_cast<char*>(std::malloc(size));
    ASSERT_NE(p, nullptr);
    std::memset(p, 1, size);
    asm volatile("" : : "r"(p) : "memory");  // the writes must happen
    std::free(p);
}
#endif

}  // namespace

// A block of a few megabytes, given back and taken again, is the same memory: writing it the
// second time costs no page faults (by default it would be unmapped and mapped anew, a fault
// per page: a thousand here).
TEST(MemoryPolicy, AFreedBlockIsReusedWithoutPageFaults) {
#if !defined(KQ_GLIBC_ALLOCATOR)
    kq::KeepFreedMemory();  // must still be callable
    GTEST_SKIP() << "only glibc's own allocator takes these settings";
#else
    kq::KeepFreedMemory();
    constexpr std::size_t kSize = 4u << 20;
    UseBlock(kSize);
    const long before = PageFaults();
    UseBlock(kSize);
    UseBlock(kSize);
    EXPECT_LT(PageFaults() - before, 64);
#endif
}
