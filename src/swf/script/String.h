// A script string: immutable bytes in the heap. A movie of SWF 6 or later
// means UTF-8 by them; an SWF 5 movie means one character per byte, in the
// system code page (Windows-1252 on the device). The bytes are kept as the
// movie gave them and each operation reads them by the version of the code
// that runs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "swf/script/Heap.h"

namespace swf::script {

class String : public Cell {
public:
    explicit String(std::string bytes);

    std::string_view View() const { return bytes; }
    const std::string& Bytes() const { return bytes; }
    std::size_t Size() const { return bytes.size(); }
    bool Empty() const { return bytes.empty(); }
    bool IsAscii() const { return ascii; }
    std::size_t Hash() const { return hash; }

    // For strings from the intern table: the interned string with ASCII
    // letters lowered, which case-insensitive lookups compare (itself when
    // it has no upper-case letters). Null for strings not interned.
    String* Folded() const { return folded; }
    bool Interned() const { return interned; }

    void Trace(Tracer& tracer) const override;
    std::size_t Footprint() const override { return sizeof(String) + bytes.capacity(); }

private:
    friend class StringTable;
    std::string bytes;
    std::size_t hash = 0;
    String* folded = nullptr;
    bool ascii = true;
    bool interned = false;
};

// One string per distinct content for names: property and variable names
// are interned so that a lookup compares pointers. The table is weak: a
// name no longer used anywhere is freed with the rest.
class StringTable : public Heap::WeakTable {
public:
    explicit StringTable(Heap& heap);
    ~StringTable() override = default;

    String* Intern(std::string_view bytes);
    String* Intern(String* string);
    void DropUnmarked() override;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>()(s);
        }
    };
    Heap& heap;
    std::unordered_map<std::string_view, String*, Hash, std::equal_to<>> table;
};

} // namespace swf::script
