// The guide's lists come from the language's own tables.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/function_codes.h"
#include "engine/language_tables.h"
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

// The other tables of the language, each row with what the engine makes of its examples.
TEST(HelpText, SuffixesMacrosAndNamesAreListed) {
    const std::string suffixes = SuffixTableHtml();
    for (const NumberSuffix& s : NumberSuffixes())
        EXPECT_NE(suffixes.find("<td><code>" + std::string(1, s.letter) + "</code>"), std::string::npos) << s.letter;
    EXPECT_NE(suffixes.find("<code>21s3</code> = 7"), std::string::npos);
    EXPECT_NE(suffixes.find("<code>0.1b</code> = 0.5"), std::string::npos);
    EXPECT_NE(suffixes.find("<code>s</code>N"), std::string::npos);
    const std::string macros = MacroTableHtml();
    for (const MacroInfo& m : LanguageMacros())
        EXPECT_NE(macros.find("<code>" + std::string(m.name) + "&lt;b&gt;(a)</code>"), std::string::npos) << m.name;
    EXPECT_NE(macros.find("<code>|a|</code>"), std::string::npos);
    const std::string names = NameTableHtml();
    for (const LanguageName& n : LanguageNames())
        EXPECT_NE(names.find("<code>" + std::string(n.name) + "</code>"), std::string::npos) << n.name;
}

// The guide the program shows has every list filled in.
TEST(HelpText, TheGuideHasNoListLeftOut) {
    std::ifstream file(std::string(KQ_SOURCE_DIR) + "/docs/QuantoriaHelp.html");
    ASSERT_TRUE(file);
    const std::string guide{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    for (const char* placeholder : {"<!--functions-->", "<!--suffixes-->", "<!--macros-->", "<!--names-->"})
        EXPECT_NE(guide.find(placeholder), std::string::npos) << placeholder;
    const std::string complete = CompleteGuide(guide);
    EXPECT_EQ(complete.find("<!--"), std::string::npos);
    EXPECT_NE(complete.find("<code>FFh</code> = 255"), std::string::npos);
    EXPECT_NE(complete.find("<code>rtt&lt;b&gt;(a)</code>"), std::string::npos);
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
