#include "swf/format/DefinitionReader.h"

#include "swf/format/ModelSize.h"
#include "swf/format/Records.h"
#include "swf/format/TagCodes.h"

namespace swf {

namespace {

std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

} // namespace

Result<Character> ReadBitmapTag(ByteReader reader, std::uint16_t code) {
    Character character;
    character.id = reader.U16();
    Bitmap bitmap;
    switch (code) {
    case tag::DefineBits:
        bitmap.kind = BitmapKind::JpegWithSharedTables;
        bitmap.imageData = Copy(reader.Rest());
        break;
    case tag::DefineBitsJpeg2:
        bitmap.kind = BitmapKind::Jpeg;
        bitmap.imageData = Copy(reader.Rest());
        break;
    case tag::DefineBitsJpeg3:
    case tag::DefineBitsJpeg4: {
        bitmap.kind = BitmapKind::JpegWithAlpha;
        const std::uint32_t alphaOffset = reader.U32();
        if (code == tag::DefineBitsJpeg4) {
            bitmap.deblocking = reader.U16() / 256.0;
        }
        bitmap.imageData = Copy(reader.Bytes(alphaOffset));
        bitmap.alphaData = Copy(reader.Rest());
        break;
    }
    case tag::DefineBitsLossless:
    case tag::DefineBitsLossless2:
        bitmap.kind =
            code == tag::DefineBitsLossless ? BitmapKind::Lossless : BitmapKind::LosslessWithAlpha;
        bitmap.losslessFormat = reader.U8();
        bitmap.width = reader.U16();
        bitmap.height = reader.U16();
        if (bitmap.losslessFormat == 3) {
            bitmap.colorTableSize = static_cast<std::uint16_t>(reader.U8() + 1);
        } else if (bitmap.losslessFormat != 4 && bitmap.losslessFormat != 5) {
            reader.Fail("unknown lossless bitmap format");
        }
        bitmap.imageData = Copy(reader.Rest());
        break;
    default:
        reader.Fail("not a bitmap tag");
        break;
    }
    if (!reader.Ok()) {
        return reader.Failure("bitmap " + std::to_string(character.id));
    }
    character.data = std::move(bitmap);
    return character;
}

Result<Character> ReadDefineButton(ByteReader reader, std::uint8_t version) {
    Character character;
    character.id = reader.U16();
    Button button;
    button.version = version;
    if (version >= 2) {
        button.trackAsMenu = (reader.U8() & 0x01) != 0;
        reader.U16(); // offset of the actions, which follow the records anyway
    }
    while (reader.Ok()) {
        const std::uint8_t flags = reader.U8();
        if (flags == 0) {
            break;
        }
        if (button.records.size() >= MaxListEntries) {
            reader.Fail("more records than a button may have");
            break;
        }
        ButtonRecord record;
        record.hitTest = (flags & 0x08) != 0;
        record.down = (flags & 0x04) != 0;
        record.over = (flags & 0x02) != 0;
        record.up = (flags & 0x01) != 0;
        record.characterId = reader.U16();
        record.depth = reader.U16();
        record.matrix = ReadMatrix(reader);
        if (version >= 2) {
            record.colorTransform = ReadColorTransform(reader, true);
            if (flags & 0x10) {
                record.filters = ReadFilterList(reader);
            }
            if (flags & 0x20) {
                record.blendMode = reader.U8();
            }
        }
        button.records.push_back(std::move(record));
    }
    button.actions = Copy(reader.Rest());
    if (!reader.Ok()) {
        return reader.Failure("button " + std::to_string(character.id));
    }
    character.data = std::move(button);
    return character;
}

Result<ButtonColorTransform> ReadDefineButtonCxform(ByteReader reader) {
    ButtonColorTransform result;
    result.buttonId = reader.U16();
    result.colorTransform = ReadColorTransform(reader, false);
    if (!reader.Ok()) {
        return reader.Failure("button colour change");
    }
    return result;
}

} // namespace swf
