#include "swf/control/HttpFetcher.h"

#include <atomic>
#include <utility>

#include "swf/control/CurlLibrary.h"

namespace swf {

struct HttpFetcher::Transfer {
    std::mutex mutex;
    bool cancelled = false; // set by the fetch's owner; no wake-up after it
    std::function<void()> wake;
    std::vector<FetchEvent> events;
    std::size_t received = 0;
    bool overCap = false;
    std::atomic<bool> finished = false;
    HttpLimits limits;

    // Queues an event and wakes the owner when the queue was empty.
    void Deliver(FetchEvent event) {
        std::lock_guard lock(mutex);
        if (cancelled) {
            return;
        }
        const bool wasEmpty = events.empty();
        if (auto* data = std::get_if<FetchData>(&event);
            data != nullptr && !events.empty() &&
            std::holds_alternative<FetchData>(events.back())) {
            auto& last = std::get<FetchData>(events.back()).bytes;
            last.insert(last.end(), data->bytes.begin(), data->bytes.end());
        } else {
            events.push_back(std::move(event));
        }
        if (wasEmpty && wake) {
            wake();
        }
    }

    bool Cancelled() {
        std::lock_guard lock(mutex);
        return cancelled;
    }
};

namespace {

using Transfer = HttpFetcher::Transfer;

std::size_t OnData(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (transfer.Cancelled()) {
        return 0;
    }
    if (transfer.received + bytes > transfer.limits.maxBytes) {
        transfer.overCap = true;
        return 0;
    }
    transfer.received += bytes;
    const auto* first = reinterpret_cast<const std::uint8_t*>(data);
    transfer.Deliver(FetchData{{first, first + bytes}});
    return bytes;
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(context)->Cancelled() ? 1 : 0;
}

void Run(std::shared_ptr<Transfer> transfer, std::string url, std::shared_ptr<void> token) {
    const CurlLibrary* const library = Curl();
    if (library == nullptr) {
        transfer->Deliver(FetchEnd{Error{"libcurl could not be loaded", 0}});
        transfer->finished = true;
        return;
    }
    const CurlLibrary& c = *library;
    CURL* curl = c.easy_init();
    if (curl == nullptr) {
        transfer->Deliver(FetchEnd{Error{"libcurl could not start a transfer", 0}});
        transfer->finished = true;
        return;
    }
    char message[CURL_ERROR_SIZE] = {};
    const HttpLimits& limits = transfer->limits;
    c.easy_setopt(curl, CURLOPT_URL, url.c_str());
    c.easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
    c.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    c.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    c.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    c.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    c.easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
    c.easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    c.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    c.easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    c.easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stallTimeoutSeconds);
    c.easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    c.easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    c.easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnData);
    c.easy_setopt(curl, CURLOPT_WRITEDATA, transfer.get());
    c.easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    c.easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    c.easy_setopt(curl, CURLOPT_XFERINFODATA, transfer.get());
    const CURLcode code = c.easy_perform(curl);
    std::optional<Error> error;
    if (transfer->overCap || code == CURLE_FILESIZE_EXCEEDED) {
        error = Error{"the movie is larger than the limit of " + std::to_string(limits.maxBytes) +
                          " bytes",
                      transfer->received};
    } else if (code != CURLE_OK) {
        error = Error{std::string(message[0] != '\0' ? message : c.easy_strerror(code)),
                      transfer->received};
    }
    c.easy_cleanup(curl);
    transfer->Deliver(FetchEnd{std::move(error)});
    token.reset(); // the result is out
    transfer->finished = true;
}

class HttpFetch final : public Fetch {
public:
    explicit HttpFetch(std::shared_ptr<Transfer> transfer) : transfer(std::move(transfer)) {}
    ~HttpFetch() override {
        std::lock_guard lock(transfer->mutex);
        transfer->cancelled = true;
        transfer->wake = nullptr;
    }
    HttpFetch(const HttpFetch&) = delete;
    HttpFetch& operator=(const HttpFetch&) = delete;

    std::vector<FetchEvent> Take() override {
        std::lock_guard lock(transfer->mutex);
        return std::exchange(transfer->events, {});
    }

private:
    std::shared_ptr<Transfer> transfer;
};

} // namespace

HttpFetcher::HttpFetcher(HttpLimits limits, WorkToken workToken)
    : limits(limits), workToken(std::move(workToken)) {}

HttpFetcher::~HttpFetcher() {
    for (Worker& worker : workers) {
        {
            std::lock_guard lock(worker.transfer->mutex);
            worker.transfer->cancelled = true;
            worker.transfer->wake = nullptr;
        }
        worker.thread.join();
    }
}

void HttpFetcher::JoinFinished() {
    std::erase_if(workers, [](Worker& worker) {
        if (!worker.transfer->finished) {
            return false;
        }
        worker.thread.join();
        return true;
    });
}

std::unique_ptr<Fetch> HttpFetcher::Start(const std::string& url, std::function<void()> wake) {
    JoinFinished();
    auto transfer = std::make_shared<Transfer>();
    transfer->wake = std::move(wake);
    transfer->limits = limits;
    std::shared_ptr<void> token = workToken ? workToken() : nullptr;
    workers.push_back(Worker{transfer, std::thread(Run, transfer, url, std::move(token))});
    return std::make_unique<HttpFetch>(transfer);
}

} // namespace swf
