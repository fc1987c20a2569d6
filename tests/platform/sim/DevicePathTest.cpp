// From a program's path to a host file: device paths stay inside the
// device's storage whatever they hold, letter case is ignored as on the
// handheld, and odd paths fail cleanly.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "TempDirectory.h"
#include "platform/Program.h"
#include "platform/sim/DevicePath.h"
#include "platform/sim/FolderNames.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

// Each test runs twice: asking the host about every folder on the way, and
// keeping what was read of the folders for the next lookups.
class DevicePathTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        std::filesystem::create_directories(storage / "Program Files" / "Vantrel");
        std::ofstream(storage / "Program Files" / "Vantrel" / "Vantrel.exe") << "program";
    }
    ResolvedPath Resolve(std::u16string_view path) {
        return ResolvePath(storage, path, GetParam() ? &kept : nullptr);
    }

    TempDirectory folder;
    std::filesystem::path storage = folder / "storage";
    FolderNames kept;
};

INSTANTIATE_TEST_SUITE_P(AskingTheHost, DevicePathTest, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(KeepingFolders, DevicePathTest, ::testing::Values(true));

TEST_P(DevicePathTest, DevicePathsLeadIntoTheStorageWithLetterCaseIgnored) {
    const auto exe = Resolve(u"\\program files\\VANTREL\\vantrel.exe");
    ASSERT_TRUE(exe.Ok());
    EXPECT_TRUE(exe.onDevice);
    EXPECT_EQ(exe.host, storage / "Program Files" / "Vantrel" / "Vantrel.exe");
    // A name that does not exist yet keeps its spelling; its folder is found.
    EXPECT_EQ(Resolve(u"\\Program Files/vantrel/Vantrel.exe.cfg").host,
              storage / "Program Files" / "Vantrel" / "Vantrel.exe.cfg");
    EXPECT_EQ(Resolve(u"\\").host, storage);
    EXPECT_EQ(Resolve(u"\\\\A347BD5F-BAD90-46785.txt").host, storage / "A347BD5F-BAD90-46785.txt");

    const auto host = Resolve(u"movies/a.swf");
    ASSERT_TRUE(host.Ok());
    EXPECT_FALSE(host.onDevice);
    EXPECT_EQ(host.host, std::filesystem::path("movies/a.swf"));
    // "/" starts a host path, as a shell on the host gives it.
    const auto absolute = Resolve(u"/home/user/../user/a.swf");
    EXPECT_FALSE(absolute.onDevice);
    EXPECT_EQ(absolute.host, std::filesystem::path("/home/user/../user/a.swf"));
}

TEST_P(DevicePathTest, NoDevicePathLeadsOutOfTheStorage) {
    // ".." stops at the root, as on the handheld.
    EXPECT_EQ(Resolve(u"\\..\\..\\etc\\passwd").host, storage / "etc" / "passwd");
    EXPECT_EQ(Resolve(u"\\Program Files\\..\\..\\..\\x").host, storage / "x");
    EXPECT_EQ(Resolve(u"\\.\\a\\.\\b\\..\\c").host, storage / "a" / "c");

    // A link inside the storage that points out of it is not followed.
    std::filesystem::create_directory_symlink(folder.Path(), storage / "escape");
    const auto linked = Resolve(u"\\escape\\secret.txt");
    EXPECT_FALSE(linked.Ok());
    EXPECT_EQ(linked.errnoValue, EACCES);
    // Also when the link's name is found without regard to letter case.
    EXPECT_EQ(Resolve(u"\\ESCAPE\\secret.txt").errnoValue, EACCES);
    // A link that stays inside the storage is followed.
    std::filesystem::create_directories(storage / "inside");
    std::filesystem::create_directory_symlink(storage / "inside", storage / "shortcut");
    const auto followed = Resolve(u"\\shortcut\\a.txt");
    ASSERT_TRUE(followed.Ok());
    EXPECT_EQ(followed.host, storage / "shortcut" / "a.txt");
}

TEST_P(DevicePathTest, OddPathsFailAsTheCRuntimeWould) {
    struct Case {
        std::u16string path;
        int errnoValue;
        DWORD lastError;
    };
    const Case cases[] = {
        {u"\\" + std::u16string(5000, u'a'), ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {u"\\" + std::u16string(300, u'a'), ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {std::u16string(u"\\a\0b", 4), EINVAL, ERROR_INVALID_NAME},
        {std::u16string(u"host\0path", 9), EINVAL, ERROR_INVALID_NAME},
        {u"\\bad\xD800name", EINVAL, ERROR_INVALID_NAME},
        {u"\\bad\xDC00", EINVAL, ERROR_INVALID_NAME},
        {u"\\what?.swf", EINVAL, ERROR_INVALID_NAME},
        {u"\\a:b", EINVAL, ERROR_INVALID_NAME},
        {u"\\tab\there", EINVAL, ERROR_INVALID_NAME},
        {u"", ENOENT, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        const auto resolved = Resolve(c.path);
        EXPECT_FALSE(resolved.Ok()) << c.path.size();
        EXPECT_EQ(resolved.errnoValue, c.errnoValue) << c.path.size();
        EXPECT_EQ(resolved.lastError, c.lastError) << c.path.size();
    }
    // A character outside the basic plane is a good name.
    EXPECT_TRUE(Resolve(u"\\\U0001F600.swf").Ok());
}

TEST(DevicePathPattern, WildcardsMatchAsOnTheHandheld) {
    EXPECT_TRUE(MatchesPattern(u"Movie.SWF", u"*.swf"));
    EXPECT_TRUE(MatchesPattern(u"noextension", u"*.*"));
    EXPECT_TRUE(MatchesPattern(u"a.b.c", u"*.c"));
    EXPECT_TRUE(MatchesPattern(u"abc", u"a?c"));
    EXPECT_TRUE(MatchesPattern(u"abc", u"abc"));
    EXPECT_TRUE(MatchesPattern(u"aXbXc", u"a*b*c"));
    EXPECT_FALSE(MatchesPattern(u"movie.swf.bak", u"*.swf"));
    EXPECT_FALSE(MatchesPattern(u"ab", u"a?c"));
    EXPECT_FALSE(MatchesPattern(u"abc", u""));
}

} // namespace
} // namespace sim
