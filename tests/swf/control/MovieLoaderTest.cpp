#include "swf/runtime/MovieLoader.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "LoaderHarness.h"
#include "TestMovies.h"
#include "swf/control/HttpFetcher.h"

namespace {

using namespace std::chrono_literals;
using swfwriter::Compression;

// Records the ready states a load passes through, in order, once each.
struct StateTrail {
    std::vector<int> states;
    void Note(int state) {
        if (states.empty() || states.back() != state) {
            states.push_back(state);
        }
    }
};

class FileLoading : public testing::Test {
protected:
    harness::UiLoop ui;
    harness::MemoryFiles files;
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader{files, fetcher, ui.Waker()};

    StateTrail LoadAndWait(const std::string& url) {
        StateTrail trail;
        trail.Note(loader.ReadyState());
        loader.Load(url);
        ui.Run([&] { return !loader.Loading(); },
               [&] {
                   loader.Pump(64); // small pieces, so every state shows
                   trail.Note(loader.ReadyState());
               },
               5s);
        trail.Note(loader.ReadyState());
        return trail;
    }
};

TEST_F(FileLoading, DeviceAndHostPathsAreReadThroughTheFiles) {
    files.files["\\Movies\\busy.swf"] = testmovies::BusyMovie(200, Compression::Zlib);
    files.files["/home/user/busy.swf"] = testmovies::BusyMovie(30, Compression::None);

    EXPECT_EQ(LoadAndWait("file://\\Movies\\busy.swf").states, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(loader.Parser()->GetMovie().root.frames.size(), 200u);
    EXPECT_FALSE(loader.LoadError());

    EXPECT_EQ(LoadAndWait("file:///home/user/busy.swf").states.back(), 4);
    EXPECT_EQ(loader.Parser()->GetMovie().root.frames.size(), 30u);
    EXPECT_EQ(files.opened,
              (std::vector<std::string>{"\\Movies\\busy.swf", "/home/user/busy.swf"}));
}

TEST_F(FileLoading, WhatCannotBeLoadedNeverReachesReadyStateTwo) {
    files.files["\\bad.swf"] = {'N', 'O', 'T', 8, 40, 0, 0, 0, 1, 2, 3};
    files.files["\\empty.swf"] = {};
    for (const char* url : {"file://", "file://\\missing.swf", "file://\\bad.swf",
                            "file://\\empty.swf", "ftp://example.org/a.swf", ""}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(LoadAndWait(url).states, (std::vector<int>{0}));
        EXPECT_FALSE(loader.Loading());
        EXPECT_TRUE(loader.LoadError() || loader.Parser()->Failure());
    }
}

TEST_F(FileLoading, TruncatedFileEndsCompleteAsFarAsItIsSound) {
    auto bytes = testmovies::BusyMovie(100, Compression::None);
    bytes.resize(bytes.size() / 2);
    files.files["\\cut.swf"] = bytes;
    EXPECT_EQ(LoadAndWait("file://\\cut.swf").states.back(), 4);
    ASSERT_TRUE(loader.Parser()->Failure());
    EXPECT_GT(loader.Parser()->GetMovie().root.frames.size(), 10u);
    EXPECT_LT(loader.Parser()->GetMovie().root.frames.size(), 100u);
}

// A loopback server with the routes the HTTP tests need.
class HttpLoading : public testing::Test {
protected:
    void SetUp() override {
        good = testmovies::BusyMovie(300, Compression::Zlib);
        server.Get("/good.swf", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(reinterpret_cast<const char*>(good.data()), good.size(),
                                 "application/x-shockwave-flash");
        });
        server.Get("/slow.swf", [this](const httplib::Request&, httplib::Response& response) {
            // Holds the answer back until the test ends (bounded).
            std::unique_lock lock(slowMutex);
            slowRelease.wait_for(lock, 10s, [this] { return released; });
            response.set_content("", "text/plain");
        });
        server.Get("/truncated.swf", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                good.size(), "application/x-shockwave-flash",
                [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                    if (offset >= good.size() / 2) {
                        return false; // hang up half way
                    }
                    sink.write(reinterpret_cast<const char*>(good.data()), good.size() / 2);
                    return true;
                });
        });
        server.Get("/redirect.swf", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("file:///etc/passwd");
        });
        server.Get("/hop.swf", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/good.swf");
        });
        port = server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        serverThread = std::thread([this] { server.listen_after_bind(); });
        for (int wait = 0; wait < 2000 && !server.is_running(); ++wait) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_TRUE(server.is_running());
    }
    void TearDown() override {
        {
            std::lock_guard lock(slowMutex);
            released = true;
        }
        slowRelease.notify_all();
        server.stop();
        serverThread.join();
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }

    StateTrail LoadAndWait(swf::MovieLoader& loader, const std::string& url,
                           std::chrono::milliseconds limit = 10s) {
        StateTrail trail;
        trail.Note(loader.ReadyState());
        loader.Load(url);
        ui.Run([&] { return !loader.Loading(); },
               [&] {
                   loader.Pump(128); // small pieces, so every state shows
                   trail.Note(loader.ReadyState());
               },
               limit);
        trail.Note(loader.ReadyState());
        return trail;
    }

    harness::UiLoop ui;
    harness::MemoryFiles files;
    httplib::Server server;
    std::thread serverThread;
    int port = 0;
    std::vector<std::uint8_t> good;
    std::mutex slowMutex;
    std::condition_variable slowRelease;
    bool released = false;
};

TEST_F(HttpLoading, GoodMovieMovesThroughEveryReadyState) {
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    EXPECT_EQ(LoadAndWait(loader, Url("/good.swf")).states, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_FALSE(loader.LoadError());
    EXPECT_FALSE(loader.Parser()->Failure());
    EXPECT_EQ(loader.Parser()->GetMovie().root.frames.size(), 300u);

    // A redirect within http is followed.
    EXPECT_EQ(LoadAndWait(loader, Url("/hop.swf")).states.back(), 4);
}

TEST_F(HttpLoading, FailuresNeverReachReadyStateTwo) {
    swf::HttpLimits limits;
    limits.maxBytes = 1000; // the good movie is larger
    limits.totalTimeoutMs = 1500;
    swf::HttpFetcher fetcher(limits);
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    const struct {
        const char* path;
        const char* error;
    } cases[] = {
        {"/missing.swf", "404"},
        {"/slow.swf", "timed out"},
        {"/good.swf", "larger than the limit"},
        {"/redirect.swf", "file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(LoadAndWait(loader, Url(c.path)).states, (std::vector<int>{0}));
        ASSERT_TRUE(loader.LoadError());
        EXPECT_NE(loader.LoadError()->message.find(c.error), std::string::npos)
            << loader.LoadError()->message;
    }
}

TEST_F(HttpLoading, TruncatedBodyKeepsWhatArrivedAndReportsTheError) {
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    const auto trail = LoadAndWait(loader, Url("/truncated.swf"));
    ASSERT_TRUE(loader.LoadError());
    EXPECT_FALSE(loader.Loading());
    // The compressed half holds the header and some frames.
    EXPECT_EQ(trail.states.back(), 4);
    EXPECT_LT(loader.Parser()->GetMovie().root.frames.size(), 300u);
}

TEST_F(HttpLoading, LoadEndsAtTheEndTagWhateverFollows) {
    std::vector<std::uint8_t> padded = testmovies::BusyMovie(30, Compression::None);
    padded.resize(padded.size() + 200000, 0xAB);
    server.Get("/padded.swf", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(reinterpret_cast<const char*>(padded.data()), padded.size(),
                             "application/x-shockwave-flash");
    });
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    EXPECT_EQ(LoadAndWait(loader, Url("/padded.swf")).states.back(), 4);
    EXPECT_FALSE(loader.LoadError());
    EXPECT_FALSE(loader.Parser()->Failure());
    EXPECT_EQ(loader.Parser()->GetMovie().root.frames.size(), 30u);
    EXPECT_LT(loader.Parser()->InputBytesReceived(), padded.size());
}

TEST_F(HttpLoading, NewUrlCancelsTheLoadBeforeIt) {
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    loader.Load(Url("/slow.swf"));
    const int first = loader.Generation();
    EXPECT_EQ(LoadAndWait(loader, Url("/good.swf")).states.back(), 4);
    EXPECT_GT(loader.Generation(), first);
    EXPECT_EQ(loader.Url(), Url("/good.swf"));
    EXPECT_FALSE(loader.LoadError());
}

TEST_F(HttpLoading, LargeMovieDoesNotBlockTheUserInterfaceThread) {
    const auto large = testmovies::LargeMovie(26);
    ASSERT_GE(large.size(), 20u << 20);
    // The server sends the first half, then holds the rest back until the
    // user-interface thread has run its timer five more times. A load that
    // blocked that thread would keep the timer from running, and the movie
    // would never finish arriving.
    const std::size_t half = large.size() / 2;
    std::mutex tickMutex;
    std::condition_variable ticked;
    int ticks = 0;
    bool tickedWhileHeldBack = false;
    server.Get("/large.swf", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            large.size(), "application/x-shockwave-flash",
            [&](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                if (offset >= half && !tickedWhileHeldBack) {
                    std::unique_lock lock(tickMutex);
                    const int heldAt = ticks;
                    tickedWhileHeldBack =
                        ticked.wait_for(lock, 30s, [&] { return ticks >= heldAt + 5; });
                    if (!tickedWhileHeldBack) {
                        return false;
                    }
                }
                const std::size_t stop = offset < half ? half : large.size();
                const std::size_t count = std::min(length, stop - offset);
                return sink.write(reinterpret_cast<const char*>(large.data()) + offset, count);
            });
    });
    swf::HttpFetcher fetcher;
    swf::MovieLoader loader(files, fetcher, ui.Waker());
    StateTrail trail;
    trail.Note(loader.ReadyState());
    loader.Load(Url("/large.swf"));
    int pumps = 0;
    const auto stats = ui.Run([&] { return !loader.Loading(); },
                              [&] {
                                  loader.Pump(); // the loader's own budget
                                  ++pumps;
                                  trail.Note(loader.ReadyState());
                              },
                              60s,
                              [&] {
                                  trail.Note(loader.ReadyState());
                                  {
                                      std::lock_guard lock(tickMutex);
                                      ++ticks;
                                  }
                                  ticked.notify_all();
                              });
    ASSERT_TRUE(stats.finished);
    EXPECT_TRUE(tickedWhileHeldBack);
    // A piece may hold the header and the first frame together, so 2 can
    // pass unseen; the frames after it take many pieces.
    EXPECT_TRUE(std::is_sorted(trail.states.begin(), trail.states.end()));
    EXPECT_EQ(trail.states.front(), 0);
    EXPECT_EQ(trail.states.back(), 4);
    EXPECT_NE(std::find(trail.states.begin(), trail.states.end(), 3), trail.states.end());
    EXPECT_EQ(loader.Parser()->GetMovie().root.frames.size(), 26u);
    // No one wake read more than the budget of 1 MB.
    EXPECT_GE(static_cast<std::size_t>(pumps), large.size() >> 20);
}

} // namespace
