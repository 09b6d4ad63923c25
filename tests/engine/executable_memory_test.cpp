// Generated code's memory: executable and never writable while it holds code, gone with its
// owner, and a Program that holds code cannot be moved away from it.
#include <gtest/gtest.h>

#include <type_traits>

#include "engine/executable_memory.h"
#include "engine/program.h"
#include "process_maps.h"

namespace kq::test {
namespace {

static_assert(!std::is_move_constructible_v<Program> && !std::is_move_assignable_v<Program>);
static_assert(!std::is_copy_constructible_v<ExecutableMemory>);

#if defined(__x86_64__) && defined(__linux__)
TEST(ExecutableMemory, RunsReadOnlyAndIsUnmappedWithItsOwner) {
    const std::uint8_t answer[] = {0xB8, 0x2A, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 42; ret
    const void* address = nullptr;
    {
        ExecutableMemory memory;
        ASSERT_TRUE(memory.Load(answer));
        address = memory.Address();
        EXPECT_EQ(ProtectionAt(address), "r-xp");
        EXPECT_EQ(reinterpret_cast<int (*)()>(const_cast<void*>(address))(), 42);
        ASSERT_TRUE(memory.Load(answer));  // loading again gives up the first block
        EXPECT_EQ(reinterpret_cast<int (*)()>(const_cast<void*>(memory.Address()))(), 42);
        address = memory.Address();
    }
    const auto after = ProtectionAt(address);
    EXPECT_TRUE(!after || after->find('x') == std::string::npos) << *after;
    ExecutableMemory empty;
    EXPECT_FALSE(empty.Load({}));
    EXPECT_TRUE(empty.Empty());
}
#endif

}  // namespace
}  // namespace kq::test
