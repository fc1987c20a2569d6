// The device's files through the C runtime's own streams: device and host
// paths, the errors the C runtime gives, folder listings for the open-file
// dialog, and what the journal records of writes and deletions.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "TempDirectory.h"
#include "platform/Program.h"
#include "platform/sim/FileSystem.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

class FileSystemTest : public ::testing::Test {
protected:
    FileSystemTest()
        : files(folder / "storage",
                [this](std::string call, std::vector<JournalValue> args, JournalValue result) {
                    journal.push_back(call + " " + args[0].Text() + " -> " + result.Json());
                }) {
        std::filesystem::create_directories(folder / "storage" / "My Documents");
    }

    TempDirectory folder;
    std::vector<std::string> journal;
    FileSystem files;
};

TEST_F(FileSystemTest, StreamsWriteAndReadTheHostFileOfADevicePath) {
    FileError error;
    FILE* out = files.Open(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg", u"w", error);
    EXPECT_EQ(out, nullptr) << "its folder does not exist";
    EXPECT_EQ(error.errnoValue, ENOENT);
    EXPECT_EQ(error.lastError, ERROR_PATH_NOT_FOUND);

    out = files.Open(u"\\My Documents\\settings.cfg", u"w", error);
    ASSERT_NE(out, nullptr);
    std::fprintf(out, "%d %d %d", 0, 1, 10);
    std::fclose(out);

    FILE* in = files.Open(u"\\my documents\\SETTINGS.CFG", u"r", error);
    ASSERT_NE(in, nullptr);
    int a = -1, b = -1, c = -1;
    EXPECT_EQ(std::fscanf(in, "%d %d %d", &a, &b, &c), 3);
    std::fclose(in);
    EXPECT_EQ(c, 10);

    // Binary append and update modes are the C runtime's.
    FILE* binary = files.Open(u"\\My Documents\\settings.cfg", u"ab+", error);
    ASSERT_NE(binary, nullptr);
    std::fputs(" 560", binary);
    std::fclose(binary);
    std::ifstream host(folder / "storage" / "My Documents" / "settings.cfg");
    std::string text;
    std::getline(host, text);
    EXPECT_EQ(text, "0 1 10 560");

    // Writes are journaled, reads are not.
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0],
              "_wfopen \\Program Files\\Vantrel\\Vantrel.exe.cfg -> " + std::to_string(ENOENT));
    EXPECT_EQ(journal[1], "_wfopen \\My Documents\\settings.cfg -> 0");
}

TEST_F(FileSystemTest, FailuresAreTheCRuntimesAndNeverCrash) {
    FileError error;
    EXPECT_EQ(files.Open(u"\\A347BD5F-BAD90-46785.txt", u"r", error), nullptr);
    EXPECT_EQ(error.errnoValue, ENOENT);
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(files.Open(u"\\" + std::u16string(5000, u'x'), u"rb", error), nullptr);
    EXPECT_EQ(error.errnoValue, ENAMETOOLONG);
    // A 5,000-character host path is the host's to refuse.
    EXPECT_EQ(
        files.Open((folder.Path().u16string() + u"/" + std::u16string(5000, u'x')), u"rb", error),
        nullptr);
    EXPECT_EQ(error.errnoValue, ENAMETOOLONG);

    EXPECT_EQ(files.Open(u"\\My Documents", u"r", error), nullptr);
    EXPECT_EQ(error.errnoValue, EACCES);
    for (const std::u16string mode : {u"", u"x", u"rw", u"r++", u"rbt", u"wq"}) {
        EXPECT_EQ(files.Open(u"\\My Documents\\a", mode, error), nullptr);
        EXPECT_EQ(error.errnoValue, EINVAL);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "storage" / "My Documents" / "a"));
}

TEST_F(FileSystemTest, DeletingAndAttributes) {
    std::ofstream(folder / "storage" / "A347BD5F-BAD90-46785.txt") << "x";
    FileError error;
    EXPECT_EQ(files.Attributes(u"\\A347BD5F-BAD90-46785.txt", error), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(files.Attributes(u"\\My Documents", error), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(files.Attributes(u"\\", error), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(files.Attributes(u"\\missing", error), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(files.Attributes(u"\\No Folder\\missing", error), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(error.lastError, ERROR_PATH_NOT_FOUND);

    EXPECT_TRUE(files.Remove(u"\\a347bd5f-bad90-46785.TXT", "_wremove", error));
    EXPECT_FALSE(std::filesystem::exists(folder / "storage" / "A347BD5F-BAD90-46785.txt"));
    EXPECT_FALSE(files.Remove(u"\\A347BD5F-BAD90-46785.txt", "DeleteFileW", error));
    EXPECT_EQ(error.errnoValue, ENOENT);
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(files.Remove(u"\\My Documents", "DeleteFileW", error));
    EXPECT_EQ(error.lastError, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::exists(folder / "storage" / "My Documents"));

    EXPECT_TRUE(files.CreateFolder(u"\\My Documents\\Movies", error));
    EXPECT_FALSE(files.CreateFolder(u"\\My Documents\\Movies", error));
    EXPECT_EQ(error.lastError, ERROR_ALREADY_EXISTS);

    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(journal[0], "_wremove \\a347bd5f-bad90-46785.TXT -> 0");
    EXPECT_EQ(journal[1], "DeleteFileW \\A347BD5F-BAD90-46785.txt -> 2");
}

TEST_F(FileSystemTest, MovingNeverReplacesAName) {
    const auto storage = folder / "storage";
    std::ofstream(storage / "request.new") << "new";
    std::ofstream(storage / "request.txt") << "waiting";
    FileError error;
    EXPECT_FALSE(files.Move(u"\\REQUEST.NEW", u"\\request.txt", error));
    EXPECT_EQ(error.lastError, ERROR_ALREADY_EXISTS);
    std::string text;
    std::getline(std::ifstream(storage / "request.txt"), text);
    EXPECT_EQ(text, "waiting");

    ASSERT_TRUE(files.Remove(u"\\request.txt", "DeleteFileW", error));
    EXPECT_TRUE(files.Move(u"\\REQUEST.NEW", u"\\My Documents\\request.txt", error));
    EXPECT_FALSE(std::filesystem::exists(storage / "request.new"));
    std::getline(std::ifstream(storage / "My Documents" / "request.txt"), text);
    EXPECT_EQ(text, "new");

    EXPECT_FALSE(files.Move(u"\\request.new", u"\\other.txt", error));
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(files.Move(u"\\My Documents\\request.txt", u"\\No Folder\\a.txt", error));
    EXPECT_EQ(error.lastError, ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(std::filesystem::exists(storage / "My Documents" / "request.txt"));

    ASSERT_EQ(journal.size(), 5u);
    EXPECT_EQ(journal[0], "MoveFileW \\REQUEST.NEW -> 183");
    EXPECT_EQ(journal[2], "MoveFileW \\REQUEST.NEW -> 0");
}

TEST_F(FileSystemTest, ReplacingPutsOneFileInAnothersPlaceAndNeedsBoth) {
    const auto storage = folder / "storage";
    std::ofstream(storage / "a.cfg") << "old";
    std::ofstream(storage / "a.cfg.new") << "new";
    FileError error;
    EXPECT_FALSE(files.Replace(u"\\missing.cfg", u"\\a.cfg.new", error));
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(files.Replace(u"\\a.cfg", u"\\missing.new", error));
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(files.Replace(u"\\A.CFG", u"\\a.cfg.new", error));
    std::string text;
    std::getline(std::ifstream(storage / "a.cfg"), text);
    EXPECT_EQ(text, "new");
    EXPECT_FALSE(std::filesystem::exists(storage / "a.cfg.new"));
    EXPECT_EQ(journal.back(), "DeleteAndRenameFile \\A.CFG -> 0");
}

std::string HostText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A settings file saved unchanged through a new file, again and again: the
// host keeps its file and reuses the new one, and nobody on the device can
// tell it from renaming.
TEST(FileSystemSpareTest, ReplacingWithTheSameBytesLooksLikeARenameAndTheSpareComesBackEmpty) {
    TempDirectory folder;
    const auto storage = folder / "storage";
    const auto spare = folder / "runtime" / "spare-file";
    std::filesystem::create_directories(storage);
    std::filesystem::create_directories(spare.parent_path());
    std::vector<std::string> journal;
    FileSystem files(
        storage,
        [&journal](std::string call, std::vector<JournalValue> args, JournalValue result) {
            journal.push_back(call + " " + args[0].Text() + " -> " + result.Json());
        },
        spare);
    const auto save = [&files](std::u16string_view path, const char* text) {
        FileError error;
        FILE* out = files.Open(path, u"w", error);
        ASSERT_NE(out, nullptr);
        std::fputs(text, out);
        EXPECT_EQ(std::fclose(out), 0);
    };
    FileError error;
    for (int round = 0; round < 3; ++round) {
        save(u"\\a.cfg.new", "1 0 0 0 0 0 3");
        if (round == 0) {
            ASSERT_TRUE(files.Move(u"\\a.cfg.new", u"\\a.cfg", error));
            continue;
        }
        ASSERT_TRUE(files.Replace(u"\\a.cfg", u"\\a.cfg.new", error));
        EXPECT_EQ(HostText(storage / "a.cfg"), "1 0 0 0 0 0 3");
        EXPECT_FALSE(std::filesystem::exists(storage / "a.cfg.new"));
        EXPECT_EQ(files.Attributes(u"\\a.cfg.new", error), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(std::filesystem::file_size(spare), 0u) << "round " << round;
    }
    EXPECT_EQ(journal.back(), "DeleteAndRenameFile \\a.cfg -> 0");
    EXPECT_EQ(journal.size(), 6u) << "every open and replacement is journaled as ever";

    // The spare becomes the next new file, as empty as a new file is; a
    // file that exists is truncated as ever.
    save(u"\\short.txt", "ab");
    EXPECT_FALSE(std::filesystem::exists(spare));
    EXPECT_EQ(HostText(storage / "short.txt"), "ab");
    save(u"\\short.txt", "");
    EXPECT_EQ(HostText(storage / "short.txt"), "");

    // Different bytes replace the destination's.
    save(u"\\a.cfg.new", "2 0 0 0 0 0 3");
    ASSERT_TRUE(files.Replace(u"\\a.cfg", u"\\a.cfg.new", error));
    EXPECT_EQ(HostText(storage / "a.cfg"), "2 0 0 0 0 0 3");
    EXPECT_FALSE(std::filesystem::exists(storage / "a.cfg.new"));
}

TEST_F(FileSystemTest, AStorageCutOffTakesNoChangeAfterItsPointDownToTheByte) {
    const auto storage = folder / "storage";
    std::ofstream(storage / "kept.txt") << "kept";
    FileError error;
    // Creating the file and two bytes.
    files.Fault().CutOffAfter(3);
    FILE* out = files.Open(u"\\cut.txt", u"w", error);
    ASSERT_NE(out, nullptr);
    std::fputs("abcdef", out);
    EXPECT_NE(std::fclose(out), 0) << "the bytes refused show as a write error";
    EXPECT_TRUE(files.Fault().CutOff());
    std::string text;
    std::getline(std::ifstream(storage / "cut.txt"), text);
    EXPECT_EQ(text, "ab");
    // Nothing else changes: no file made, deleted or moved.
    EXPECT_EQ(files.Open(u"\\other.txt", u"w", error), nullptr);
    EXPECT_EQ(error.lastError, ERROR_WRITE_FAULT);
    EXPECT_FALSE(files.Remove(u"\\kept.txt", "DeleteFileW", error));
    EXPECT_FALSE(files.Move(u"\\kept.txt", u"\\moved.txt", error));
    EXPECT_TRUE(std::filesystem::exists(storage / "kept.txt"));
    EXPECT_FALSE(std::filesystem::exists(storage / "other.txt"));
    // Reading goes on.
    FILE* in = files.Open(u"\\kept.txt", u"r", error);
    ASSERT_NE(in, nullptr);
    std::fclose(in);

    files.Fault().Reconnect();
    EXPECT_TRUE(files.Remove(u"\\kept.txt", "DeleteFileW", error));
}

TEST_F(FileSystemTest, FolderListingsForTheOpenFileDialog) {
    const auto documents = folder / "storage" / "My Documents";
    std::ofstream(documents / "b.swf") << "12345";
    std::ofstream(documents / "A.SWF") << "1";
    std::ofstream(documents / "notes.txt") << "";
    std::filesystem::create_directory(documents / "Movies");
    // A host name that is not UTF-8 could not be opened by the name shown.
    std::ofstream(documents / "bad\xff.swf") << "";

    const auto all = files.List(u"\\My Documents");
    ASSERT_TRUE(all.Ok());
    std::vector<std::u16string> names;
    for (const auto& entry : *all) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"A.SWF", u"b.swf", u"Movies", u"notes.txt"}));
    EXPECT_TRUE((*all)[2].folder);
    EXPECT_EQ((*all)[1].size, 5u);

    WIN32_FIND_DATAW found;
    FileError error;
    const HANDLE search = files.FindFirst(u"\\My Documents\\*.swf", found, error);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(found.cFileName), u"A.SWF");
    EXPECT_EQ(found.nFileSizeLow, 1u);
    EXPECT_TRUE(files.FindNext(search, found, error));
    EXPECT_EQ(std::u16string(found.cFileName), u"b.swf");
    EXPECT_FALSE(files.FindNext(search, found, error));
    EXPECT_EQ(error.lastError, ERROR_NO_MORE_FILES);
    EXPECT_TRUE(files.FindClose(search, error));
    EXPECT_FALSE(files.FindClose(search, error));

    EXPECT_EQ(files.FindFirst(u"\\My Documents\\*.avi", found, error), INVALID_HANDLE_VALUE);
    EXPECT_EQ(error.lastError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(files.FindFirst(u"\\Nowhere\\*.*", found, error), INVALID_HANDLE_VALUE);
    EXPECT_EQ(error.lastError, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(files.List(u"\\Nowhere").Ok());
}

} // namespace
} // namespace sim
