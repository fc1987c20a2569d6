// The journal: every call a program makes that has an effect outside its own
// windows (shell, hot keys, message boxes, the hosted control's dispatch calls,
// and the system services), with its arguments, its result, the device time and
// the calling process. Each entry reads as one JSON object:
// {"t": 1250, "pid": 4242, "call": "RegisterHotKey", "args": [...], "result": 1}
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"

namespace sim {

// One argument or result: nothing, a boolean, an integer, a number or a text.
class JournalValue {
public:
    JournalValue() = default;
    JournalValue(bool value) : value(value) {}
    JournalValue(int value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(unsigned value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(long value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(unsigned long value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(long long value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(unsigned long long value) : value(static_cast<std::int64_t>(value)) {}
    JournalValue(double value) : value(value) {}
    JournalValue(std::string text) : value(std::move(text)) {}
    JournalValue(const char* text) : value(std::string(text)) {}
    JournalValue(std::u16string_view text);
    // Handles are recorded as their numeric value.
    JournalValue(HWND window)
        : value(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(window))) {}

    bool IsNull() const { return value.index() == 0; }
    bool IsInt() const { return value.index() == 2; }
    bool IsText() const { return value.index() == 4; }
    std::int64_t Int() const { return IsInt() ? std::get<2>(value) : 0; }
    const std::string& Text() const;
    std::string Json() const;

    bool operator==(const JournalValue&) const = default;

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string> value;
};

struct JournalEntry {
    DeviceTime time = 0;
    DWORD pid = 0;
    std::string call;
    std::vector<JournalValue> args;
    JournalValue result;
    // A call on a hosted control's dispatch interface carries its dispatch id
    // ("dispid" in the JSON) beside the operation's name.
    std::optional<long> dispatchId;

    std::string Json() const;
};

// Written by program threads and read by the driver; the lock makes reads from
// the host's other threads safe as well.
class Journal {
public:
    void Record(JournalEntry entry);
    std::vector<JournalEntry> Entries() const;
    // The entries from that index on (none when it is past the end), for a
    // reader that takes the journal as it grows.
    std::vector<JournalEntry> EntriesFrom(std::size_t first) const;
    // The entries of one call, in order.
    std::vector<JournalEntry> Calls(std::string_view call) const;
    // All entries, one JSON object a line.
    std::string JsonLines() const;
    void Clear();

private:
    mutable std::mutex lock;
    // A deque: a journal that grows for hours never moves what it holds.
    std::deque<JournalEntry> entries;
};

} // namespace sim
