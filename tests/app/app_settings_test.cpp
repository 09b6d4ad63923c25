// Settings: what is read in which order, where reading stops, what is written.
#include <gtest/gtest.h>

#include "app/app_settings.h"

namespace kq {
namespace {

MemorySettingsStore Complete() {
    MemorySettingsStore store;
    SaveSettings(store, AppSettings{});
    store.writes.clear();
    return store;
}

TEST(AppSettings, FirstRunWritesTheDefaults) {
    MemorySettingsStore store;
    AppSettings s;
    LoadOrCreateSettings(store, s);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"Window/Page", "Window/Left", "Window/Top", "Window/Width",
                                                      "Window/Height", "Window/WindowState", "Place/OpenedFile",
                                                      "Place/RecentFiles", "Options/Trigonometry", "Options/ShowSpec",
                                                      "Options/ShowQuest", "Options/ReduceCalc", "Options/ReduceGraph",
                                                      "Options/System", "Options/ColorGraphs", "Options/ExactFunctions"}));
    EXPECT_EQ(store.values["Options/ExactFunctions"], "false");
    EXPECT_EQ(store.values["Place/OpenedFile"], "ForFuture");
    EXPECT_EQ(store.values["Options/ReduceCalc"], "-1");
    EXPECT_EQ(store.values["Options/System"], "10");
    EXPECT_EQ(store.values["Window/Left"], "126");
}

TEST(AppSettings, RoundTrip) {
    MemorySettingsStore store;
    AppSettings out;
    out.page = 2;
    out.left = 10;
    out.top = 20;
    out.width = 700;
    out.height = 500;
    out.degrees = true;
    out.show3D = false;
    out.ask3D = false;
    out.calcRounding = 3;
    out.graphRounding = 0;
    out.base = 16;
    out.colorGraphs = true;
    SaveSettings(store, out);
    AppSettings in;
    ASSERT_TRUE(LoadSettings(store, in).empty());
    EXPECT_EQ(in.page, 2);
    EXPECT_EQ(in.left, 10);
    EXPECT_EQ(in.height, 500);
    EXPECT_TRUE(in.degrees);
    EXPECT_FALSE(in.show3D);
    EXPECT_FALSE(in.ask3D);
    EXPECT_EQ(in.calcRounding, 3);
    EXPECT_EQ(in.graphRounding, 0);
    EXPECT_EQ(in.base, 16);
    EXPECT_TRUE(in.colorGraphs);
}

// Files written before coloured graphs existed: the option is off and only it is added.
TEST(AppSettings, ColouredGraphsAreOffInOlderFiles) {
    MemorySettingsStore store = Complete();
    store.values.erase("Options/ColorGraphs");
    store.values["Options/System"] = "16";
    store.values["Options/ReduceGraph"] = "3";
    AppSettings s;
    s.colorGraphs = false;
    LoadOrCreateSettings(store, s);
    EXPECT_FALSE(s.colorGraphs);
    EXPECT_EQ(s.base, 16);
    EXPECT_EQ(s.graphRounding, 3);
    EXPECT_EQ(store.writes, std::vector<std::string>{"Options/ColorGraphs"});
    EXPECT_EQ(store.values["Options/ColorGraphs"], "false");
}

// The exact functions go through the store either way; a value that cannot be read, or a file
// from before the option, turns them off and is mended.
struct ExactCase {
    const char* stored;  // nullptr: missing
    bool loaded;
    bool rewritten;
};

class ExactFunctionsSetting : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactFunctionsSetting, ReadsOnlyATrueValueAsOn) {
    MemorySettingsStore store = Complete();
    if (GetParam().stored) store.values["Options/ExactFunctions"] = GetParam().stored;
    else store.values.erase("Options/ExactFunctions");
    AppSettings s;
    s.exactFunctions = true;  // whatever was there before, only the store decides
    LoadOrCreateSettings(store, s);
    EXPECT_EQ(s.exactFunctions, GetParam().loaded);
    EXPECT_EQ(store.writes, GetParam().rewritten ? std::vector<std::string>{"Options/ExactFunctions"}
                                                 : std::vector<std::string>{});
    EXPECT_EQ(store.values["Options/ExactFunctions"], GetParam().loaded ? "true" : "false");
}

INSTANTIATE_TEST_SUITE_P(Values, ExactFunctionsSetting,
                         testing::Values(ExactCase{"true", true, false}, ExactCase{"false", false, false},
                                         ExactCase{"maybe", false, true}, ExactCase{"", false, true},
                                         ExactCase{"2", false, true}, ExactCase{nullptr, false, true}));

TEST(AppSettings, ExactFunctionsRoundTrip) {
    for (const bool exact : {true, false}) {
        MemorySettingsStore store;
        AppSettings out;
        out.exactFunctions = exact;
        ASSERT_TRUE(SaveSettings(store, out));
        AppSettings in;
        in.exactFunctions = !exact;
        ASSERT_TRUE(LoadSettings(store, in).empty());
        EXPECT_EQ(in.exactFunctions, exact);
    }
}

TEST(AppSettings, The3DPageIsNotStartedOnWhenItIsOff) {
    MemorySettingsStore store = Complete();
    store.values["Window/Page"] = "1";
    store.values["Options/ShowSpec"] = "false";
    AppSettings s;
    ASSERT_TRUE(LoadSettings(store, s).empty());
    EXPECT_EQ(s.page, 0);
    store.values["Options/ShowSpec"] = "true";
    ASSERT_TRUE(LoadSettings(store, s).empty());
    EXPECT_EQ(s.page, 1);
}

TEST(AppSettings, MaximizedWritesOnlyPageAndState) {
    MemorySettingsStore store = Complete();
    store.values["Window/Left"] = "333";
    AppSettings s;
    s.windowState = WindowState::Maximized;
    s.left = 5;
    SaveSettings(store, s);
    EXPECT_EQ(store.values["Window/Left"], "333");  // the old bounds stay
    EXPECT_EQ(store.values["Window/WindowState"], "2");
    AppSettings in;
    in.left = 77;
    ASSERT_TRUE(LoadSettings(store, in).empty());
    EXPECT_EQ(in.left, 77);  // not read while maximised
    EXPECT_EQ(in.windowState, WindowState::Maximized);
}

// One damaged or missing value costs only itself: the others are read, and only it is
// written back (with its default).
TEST(AppSettings, ABadValueCostsOnlyItself) {
    struct Case {
        std::string key, bad;
    };
    for (const Case& c : std::vector<Case>{{"Options/Trigonometry", "zz"},
                                           {"Options/ReduceGraph", "two"},
                                           {"Window/Width", ""},
                                           {"Window/Page", "1.5"},
                                           {"Options/System", "99999999999"},
                                           {"Window/WindowState", "normal"}}) {
        MemorySettingsStore store = Complete();
        store.values["Window/Page"] = "2";
        store.values["Window/Width"] = "640";
        store.values["Options/ReduceCalc"] = "4";
        store.values["Options/System"] = "16";
        store.values["Options/Trigonometry"] = "true";
        store.values[c.key] = c.bad;
        AppSettings s;
        EXPECT_EQ(LoadSettings(store, s), std::vector<std::string>{c.key});
        // Everything else, before and after the bad value, is the user's.
        EXPECT_EQ(s.page, c.key == "Window/Page" ? 0 : 2) << c.key;
        EXPECT_EQ(s.width, c.key == "Window/Width" ? 780 : 640) << c.key;
        EXPECT_EQ(s.calcRounding, 4) << c.key;
        EXPECT_EQ(s.base, c.key == "Options/System" ? 10 : 16) << c.key;
        EXPECT_EQ(s.degrees, c.key != "Options/Trigonometry") << c.key;
        store.writes.clear();
        AppSettings again;
        LoadOrCreateSettings(store, again);
        EXPECT_EQ(store.writes, std::vector<std::string>{c.key});
        EXPECT_TRUE(LoadSettings(store, again).empty()) << c.key;
    }
    MemorySettingsStore missing = Complete();
    missing.values.erase("Options/System");
    missing.values["Options/ReduceGraph"] = "3";
    AppSettings s;
    LoadOrCreateSettings(missing, s);
    EXPECT_EQ(missing.values["Options/System"], "10");
    EXPECT_EQ(missing.writes, std::vector<std::string>{"Options/System"});
    EXPECT_EQ(s.graphRounding, 3);
    MemorySettingsStore garbage = Complete();
    garbage.values["Window/Page"] = "99";
    garbage.values["Window/WindowState"] = "7";
    AppSettings g;
    EXPECT_TRUE(LoadSettings(garbage, g).empty());
    EXPECT_EQ(g.page, 0);  // out of range pages are not used
    EXPECT_EQ(g.windowState, WindowState::Normal);
}

TEST(AppSettings, ASaveThatFailsSaysSo) {
    MemorySettingsStore store;
    store.flushError = "Не удалось сохранить настройки";
    EXPECT_FALSE(SaveSettings(store, AppSettings{}));
    EXPECT_EQ(store.Error(), "Не удалось сохранить настройки");
    MemorySettingsStore fine;
    EXPECT_TRUE(SaveSettings(fine, AppSettings{}));
}

}  // namespace
}  // namespace kq
