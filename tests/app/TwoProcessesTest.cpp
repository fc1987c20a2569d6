// Two players on one device as two processes of the host: the second launch
// records its movie, brings the first player forward and exits with -1, and
// the first player opens the movie.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/Automation.h"

extern char** environ;

namespace {

class Process {
public:
    explicit Process(std::vector<std::string> arguments) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        started = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
    }
    ~Process() {
        if (started && !waited) {
            kill(pid, SIGKILL);
            Wait();
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started; }
    // The exit status, or -1 when the process did not exit by itself.
    int Wait() {
        int status = 0;
        waitpid(pid, &status, 0);
        waited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid = 0;
    bool started = false;
    bool waited = false;
};

bool WaitFor(const std::filesystem::path& file, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (std::filesystem::exists(file)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The first argument of the first call of that name in a journal file, as a
// number.
long long FirstArgument(const std::string& journal, const std::string& call) {
    const std::regex line("\"call\": \"" + call + "\", \"args\": \\[(-?[0-9]+)");
    std::smatch found;
    return std::regex_search(journal, found, line) ? std::stoll(found[1]) : -1;
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TwoProcessesTest, ASecondPlayerProcessHandsItsMovieToTheFirstAndExitsWithMinusOne) {
    const sim::TemporaryDirectory directory;
    const std::filesystem::path device = directory.Path() / "device";
    const std::filesystem::path firstJournal = directory.Path() / "first.jsonl";
    const std::filesystem::path secondJournal = directory.Path() / "second.jsonl";

    Process first({VANTREL_PLAYER_LAUNCHER, device.string(), firstJournal.string()});
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor(firstJournal.string() + ".ready", std::chrono::seconds(30)));

    // A movie on the device for the second launch to hand over.
    std::filesystem::create_directories(device / "storage" / "My Documents");
    std::ofstream(device / "storage" / "My Documents" / "handed.swf") << "FWS";
    Process second({VANTREL_PLAYER_LAUNCHER, device.string(), secondJournal.string(),
                    "\\My Documents\\handed.swf"});
    ASSERT_TRUE(second.Started());
    // -1 as a process exit status.
    EXPECT_EQ(second.Wait(), 255);

    // The first player's tick takes the request and deletes the file.
    const std::filesystem::path handoff = device / "storage" / "A347BD5F-BAD90-46785.txt";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::filesystem::exists(handoff) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The first player stops once it has loaded the movie (the request is
    // moved into place whole, so that it is never read half written).
    std::ofstream(device / "stop.new") << "file://\\\\My Documents\\\\handed.swf";
    std::filesystem::rename(device / "stop.new", device / "stop");
    EXPECT_EQ(first.Wait(), 0);

    const std::string secondCalls = ReadAll(secondJournal);
    const std::string firstCalls = ReadAll(firstJournal);
    // The frame, which the first player brought forward itself at start-up,
    // with the low bit set.
    const long long frame = FirstArgument(firstCalls, "SetForegroundWindow");
    ASSERT_GT(frame, 0) << firstCalls;
    EXPECT_EQ(FirstArgument(secondCalls, "SetForegroundWindow"), frame | 1) << secondCalls;
    EXPECT_EQ(secondCalls.find("\"CreateControlWindow\""), std::string::npos) << secondCalls;
    EXPECT_NE(firstCalls.find("file://\\\\My Documents\\\\handed.swf"), std::string::npos)
        << firstCalls;
    EXPECT_FALSE(std::filesystem::exists(handoff));
}

} // namespace
