// Stand-ins for the host in loader tests: files in memory, and a loop that
// plays the user-interface thread (woken by the loader, with a timer).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "swf/runtime/HostServices.h"

namespace harness {

class MemoryFiles final : public swf::FileSystem {
public:
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::vector<std::string> opened;

    swf::Result<std::unique_ptr<swf::FileReader>> Open(const std::string& path) override {
        opened.push_back(path);
        const auto found = files.find(path);
        if (found == files.end()) {
            return swf::Error{"no such file: " + path, 0};
        }
        return std::unique_ptr<swf::FileReader>(std::make_unique<Reader>(found->second));
    }

private:
    class Reader final : public swf::FileReader {
    public:
        explicit Reader(const std::vector<std::uint8_t>& data) : data(data) {}
        swf::Result<std::size_t> Read(std::span<std::uint8_t> into) override {
            const std::size_t count = std::min(into.size(), data.size() - at);
            if (count > 0) {
                std::memcpy(into.data(), data.data() + at, count);
            }
            at += count;
            return count;
        }

    private:
        const std::vector<std::uint8_t>& data;
        std::size_t at = 0;
    };
};

// The test's user-interface thread: Run waits for wake-ups and timer periods
// and calls back on this thread, like a message loop.
class UiLoop {
public:
    std::function<void()> Waker() {
        return [this] {
            {
                std::lock_guard lock(mutex);
                woken = true;
            }
            condition.notify_one();
        };
    }

    struct Stats {
        int timerTicks = 0;
        std::chrono::milliseconds longestGap{0}; // between two timer periods
        std::chrono::milliseconds elapsed{0};
        bool finished = false;
    };

    // Calls onWake after each wake-up and onTimer every timerPeriod until
    // done() holds or limit passes.
    Stats Run(const std::function<bool()>& done, const std::function<void()>& onWake,
              std::chrono::milliseconds limit, const std::function<void()>& onTimer = {},
              std::chrono::milliseconds timerPeriod = std::chrono::milliseconds(10)) {
        using Clock = std::chrono::steady_clock;
        Stats stats;
        const auto start = Clock::now();
        auto lastTimer = start;
        while (!(stats.finished = done()) && Clock::now() - start < limit) {
            bool wake = false;
            {
                std::unique_lock lock(mutex);
                condition.wait_until(lock, lastTimer + timerPeriod, [&] { return woken; });
                wake = std::exchange(woken, false);
            }
            if (wake) {
                onWake();
            }
            const auto now = Clock::now();
            if (now - lastTimer >= timerPeriod) {
                stats.longestGap = std::max(
                    stats.longestGap,
                    std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTimer));
                lastTimer = now;
                ++stats.timerTicks;
                if (onTimer) {
                    onTimer();
                }
            }
        }
        stats.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return stats;
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool woken = false;
};

} // namespace harness
