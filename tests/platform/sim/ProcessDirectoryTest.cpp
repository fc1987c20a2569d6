// The processes on one device directory: each one's record of its programs
// and windows, requests from one to another, and the clearing away of a
// process that ended without a word.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "TempDirectory.h"
#include "platform/sim/ProcessDirectory.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

ProcessRecord PlayerRecord() {
    ProcessRecord record;
    record.frontSequence = 3;
    record.programs.push_back({0x1234, 0x100000, u"\\Program Files\\Vantrel\\Vantrel.exe"});
    record.windows.push_back({reinterpret_cast<HWND>(0x20002), 0x1234, 0x100000, true, u"Vantrel",
                              u"Vantrel \"%\" \x263A"});
    return record;
}

TEST(ProcessDirectory, RecordsReadBackExactlyAndDamagedOnesAreRefused) {
    ProcessRecord record = PlayerRecord();
    record.id = "77-abc";
    const std::string text = record.Serialize();
    const auto parsed = ProcessRecord::Parse(text);
    ASSERT_TRUE(parsed.Ok()) << parsed.GetError().message << "\n" << text;
    EXPECT_EQ(*parsed, record);
    for (std::size_t length = 0; length < text.size(); ++length) {
        EXPECT_FALSE(ProcessRecord::Parse(text.substr(0, length)).Ok()) << length;
    }
    EXPECT_FALSE(ProcessRecord::Parse("vantrel-process 1\nwindow x\nend\n").Ok());
}

TEST(ProcessDirectory, ProcessesSeeEachOthersRecordsAndTakeTheirRequestsOnce) {
    TempDirectory folder;
    ProcessDirectory first(folder.Path());
    ProcessDirectory second(folder.Path());
    ASSERT_TRUE(first.Ok());
    ASSERT_TRUE(second.Ok());
    EXPECT_NE(first.Id(), second.Id());
    EXPECT_TRUE(second.Others().empty() || second.Others()[0].windows.empty());

    ASSERT_TRUE(first.Publish(PlayerRecord()).Ok());
    EXPECT_FALSE(*first.Publish(PlayerRecord())) << "an unchanged record is not written again";
    const auto seen = second.Others();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].id, first.Id());
    ASSERT_EQ(seen[0].windows.size(), 1u);
    EXPECT_EQ(seen[0].programs[0].modulePath, u"\\Program Files\\Vantrel\\Vantrel.exe");

    EXPECT_TRUE(second.SendRequest(first.Id(), "foreground 131074"));
    EXPECT_TRUE(second.SendRequest(first.Id(), "foreground 131076"));
    EXPECT_FALSE(second.SendRequest("1-none", "foreground 1"));
    EXPECT_EQ(first.TakeRequests(),
              (std::vector<std::string>{"foreground 131074", "foreground 131076"}));
    EXPECT_TRUE(first.TakeRequests().empty());
    EXPECT_TRUE(second.TakeRequests().empty());
    // A request that comes right after a look that found none is taken at
    // the next look, however soon.
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(second.SendRequest(first.Id(), "display"));
        EXPECT_EQ(first.TakeRequests(), std::vector<std::string>{"display"});
        EXPECT_TRUE(first.TakeRequests().empty());
    }

    const auto earlier = first.NextFrontSequence();
    const auto later = second.NextFrontSequence();
    EXPECT_LT(earlier, later);
}

TEST(ProcessDirectory, AProcessThatDiedIsClearedAway) {
    TempDirectory folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Ends without its destructor running, as a killed process would.
        auto* directory = new ProcessDirectory(folder.Path());
        const bool ok = directory->Ok() && directory->Publish(PlayerRecord()).Ok();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::is_empty(folder / "processes"));

    ProcessDirectory survivor(folder.Path());
    EXPECT_TRUE(survivor.Others().empty());
    std::size_t left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "processes")) {
        left += entry.path().stem().string() != survivor.Id();
    }
    EXPECT_EQ(left, 0u);
}

} // namespace
} // namespace sim
