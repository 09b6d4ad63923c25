// The file layer's one answer: a value, or a reason in Russian and never an empty one.
#include <gtest/gtest.h>

#include <vector>

#include "docs/file_result.h"

namespace kq {
namespace {

TEST(FileResult, AValueOrAReason) {
    const FileResult<std::vector<int>> read = std::vector<int>{1, 2};
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 2u);
    EXPECT_EQ(read.Reason(), "");
    const auto failed = FileResult<std::vector<int>>::Failure("нет такого файла");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.Reason(), "нет такого файла");
    EXPECT_EQ(failed.value_or({7}), std::vector<int>{7});
    const FileResult<> written = Written{};
    EXPECT_TRUE(written);
}

TEST(FileResult, AFailureAlwaysSaysSomething) {
    const auto failed = FileResult<>::Failure("");
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.Reason().empty());
}

}  // namespace
}  // namespace kq
