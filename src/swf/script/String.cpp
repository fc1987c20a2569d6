#include "swf/script/String.h"

#include <vector>

namespace swf::script {

String::String(std::string content) : bytes(std::move(content)) {
    hash = std::hash<std::string_view>()(bytes);
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
}

void String::Trace(Tracer& tracer) const {
    if (folded && folded != this) {
        tracer.Visit(folded);
    }
}

StringTable::StringTable(Heap& heap) : heap(heap) {
    heap.AddWeakTable(this);
}

String* StringTable::Intern(std::string_view bytes) {
    const auto found = table.find(bytes);
    if (found != table.end()) {
        return found->second;
    }
    String* string = heap.Make<String>(std::string(bytes));
    string->interned = true;
    table.emplace(string->View(), string);
    std::string lowered(bytes);
    bool changed = false;
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
            changed = true;
        }
    }
    string->folded = changed ? Intern(lowered) : string;
    return string;
}

String* StringTable::Intern(String* string) {
    if (string->interned) {
        return string;
    }
    return Intern(string->View());
}

void StringTable::DropUnmarked() {
    std::erase_if(table, [](const auto& entry) { return !Heap::IsMarked(entry.second); });
}

} // namespace swf::script
