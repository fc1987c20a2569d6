// The open-file dialog's model: filter lists as programs write them (and as
// they damage them), pattern matching, folder listings and device paths.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/sim/FolderListing.h"

namespace {

TEST(FileFilters, PairsUpToTheEmptyText) {
    const char16_t list[] = u"Flash Movies(*.swf)\0*.swf\0All files(*.*)\0*.*\0";
    const auto filters = sim::ParseFileFilters(list);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, u"Flash Movies(*.swf)");
    EXPECT_EQ(filters[0].patterns, std::vector<std::u16string>{u"*.swf"});
    EXPECT_EQ(filters[1].patterns, std::vector<std::u16string>{u"*.*"});

    const char16_t several[] = u"Pictures\0*.bmp; *.png;;*.JPG\0";
    EXPECT_EQ(sim::ParseFileFilters(several)[0].patterns,
              (std::vector<std::u16string>{u"*.bmp", u"*.png", u"*.JPG"}));
}

TEST(FileFilters, DamagedListsKeepTheCompletePairsAndNeverRunAway) {
    const char16_t noPatterns[] = u"Movies\0*.swf\0Lonely name\0";
    EXPECT_EQ(sim::ParseFileFilters(noPatterns).size(), 1u);
    EXPECT_TRUE(sim::ParseFileFilters(nullptr).empty());
    // No terminator within the budget: only what was complete before it.
    const char16_t unterminated[] = {u'A', 0, u'*', 0, u'B', u'B', u'B', u'B'};
    EXPECT_EQ(sim::ParseFileFilters(unterminated, 8).size(), 1u);
}

TEST(FileFilters, PatternsMatchLikeTheHandheld) {
    const std::vector<std::u16string> swf{u"*.swf"};
    EXPECT_TRUE(sim::MatchesPatterns(u"movie.swf", swf));
    EXPECT_TRUE(sim::MatchesPatterns(u"MOVIE.SWF", swf));
    EXPECT_FALSE(sim::MatchesPatterns(u"movie.swf.txt", swf));
    EXPECT_FALSE(sim::MatchesPatterns(u"swf", swf));
    EXPECT_TRUE(sim::MatchesPatterns(u"README", {u"*.*"}));
    EXPECT_TRUE(sim::MatchesPatterns(u"a1.txt", {u"a?.t*"}));
    EXPECT_FALSE(sim::MatchesPatterns(u"a.txt", {u"a?.t*"}));
    EXPECT_TRUE(sim::MatchesPatterns(u"abcabd", {u"*ab?"}));
    EXPECT_FALSE(sim::MatchesPatterns(u"anything", {}));
}

TEST(FolderListing, FoldersFirstThenMatchingFilesEachInOrder) {
    const auto root =
        std::filesystem::temp_directory_path() / ("vantrel-listing-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "zeta");
    std::filesystem::create_directories(root / "Alpha");
    for (const char* name : {"b.swf", "A.SWF", "notes.txt"}) {
        std::ofstream(root / name) << "x";
    }
    const auto entries = sim::ListFolder(root, {u"*.swf"});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, u"Alpha");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_EQ(entries[1].name, u"zeta");
    EXPECT_EQ(entries[2].name, u"A.SWF");
    EXPECT_FALSE(entries[2].isFolder);
    EXPECT_EQ(entries[3].name, u"b.swf");
    EXPECT_TRUE(sim::ListFolder(root / "missing", {u"*.*"}).empty());
    std::filesystem::remove_all(root);
}

TEST(DevicePaths, JoinParentResolveAndOffsets) {
    EXPECT_EQ(sim::JoinDevicePath(u"\\", u"a.swf"), u"\\a.swf");
    EXPECT_EQ(sim::JoinDevicePath(u"\\My Documents", u"a.swf"), u"\\My Documents\\a.swf");
    EXPECT_EQ(sim::ParentDevicePath(u"\\My Documents\\Movies"), u"\\My Documents");
    EXPECT_EQ(sim::ParentDevicePath(u"\\My Documents"), u"\\");
    EXPECT_EQ(sim::ParentDevicePath(u"\\"), u"\\");
    EXPECT_EQ(sim::ResolveDevicePath(u"\\a\\b", u"c.swf"), u"\\a\\b\\c.swf");
    EXPECT_EQ(sim::ResolveDevicePath(u"\\a\\b", u"..\\..\\..\\c.swf"), u"\\c.swf");
    EXPECT_EQ(sim::ResolveDevicePath(u"\\a", u"\\x\\.\\y"), u"\\x\\y");
    EXPECT_EQ(sim::ResolveDevicePath(u"\\a", u".."), u"\\");
    const std::u16string path = u"\\dir.v2\\movie.swf";
    EXPECT_EQ(sim::FileNameOffset(path), 8u);
    EXPECT_EQ(sim::ExtensionOffset(path), 14u);
    EXPECT_EQ(sim::ExtensionOffset(u"\\dir.v2\\README"), 14u)
        << "a dot in a folder is no extension";
}

} // namespace
