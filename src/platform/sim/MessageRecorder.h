// Message recording for message-sequence tests: a device-level hook that logs
// every message reaching the procedures of chosen windows, with its parameters
// and how it arrived (sent, posted, or passed on to DefWindowProcW).
//
//   auto log = device.Recorders().Record({trackbar, parent});
//   SendMessageW(trackbar, TBM_SETPOS, TRUE, 1000);
//   EXPECT_EQ(log->Check(trackbar, {{TBM_SETPOS, {}, 1000}, Optional(WM_PAINT)}), "");
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Messaging.h"

namespace sim {

struct RecordedMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    Arrival arrival = Arrival::Sent;
};

// One line of an expected sequence: parameters and arrival are compared only
// where given; an optional message may be missing.
struct ExpectedMessage {
    UINT message = 0;
    std::optional<WPARAM> wParam;
    std::optional<LPARAM> lParam;
    std::optional<Arrival> arrival;
    bool optional = false;
};
ExpectedMessage Optional(UINT message);

class MessageLog {
public:
    MessageLog(std::vector<HWND> windows, bool includeDefault)
        : windows(std::move(windows)), includeDefault(includeDefault) {}

    bool Watches(HWND window, Arrival arrival) const;
    void Add(const RecordedMessage& message) { messages.push_back(message); }
    void Clear() { messages.clear(); }
    // Every message, or those of one window, in order.
    const std::vector<RecordedMessage>& All() const { return messages; }
    std::vector<RecordedMessage> Of(HWND window) const;
    bool Received(HWND window, UINT message) const;
    // Compares the window's messages with the expected sequence, leaving out
    // the message ids in ignore. Empty when they match; otherwise both
    // sequences side by side.
    std::string Check(HWND window, const std::vector<ExpectedMessage>& expected,
                      std::initializer_list<UINT> ignore = {}) const;

private:
    std::vector<HWND> windows;
    bool includeDefault;
    std::vector<RecordedMessage> messages;
};

// Owned by the device; logs live as long as the test holds them.
class MessageRecorderHub {
public:
    // Starts a log of the given windows (all windows when empty); messages
    // passed on to DefWindowProcW are logged too with includeDefault.
    std::shared_ptr<MessageLog> Record(std::vector<HWND> windows, bool includeDefault = false);
    bool Active() const { return !logs.empty(); }
    void Notify(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Arrival arrival);

private:
    std::vector<std::weak_ptr<MessageLog>> logs;
};

// The name of a message id ("WM_PAINT"), or its number in hex.
std::string MessageName(UINT message);

} // namespace sim
