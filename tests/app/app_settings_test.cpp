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
                                                      "Options/Trigonometry", "Options/ShowSpec", "Options/ShowQuest",
                                                      "Options/ReduceCalc", "Options/ReduceGraph", "Options/System"}));
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
    SaveSettings(store, out);
    AppSettings in;
    ASSERT_TRUE(LoadSettings(store, in));
    EXPECT_EQ(in.page, 2);
    EXPECT_EQ(in.left, 10);
    EXPECT_EQ(in.height, 500);
    EXPECT_TRUE(in.degrees);
    EXPECT_FALSE(in.show3D);
    EXPECT_FALSE(in.ask3D);
    EXPECT_EQ(in.calcRounding, 3);
    EXPECT_EQ(in.graphRounding, 0);
    EXPECT_EQ(in.base, 16);
}

TEST(AppSettings, The3DPageIsNotStartedOnWhenItIsOff) {
    MemorySettingsStore store = Complete();
    store.values["Window/Page"] = "1";
    store.values["Options/ShowSpec"] = "false";
    AppSettings s;
    ASSERT_TRUE(LoadSettings(store, s));
    EXPECT_EQ(s.page, 0);
    store.values["Options/ShowSpec"] = "true";
    ASSERT_TRUE(LoadSettings(store, s));
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
    ASSERT_TRUE(LoadSettings(store, in));
    EXPECT_EQ(in.left, 77);  // not read while maximised
    EXPECT_EQ(in.windowState, WindowState::Maximized);
}

TEST(AppSettings, ReadingStopsAtTheFirstBadValue) {
    for (const auto& [key, bad] : std::vector<std::pair<std::string, std::string>>{
             {"Options/Trigonometry", "maybe"}, {"Options/ReduceGraph", "two"}, {"Window/Width", ""}}) {
        MemorySettingsStore store = Complete();
        store.values["Window/Page"] = "2";
        store.values["Options/ReduceCalc"] = "4";
        store.values[key] = bad;
        AppSettings s;
        EXPECT_FALSE(LoadSettings(store, s)) << key;
        EXPECT_EQ(s.page, 2) << key;  // read before the bad value: kept
        if (key == "Options/ReduceGraph") {
            EXPECT_EQ(s.calcRounding, 4);
        }
        if (key == "Options/Trigonometry") {
            EXPECT_EQ(s.calcRounding, -1);  // never reached
        }
    }
    MemorySettingsStore missing = Complete();
    missing.values.erase("Options/System");
    AppSettings s;
    EXPECT_FALSE(LoadSettings(missing, s));
    missing.writes.clear();
    LoadOrCreateSettings(missing, s);
    EXPECT_EQ(missing.values["Options/System"], "10");  // written again after the failed load
    MemorySettingsStore garbage;
    garbage.values["Window/Page"] = "99";
    garbage.values["Window/WindowState"] = "7";
    AppSettings g;
    EXPECT_FALSE(LoadSettings(garbage, g));
    EXPECT_EQ(g.page, 0);  // out of range pages are not used
    EXPECT_EQ(g.windowState, WindowState::Normal);
}

}  // namespace
}  // namespace kq
