#include "platform/sim/Journal.h"

#include "platform/Json.h"
#include "platform/Text.h"

namespace sim {

JournalValue::JournalValue(std::u16string_view text) : value(text::ToUtf8(text)) {}

const std::string& JournalValue::Text() const {
    static const std::string empty;
    return IsText() ? std::get<4>(value) : empty;
}

std::string JournalValue::Json() const {
    switch (value.index()) {
    case 1:
        return std::get<1>(value) ? "true" : "false";
    case 2:
        return std::to_string(std::get<2>(value));
    case 3: {
        return json::Number(std::get<3>(value), 17);
    }
    case 4:
        return json::Quote(std::get<4>(value));
    default:
        return "null";
    }
}

std::string JournalEntry::Json() const {
    std::string out = "{\"t\": " + std::to_string(time) + ", \"pid\": " + std::to_string(pid) +
                      ", \"call\": " + json::Quote(call) + ", \"args\": [";
    for (std::size_t i = 0; i < args.size(); ++i) {
        out += (i == 0 ? "" : ", ") + args[i].Json();
    }
    out += "], \"result\": " + result.Json();
    if (dispatchId) {
        out += ", \"dispid\": " + std::to_string(*dispatchId);
    }
    return out + "}";
}

void Journal::Record(JournalEntry entry) {
    const std::lock_guard guard(lock);
    entries.push_back(std::move(entry));
}

std::vector<JournalEntry> Journal::Entries() const {
    const std::lock_guard guard(lock);
    return {entries.begin(), entries.end()};
}

std::vector<JournalEntry> Journal::EntriesFrom(std::size_t first) const {
    const std::lock_guard guard(lock);
    if (first >= entries.size()) {
        return {};
    }
    return {entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end()};
}

std::vector<JournalEntry> Journal::Calls(std::string_view call) const {
    const std::lock_guard guard(lock);
    std::vector<JournalEntry> found;
    for (const auto& entry : entries) {
        if (entry.call == call) {
            found.push_back(entry);
        }
    }
    return found;
}

std::string Journal::JsonLines() const {
    const std::lock_guard guard(lock);
    std::string out;
    for (const auto& entry : entries) {
        out += entry.Json() + "\n";
    }
    return out;
}

void Journal::Clear() {
    const std::lock_guard guard(lock);
    entries.clear();
}

} // namespace sim
