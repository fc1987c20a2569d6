#include "swf/format/DisplayTagReader.h"

#include "swf/format/Records.h"

namespace swf {

Result<PlaceObject> ReadPlaceObject(ByteReader reader, std::uint8_t version) {
    PlaceObject place;
    place.version = version;
    if (version == 1) {
        place.characterId = reader.U16();
        place.depth = reader.U16();
        place.matrix = ReadMatrix(reader);
        if (reader.Ok() && reader.Remaining() > 0) {
            place.colorTransform = ReadColorTransform(reader, false);
        }
    } else {
        const std::uint8_t flags = reader.U8();
        const std::uint8_t flags2 = version >= 3 ? reader.U8() : 0;
        place.move = (flags & 0x01) != 0;
        place.depth = reader.U16();
        const bool hasCharacter = (flags & 0x02) != 0;
        const bool hasImage = (flags2 & 0x10) != 0;
        if ((flags2 & 0x08) != 0 || (hasImage && hasCharacter)) {
            place.className = reader.String();
        }
        if (hasCharacter) {
            place.characterId = reader.U16();
        }
        if (flags & 0x04) {
            place.matrix = ReadMatrix(reader);
        }
        if (flags & 0x08) {
            place.colorTransform = ReadColorTransform(reader, true);
        }
        if (flags & 0x10) {
            place.ratio = reader.U16();
        }
        if (flags & 0x20) {
            place.name = reader.String();
        }
        if (flags & 0x40) {
            place.clipDepth = reader.U16();
        }
        if (flags2 & 0x01) {
            place.filters = ReadFilterList(reader);
        }
        if (flags2 & 0x02) {
            place.blendMode = reader.U8();
        }
        if (flags2 & 0x04) {
            place.cacheAsBitmap = reader.U8() != 0;
        }
        if (flags2 & 0x20) {
            place.visible = reader.U8() != 0;
        }
        if (flags2 & 0x40) {
            place.backgroundColor = ReadRgba(reader);
        }
        if (flags & 0x80) {
            const auto rest = reader.Rest();
            place.clipActions.assign(rest.begin(), rest.end());
        }
    }
    if (!reader.Ok()) {
        return reader.Failure("place object at depth " + std::to_string(place.depth));
    }
    return place;
}

Result<RemoveObject> ReadRemoveObject(ByteReader reader, std::uint8_t version) {
    RemoveObject remove;
    if (version == 1) {
        remove.characterId = reader.U16();
    }
    remove.depth = reader.U16();
    if (!reader.Ok()) {
        return reader.Failure("remove object");
    }
    return remove;
}

} // namespace swf
