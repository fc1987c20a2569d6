// Fetches http:// and https:// URLs with libcurl on a worker thread per
// transfer, within limits: a cap on the body's size, time-outs for connecting
// and for a stalled or overlong transfer, and redirects only to http and
// https. Bodies arrive in pieces as they come in.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "swf/runtime/HostServices.h"

namespace swf {

struct HttpLimits {
    std::size_t maxBytes = std::size_t{64} << 20;
    long connectTimeoutMs = 15000;
    // A transfer that moves no data for this long is abandoned.
    long stallTimeoutSeconds = 20;
    long totalTimeoutMs = 10 * 60 * 1000;
    int maxRedirects = 5;
};

class HttpFetcher final : public Fetcher {
public:
    // A token held for as long as a transfer runs: made when it starts, let
    // go on the worker thread once its last event is delivered. A host whose
    // virtual clock must wait for outstanding work gives one.
    using WorkToken = std::function<std::shared_ptr<void>()>;

    explicit HttpFetcher(HttpLimits limits = {}, WorkToken workToken = {});
    // Waits for transfers cancelled earlier to wind down.
    ~HttpFetcher() override;
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    std::unique_ptr<Fetch> Start(const std::string& url, std::function<void()> wake) override;

    struct Transfer; // shared by a fetch and its worker thread

private:
    void JoinFinished();

    HttpLimits limits;
    WorkToken workToken;
    // Threads of transfers, kept until they end so none outlives the fetcher.
    struct Worker {
        std::shared_ptr<Transfer> transfer;
        std::thread thread;
    };
    std::vector<Worker> workers;
};

} // namespace swf
