#include "swf/format/ClipActions.h"

#include "swf/base/ByteReader.h"

namespace swf {

std::vector<ClipActionRecord> ReadClipActions(std::span<const std::uint8_t> clipActions,
                                              std::uint8_t swfVersion) {
    std::vector<ClipActionRecord> records;
    ByteReader reader(clipActions);
    const bool wideFlags = swfVersion >= 6;
    const auto flags = [&] { return wideFlags ? reader.U32() : std::uint32_t{reader.U16()}; };
    reader.U16(); // reserved
    flags();      // every event of the records together
    while (reader.Ok() && !reader.AtEnd()) {
        ClipActionRecord record;
        record.events = flags();
        if (!reader.Ok() || record.events == 0) {
            break;
        }
        const std::uint32_t size = reader.U32();
        ByteReader body = reader.Sub(size);
        if (!reader.Ok()) {
            break;
        }
        if (record.Handles(ClipEvent::KeyPress)) {
            record.keyCode = body.U8();
        }
        record.actions = body.Rest();
        if (!body.Ok()) {
            break;
        }
        records.push_back(record);
    }
    return records;
}

} // namespace swf
