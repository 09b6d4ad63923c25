// The last workplaces: kept newest first, five at most, and a damaged stored list ignored.
#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/recent_files.h"

namespace kq {
namespace {

using List = std::vector<std::string>;

TEST(RecentFiles, NewestFirstOnceAndFiveAtMost) {
    List list;
    for (const char* p : {"/a.kwp", "/b.kwp", "/c.kwp", "/a.kwp", "/d.kwp", "/e.kwp", "/f.kwp"})
        list = WithRecent(list, p);
    EXPECT_EQ(list, (List{"/f.kwp", "/e.kwp", "/d.kwp", "/a.kwp", "/c.kwp"}));
    EXPECT_EQ(WithoutRecent(list, "/d.kwp"), (List{"/f.kwp", "/e.kwp", "/a.kwp", "/c.kwp"}));
}

TEST(RecentFiles, ReadsBackWhatItWrites) {
    for (const List& list : {List{}, List{"/tmp/один.kwp"}, List{"a b.kwp", "C:\\work\\x.kwp", "/1", "/2", "/3"}})
        EXPECT_EQ(ReadRecent(WriteRecent(list)), list);
}

TEST(RecentFiles, ADamagedTextIsNoList) {
    for (const char* text : {"\n", "/a\n\n/b", "/a\n/a", "/1\n/2\n/3\n/4\n/5\n/6", "/a\t.kwp", "/a\n"})
        EXPECT_FALSE(ReadRecent(text)) << text;
}

TEST(RecentFiles, SurviveASaveAndALoadAndADamagedValueIsIgnored) {
    MemorySettingsStore store;
    AppSettings out;
    out.recent = {"/x/1.kwp", "/x/2.kwp"};
    ASSERT_TRUE(SaveRecentFiles(store, out));
    AppSettings in;
    LoadOrCreateSettings(store, in);
    EXPECT_EQ(in.recent, out.recent);

    store.values["Place/RecentFiles"] = "/a\n/a";
    store.values["Options/System"] = "16";
    AppSettings damaged;
    LoadOrCreateSettings(store, damaged);
    EXPECT_TRUE(damaged.recent.empty());
    EXPECT_EQ(damaged.base, 16);                       // the others are read as ever
    EXPECT_EQ(store.values["Place/RecentFiles"], "");  // and the damage is mended
}

}  // namespace
}  // namespace kq
