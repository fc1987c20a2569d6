// Real processes on one device directory: the single-instance start as the
// player makes it (named mutex, the other instance's window found among every
// process's windows and brought forward, the name freed when its holder is
// killed), and the registry file under writers killed at random moments.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "ChildProcess.h"
#include "platform/sim/Automation.h"
#include "platform/sim/DurableFile.h"
#include "platform/sim/RegistryTree.h"

namespace {

using namespace std::chrono_literals;
using testing_support::ChildProcess;

ChildProcess Start(const std::string& mode, const sim::TemporaryDirectory& directory,
                   const std::string& extra = "") {
    std::vector<std::string> arguments{VANTREL_DEVICE_HELPER, mode, directory.Path().string()};
    if (!extra.empty()) {
        arguments.push_back(extra);
    }
    return ChildProcess(arguments);
}

TEST(CrossProcess, ASecondLaunchFindsTheFirstBringsItForwardAndAKilledFirstFreesTheName) {
    sim::TemporaryDirectory directory;
    ChildProcess first = Start("instance", directory);
    ASSERT_TRUE(first.Started());
    ASSERT_EQ(first.ReadLine(20s), "mutex created") << first.Transcript();
    const auto ready = first.WaitFor("ready ", 20s);
    ASSERT_TRUE(ready) << first.Transcript();
    const std::string window = ready->substr(6);
    // The first's device has put the Today screen in front of it.
    ASSERT_TRUE(first.WaitFor("today ", 20s)) << first.Transcript();

    ChildProcess second = Start("instance", directory);
    EXPECT_EQ(second.ReadLine(20s), "mutex exists") << second.Transcript();
    EXPECT_EQ(second.ReadLine(20s), "found " + window) << second.Transcript();
    EXPECT_EQ(second.Wait(20s), 255) << "ends with -1";
    // The first brings its window forward and activates it.
    EXPECT_EQ(first.WaitFor("activated ", 20s), "activated " + window) << first.Transcript();

    first.Kill();
    ChildProcess third = Start("instance", directory);
    EXPECT_EQ(third.ReadLine(20s), "mutex created") << third.Transcript();
    EXPECT_TRUE(third.WaitFor("ready ", 20s)) << third.Transcript();
}

TEST(CrossProcess, TheLowBitBringsTheLastActivePopupOfAnotherProcessForward) {
    sim::TemporaryDirectory directory;
    ChildProcess first = Start("instance-with-popup", directory);
    ASSERT_TRUE(first.Started());
    const auto ready = first.WaitFor("ready ", 20s);
    ASSERT_TRUE(ready) << first.Transcript();
    const auto popup = first.WaitFor("popup ", 20s);
    ASSERT_TRUE(popup) << first.Transcript();
    ASSERT_TRUE(first.WaitFor("today ", 20s)) << first.Transcript();

    ChildProcess asking = Start("foreground", directory, ready->substr(6));
    EXPECT_EQ(asking.ReadLine(20s), "asked") << asking.Transcript();
    EXPECT_EQ(asking.Wait(20s), 0);
    // The popup comes, not the disabled main window.
    EXPECT_EQ(first.WaitFor("activated ", 20s), "activated " + popup->substr(6))
        << first.Transcript();
    first.Kill();
}

// The values a writer acknowledged before it was killed.
struct Acknowledged {
    std::string prefix;
    long last = -1;
};

TEST(CrossProcess, TheRegistryFileKeepsEveryAcknowledgedChangeOfWritersKilledAtRandom) {
    sim::TemporaryDirectory directory;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> lifetime(0, 300);
    std::vector<Acknowledged> acknowledged;
    for (int round = 0; round < 10; ++round) {
        // Two writers at once, so that neither may lose the other's changes.
        std::vector<std::unique_ptr<ChildProcess>> writers;
        std::vector<Acknowledged> current;
        for (int w = 0; w < 2; ++w) {
            const std::string prefix = "r" + std::to_string(round) + "w" + std::to_string(w) + "-";
            writers.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{
                VANTREL_DEVICE_HELPER, "registry-writer", directory.Path().string(), prefix}));
            current.push_back({prefix, -1});
        }
        // Once both are writing (a slow build may take a while to start
        // them), each is killed at a random moment of its work.
        auto readAcks = [&](std::size_t w, std::chrono::milliseconds limit) {
            if (auto line = writers[w]->ReadLine(limit); line && line->rfind("ack ", 0) == 0) {
                current[w].last = std::stol(line->substr(4));
            }
        };
        for (std::size_t w = 0; w < writers.size(); ++w) {
            const auto deadline = std::chrono::steady_clock::now() + 20s;
            while (current[w].last < 0 && std::chrono::steady_clock::now() < deadline) {
                readAcks(w, 100ms);
            }
            ASSERT_GE(current[w].last, 0)
                << "writer " << w << " never wrote: " << writers[w]->Transcript();
        }
        const auto killAt =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(lifetime(random));
        while (std::chrono::steady_clock::now() < killAt) {
            for (std::size_t w = 0; w < writers.size(); ++w) {
                readAcks(w, 1ms);
            }
        }
        for (auto& writer : writers) {
            writer->Kill();
        }
        // Lines already written before the kill are acknowledgements too.
        for (std::size_t w = 0; w < writers.size(); ++w) {
            while (auto line = writers[w]->ReadLine(0ms)) {
                if (line->rfind("ack ", 0) == 0) {
                    current[w].last = std::stol(line->substr(4));
                }
            }
        }
        acknowledged.insert(acknowledged.end(), current.begin(), current.end());

        const auto text = sim::ReadWholeFile(directory.Path() / "system" / "registry.txt");
        ASSERT_TRUE(text) << "round " << round;
        const auto tree = sim::RegistryTree::Parse(*text);
        ASSERT_TRUE(tree.Ok()) << "round " << round << ": " << tree.GetError().message;
        const sim::RegistryKey* stress =
            tree->Find(sim::RegistryPath{sim::RegistryRoot::LocalMachine, {u"Stress"}});
        ASSERT_NE(stress, nullptr);
        for (const auto& writer : acknowledged) {
            for (long i = 0; i <= writer.last; ++i) {
                const std::string name = writer.prefix + std::to_string(i);
                const auto value = stress->values.find(std::u16string(name.begin(), name.end()));
                ASSERT_NE(value, stress->values.end()) << name << " was acknowledged and is lost";
                const std::vector<BYTE> expected{static_cast<BYTE>(i), static_cast<BYTE>(i >> 8),
                                                 static_cast<BYTE>(i >> 16),
                                                 static_cast<BYTE>(i >> 24)};
                EXPECT_EQ(value->second.data, expected) << name;
            }
        }
    }
    long total = 0;
    for (const auto& writer : acknowledged) {
        total += writer.last + 1;
    }
    // The writers did get work done before they were killed.
    EXPECT_GT(total, 20);
    std::printf("acknowledged values kept: %ld\n", total);
}

} // namespace
