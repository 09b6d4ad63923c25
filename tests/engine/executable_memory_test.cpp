// Generated code's memory: executable and never writable at the same address, pooled pages
// reused and released, and a Program that holds code cannot be moved away from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/executable_memory.h"
#include "engine/program.h"
#include "process_maps.h"

namespace kq::test {
namespace {

static_assert(!std::is_move_constructible_v<Program> && !std::is_move_assignable_v<Program>);
static_assert(!std::is_copy_constructible_v<ExecutableMemory>);

#if defined(__x86_64__) && (defined(__linux__) || defined(_WIN32))
int CallCode(const ExecutableMemory& m) { return reinterpret_cast<int (*)()>(const_cast<void*>(m.Address()))(); }

TEST(ExecutableMemory, RunsWithoutEverBeingWritableThere) {
    const std::uint8_t answer[] = {0xB8, 0x2A, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 42; ret
    ExecutableMemory memory;
    ASSERT_TRUE(memory.Load(answer));
    const auto protection = ProtectionAt(memory.Address());
    ASSERT_TRUE(protection.has_value());
    EXPECT_NE(protection->find('x'), std::string::npos);
    EXPECT_EQ(protection->find('w'), std::string::npos);
    EXPECT_EQ(WritableAndExecutableCount(), 0) << "no address is writable and executable at once";
    EXPECT_EQ(CallCode(memory), 42);
    const std::uint8_t other[] = {0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 7; ret
    ASSERT_TRUE(memory.Load(other));  // the first block goes back and the same place serves again
    EXPECT_EQ(CallCode(memory), 7);
    ExecutableMemory empty;
    EXPECT_FALSE(empty.Load({}));
    EXPECT_TRUE(empty.Empty());
}

#endif

#if defined(__x86_64__) && defined(__linux__)
// Blocks come from pages mapped once: freed blocks serve again, and pages beyond the one
// run the pool keeps are unmapped once their code is gone.
TEST(ExecutableMemory, PooledPagesAreReusedAndReleased) {
    const std::vector<std::uint8_t> code(1000, 0xC3);
    ExecutableMemory probe;
    ASSERT_TRUE(probe.Load(code));
    const void* first = probe.Address();
    probe.Release();
    ASSERT_TRUE(probe.Load(code));
    EXPECT_EQ(probe.Address(), first);  // the block freed a moment ago
    const std::size_t kept = ExecutableMemory::PooledBytes();
    const std::uintptr_t executable = ExecutableBytes();
    {
        std::vector<ExecutableMemory> many(600);
        for (auto& m : many) ASSERT_TRUE(m.Load(code));
        EXPECT_GT(ExecutableMemory::PooledBytes(), kept);
        ExecutableMemory huge;
        ASSERT_TRUE(huge.Load(std::vector<std::uint8_t>(3 << 20, 0xC3)));
        EXPECT_GE(ExecutableMemory::PooledBytes(), kept + (3u << 20));
    }
    EXPECT_EQ(ExecutableMemory::PooledBytes(), kept);
    EXPECT_EQ(ExecutableBytes(), executable);
}
#endif

#if defined(__x86_64__) && defined(_WIN32)
// Each block has pages of its own, executable and read-only, and gives them back when it goes.
TEST(ExecutableMemory, OwnPagesGoBackToTheSystem) {
    const std::vector<std::uint8_t> code(1000, 0xC3);
    const std::uintptr_t executable = ExecutableBytes();
    {
        std::vector<ExecutableMemory> many(600);
        for (auto& m : many) {
            ASSERT_TRUE(m.Load(code));
            ASSERT_EQ(ProtectionAt(m.Address()), "r-xp");
        }
        EXPECT_GE(ExecutableBytes(), executable + 600 * code.size());
        std::vector<std::uint8_t> large(3 << 20, 0xC3);
        const std::uint8_t answer[] = {0xB8, 0x2A, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 42; ret
        std::copy(std::begin(answer), std::end(answer), large.begin());
        ExecutableMemory huge;
        ASSERT_TRUE(huge.Load(large));
        EXPECT_EQ(CallCode(huge), 42);
    }
    EXPECT_EQ(ExecutableBytes(), executable);
    EXPECT_EQ(ExecutableMemory::PooledBytes(), 0u);
}
#endif

}  // namespace
}  // namespace kq::test
