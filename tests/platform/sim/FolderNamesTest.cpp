// Lookups that keep what they read of the storage's folders: whatever
// changes on the host after a folder was read, by anyone and however soon,
// the next lookup finds what a fresh read of the folder would.
#include <gtest/gtest.h>

#include <fstream>

#include "TempDirectory.h"
#include "platform/Text.h"
#include "platform/sim/DevicePath.h"
#include "platform/sim/FolderNames.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

class FolderNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(storage / "Program Files" / "Vantrel");
        std::ofstream(storage / "Program Files" / "Vantrel" / "Vantrel.exe") << "program";
        // Reads the folders on the way, and keeps them when the host watches.
        Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg");
        if (kept.KeptFolders() == 0) {
            GTEST_SKIP() << "the host gives no notices of folder changes";
        }
    }
    ResolvedPath Resolve(std::u16string_view path) { return ResolvePath(storage, path, &kept); }

    TempDirectory folder;
    std::filesystem::path storage = folder / "storage";
    FolderNames kept;
};

TEST_F(FolderNamesTest, ANameMadeRightAfterItsFolderWasReadIsFoundInAnyLetterCase) {
    const auto vantrel = storage / "Program Files" / "Vantrel";
    const auto missing = Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg.new");
    EXPECT_EQ(missing.kind, HostKind::Missing);
    EXPECT_TRUE(missing.folderSeen);
    EXPECT_EQ(missing.host, vantrel / "Vantrel.exe.cfg.new");

    // Made by the host, as another process would, within the same tick of
    // the file clock as the read.
    std::ofstream(vantrel / "VANTREL.EXE.CFG.NEW") << "7";
    const auto made = Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg.new");
    EXPECT_EQ(made.host, vantrel / "VANTREL.EXE.CFG.NEW");
    EXPECT_EQ(made.kind, HostKind::File);

    // Renamed and then removed: each lookup sees the name as it is now.
    std::filesystem::rename(vantrel / "VANTREL.EXE.CFG.NEW", vantrel / "Vantrel.Exe.Cfg.New");
    EXPECT_EQ(Resolve(u"\\program files\\vantrel\\vantrel.exe.cfg.new").host,
              vantrel / "Vantrel.Exe.Cfg.New");
    std::filesystem::remove(vantrel / "Vantrel.Exe.Cfg.New");
    const auto removed = Resolve(u"\\Program Files\\Vantrel\\VANTREL.exe.cfg.new");
    EXPECT_EQ(removed.host, vantrel / "VANTREL.exe.cfg.new");
    EXPECT_EQ(removed.kind, HostKind::Missing);

    // The exact spelling wins over another that differs only in case.
    std::ofstream(vantrel / "vantrel.exe") << "other";
    EXPECT_EQ(Resolve(u"\\Program Files\\Vantrel\\vantrel.exe").host, vantrel / "vantrel.exe");
    EXPECT_EQ(Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe").host, vantrel / "Vantrel.exe");
}

TEST_F(FolderNamesTest, AFolderMovedAwayOrPutInAnothersPlaceIsReadAgain) {
    // A folder kept with everything in it moves away; a new one, spelt
    // otherwise, takes its place with other contents.
    std::filesystem::rename(storage / "Program Files", storage / "Old Programs");
    std::filesystem::create_directories(storage / "PROGRAM FILES" / "vantrel");
    std::ofstream(storage / "PROGRAM FILES" / "vantrel" / "VANTREL.EXE.CFG") << "1";
    const auto moved = Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg");
    EXPECT_EQ(moved.host, storage / "PROGRAM FILES" / "vantrel" / "VANTREL.EXE.CFG");
    EXPECT_EQ(moved.kind, HostKind::File);
    EXPECT_EQ(Resolve(u"\\Old Programs\\VANTREL\\vantrel.exe").host,
              storage / "Old Programs" / "Vantrel" / "Vantrel.exe");

    // A file takes a folder's name: nothing is inside it any more.
    std::filesystem::remove_all(storage / "PROGRAM FILES");
    std::ofstream(storage / "program files") << "a file";
    const auto inside = Resolve(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg");
    EXPECT_EQ(inside.host, storage / "program files" / "Vantrel" / "Vantrel.exe.cfg");
    EXPECT_EQ(inside.kind, HostKind::Missing);
    EXPECT_FALSE(inside.folderSeen);
    EXPECT_EQ(Resolve(u"\\PROGRAM FILES").kind, HostKind::File);
}

TEST_F(FolderNamesTest, ALinkMadeAfterTheReadIsStillCheckedAndManyFoldersStayCorrect) {
    // A link that leads out of the storage, in a folder read before it came.
    std::filesystem::create_directory_symlink(folder.Path(), storage / "Program Files" / "Escape");
    EXPECT_FALSE(Resolve(u"\\Program Files\\escape\\secret.txt").Ok());

    // More folders than are kept at once: every lookup is still right.
    for (int i = 0; i < 100; ++i) {
        const std::string name = "Folder" + std::to_string(i);
        std::filesystem::create_directories(storage / name);
        std::ofstream(storage / name / ("FILE" + std::to_string(i))) << i;
    }
    for (int i = 0; i < 100; ++i) {
        const std::string number = std::to_string(i);
        const auto found = Resolve(text::FromUtf8("\\folder" + number + "\\file" + number));
        EXPECT_EQ(found.host, storage / ("Folder" + number) / ("FILE" + number));
    }
}

} // namespace
} // namespace sim
