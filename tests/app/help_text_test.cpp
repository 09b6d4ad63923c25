// The guide's function list comes from the language's own table.
#include <gtest/gtest.h>

#include "engine/function_codes.h"
#include "info/help_text.h"

namespace kq {
namespace {

TEST(HelpText, EveryFunctionAndAliasIsListed) {
    const std::string table = FunctionTableHtml();
    int rows = 0;
    for (std::size_t at = table.find("<tr><td>"); at != std::string::npos; at = table.find("<tr><td>", at + 1)) ++rows;
    EXPECT_EQ(rows, static_cast<int>(LanguageFunctions().size()));
    for (const FunctionInfo& f : LanguageFunctions())
        for (std::string_view name : f.names)
            if (!name.empty()) {
                EXPECT_NE(table.find("<code>" + std::string(name) + "</code>"), std::string::npos) << name;
                EXPECT_EQ(FunctionByName(name), f.numbered ? FunctionCode::None : f.code) << name;
            }
    EXPECT_NE(table.find("<code>rt</code>N"), std::string::npos);
    EXPECT_NE(table.find("арккотангенс"), std::string::npos);
}

TEST(HelpText, ThePlaceholderIsFilledOnce) {
    const std::string guide = CompleteGuide("<h2>Функции</h2>\n<!--functions-->\n<p>конец</p>");
    EXPECT_EQ(guide.find("<!--functions-->"), std::string::npos);
    EXPECT_NE(guide.find("<code>arcctg</code>"), std::string::npos);
    EXPECT_TRUE(guide.ends_with("<p>конец</p>"));
    EXPECT_EQ(CompleteGuide("no list here"), "no list here");
}

}  // namespace
}  // namespace kq
