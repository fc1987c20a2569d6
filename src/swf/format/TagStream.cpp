#include "swf/format/TagStream.h"

#include "swf/format/DefinitionReader.h"
#include "swf/format/DisplayTagReader.h"
#include "swf/format/ModelSize.h"
#include "swf/format/Records.h"
#include "swf/format/ShapeReader.h"
#include "swf/format/TagCodes.h"
#include "swf/format/TextReader.h"

namespace swf {

std::optional<TagView> NextTag(ByteReader& reader, std::size_t* needed) {
    ByteReader peek = reader;
    const std::uint16_t head = peek.U16();
    std::size_t length = head & 0x3F;
    if (length == 0x3F) {
        length = peek.U32();
    }
    if (!peek.Ok()) {
        return std::nullopt;
    }
    const std::size_t headerSize = peek.Position() - reader.Position();
    if (needed != nullptr) {
        *needed = headerSize + length;
    }
    if (length > peek.Remaining()) {
        return std::nullopt;
    }
    TagView tag;
    tag.code = static_cast<std::uint16_t>(head >> 6);
    tag.offset = peek.Offset();
    tag.body = peek.Bytes(length);
    reader = peek;
    return tag;
}

RawTag Keep(const TagView& tag) {
    return RawTag{tag.code, tag.offset, {tag.body.begin(), tag.body.end()}};
}

Result<bool> TimelineBuilder::Add(const TagView& tag) {
    ByteReader reader(tag.body, tag.offset);
    switch (tag.code) {
    case tag::ShowFrame:
        if (timeline.frames.size() >= MaxTimelineFrames) {
            return Error{"more frames than a timeline may have", tag.offset};
        }
        bytes += sizeof(Frame);
        timeline.frames.push_back(std::move(pending));
        pending = Frame{};
        pendingUsed = false;
        return true;
    case tag::PlaceObject:
    case tag::PlaceObject2:
    case tag::PlaceObject3: {
        const std::uint8_t version = tag.code == tag::PlaceObject    ? 1
                                     : tag.code == tag::PlaceObject2 ? 2
                                                                     : 3;
        auto place = ReadPlaceObject(reader, version);
        if (!place) {
            return place.GetError();
        }
        pending.displayTags.emplace_back(std::move(place).Value());
        bytes += ApproximateSize(pending.displayTags.back());
        break;
    }
    case tag::RemoveObject:
    case tag::RemoveObject2: {
        auto remove = ReadRemoveObject(reader, tag.code == tag::RemoveObject ? 1 : 2);
        if (!remove) {
            return remove.GetError();
        }
        pending.displayTags.emplace_back(remove.Value());
        bytes += ApproximateSize(pending.displayTags.back());
        break;
    }
    case tag::FrameLabel: {
        std::string label = reader.String();
        if (!reader.Ok()) {
            return reader.Failure("frame label");
        }
        bytes += sizeof(std::string) + label.size();
        pending.labels.push_back(std::move(label));
        break;
    }
    default:
        if (tag::IsActionTag(tag.code)) {
            pending.actionTags.push_back(Keep(tag));
            pending.actionTagPositions.push_back(pending.displayTags.size());
            bytes += ApproximateSize(pending.actionTags.back());
        } else if (tag::IsSoundTag(tag.code)) {
            pending.soundTags.push_back(Keep(tag));
            bytes += ApproximateSize(pending.soundTags.back());
        } else {
            return false;
        }
        break;
    }
    pendingUsed = true;
    if (bytes > maxBytes) {
        return Error{"the movie needs more memory than the limit of " + std::to_string(maxBytes) +
                         " bytes",
                     tag.offset};
    }
    return true;
}

void TimelineBuilder::End() {
    if (pendingUsed) {
        timeline.frames.push_back(std::move(pending));
        pending = Frame{};
        pendingUsed = false;
    }
}

namespace {

// Sounds, video streams and binary data: kept whole under their id.
Result<Character> KeepWhole(const TagView& tag, ByteReader reader) {
    Character character;
    character.id = reader.U16();
    if (!reader.Ok()) {
        return reader.Failure(std::string(tag::Name(tag.code)));
    }
    character.data = RawCharacter{Keep(tag)};
    return character;
}

// Every tag that defines a character, with how its body is read.
struct DefinitionTag {
    std::uint16_t code;
    Result<Character> (*read)(const TagView& tag, ByteReader reader, std::size_t maxBytes);
};

constexpr DefinitionTag definitionTags[] = {
    {tag::DefineShape,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineShape(r, 1); }},
    {tag::DefineShape2,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineShape(r, 2); }},
    {tag::DefineShape3,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineShape(r, 3); }},
    {tag::DefineShape4,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineShape(r, 4); }},
    {tag::DefineMorphShape,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineMorphShape(r, 1); }},
    {tag::DefineMorphShape2,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineMorphShape(r, 2); }},
    {tag::DefineBits,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineBitsJpeg2,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineBitsJpeg3,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineBitsJpeg4,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineBitsLossless,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineBitsLossless2,
     [](const TagView& t, ByteReader r, std::size_t) { return ReadBitmapTag(r, t.code); }},
    {tag::DefineFont,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineFont(r, 1); }},
    {tag::DefineFont2,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineFont(r, 2); }},
    {tag::DefineFont3,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineFont(r, 3); }},
    {tag::DefineText,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineText(r, 1); }},
    {tag::DefineText2,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineText(r, 2); }},
    {tag::DefineEditText,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineEditText(r); }},
    {tag::DefineButton,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineButton(r, 1); }},
    {tag::DefineButton2,
     [](const TagView&, ByteReader r, std::size_t) { return ReadDefineButton(r, 2); }},
    {tag::DefineSprite, [](const TagView&, ByteReader r,
                           std::size_t maxBytes) { return ReadDefineSprite(r, maxBytes); }},
    {tag::DefineSound, [](const TagView& t, ByteReader r, std::size_t) { return KeepWhole(t, r); }},
    {tag::DefineVideoStream,
     [](const TagView& t, ByteReader r, std::size_t) { return KeepWhole(t, r); }},
    {tag::DefineBinaryData,
     [](const TagView& t, ByteReader r, std::size_t) { return KeepWhole(t, r); }},
};

const DefinitionTag* FindDefinitionTag(std::uint16_t code) {
    for (const DefinitionTag& entry : definitionTags) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

template <typename T>
T* FindData(Movie& movie, CharacterId id) {
    const auto found = movie.dictionary.find(id);
    return found == movie.dictionary.end() ? nullptr : std::get_if<T>(&found->second.data);
}

} // namespace

bool IsDefinitionTag(std::uint16_t code) {
    return FindDefinitionTag(code) != nullptr;
}

Result<Character> ReadDefinition(const TagView& tag, std::size_t maxBytes) {
    const DefinitionTag* entry = FindDefinitionTag(tag.code);
    if (entry == nullptr) {
        return Error{"not a definition tag", tag.offset};
    }
    auto character = entry->read(tag, ByteReader(tag.body, tag.offset), maxBytes);
    if (character) {
        character.Value().tagCode = tag.code;
    }
    return character;
}

Result<std::size_t> AddMovieTag(Movie& movie, const TagView& tag, std::size_t maxBytes) {
    ByteReader reader(tag.body, tag.offset);
    if (IsDefinitionTag(tag.code)) {
        auto character = ReadDefinition(tag, maxBytes);
        if (!character) {
            return character.GetError();
        }
        const CharacterId id = character.Value().id;
        const std::size_t size = ApproximateSize(character.Value());
        if (size > maxBytes) {
            return Error{"the movie needs more memory than the limit", tag.offset};
        }
        // The first definition of an id stands, as players keep it.
        const bool added = movie.dictionary.try_emplace(id, std::move(character).Value()).second;
        return added ? size : 0;
    }
    switch (tag.code) {
    case tag::SetBackgroundColor:
        movie.backgroundColor = ReadRgb(reader);
        break;
    case tag::JpegTables:
        if (movie.jpegTables.empty() && tag.body.size() <= maxBytes) {
            const auto bytes = reader.Rest();
            movie.jpegTables.assign(bytes.begin(), bytes.end());
        }
        break;
    case tag::FileAttributes:
        movie.fileAttributes = reader.U32();
        break;
    case tag::DefineFontInfo:
    case tag::DefineFontInfo2: {
        auto info = ReadDefineFontInfo(reader, tag.code == tag::DefineFontInfo ? 1 : 2);
        if (!info) {
            return info.GetError();
        }
        if (Font* font = FindData<Font>(movie, info.Value().fontId)) {
            ApplyFontInfo(*font, info.Value());
        }
        return info.Value().name.size();
    }
    case tag::DefineButtonCxform: {
        auto cxform = ReadDefineButtonCxform(reader);
        if (!cxform) {
            return cxform.GetError();
        }
        if (Button* button = FindData<Button>(movie, cxform.Value().buttonId)) {
            button->legacyColorTransform = cxform.Value().colorTransform;
        }
        return 0;
    }
    case tag::CsmTextSettings: {
        const CharacterId id = reader.U16();
        TextRendering rendering;
        const std::uint8_t flags = reader.U8();
        rendering.advanced = (flags >> 6) == 1;
        rendering.gridFit = static_cast<std::uint8_t>((flags >> 3) & 7);
        rendering.thickness = reader.Float();
        rendering.sharpness = reader.Float();
        if (!reader.Ok()) {
            break;
        }
        if (Text* text = FindData<Text>(movie, id)) {
            text->rendering = rendering;
        } else if (EditText* field = FindData<EditText>(movie, id)) {
            field->rendering = rendering;
        }
        return 0;
    }
    case tag::DefineButtonSound: {
        const CharacterId id = reader.U16();
        if (Button* button = FindData<Button>(movie, id)) {
            button->soundTagBody.assign(tag.body.begin(), tag.body.end());
        }
        break;
    }
    default:
        if (tag.body.size() > maxBytes) {
            return Error{"the movie needs more memory than the limit", tag.offset};
        }
        movie.otherTags.push_back(Keep(tag));
        return ApproximateSize(movie.otherTags.back());
    }
    if (!reader.Ok()) {
        return reader.Failure(std::string(tag::Name(tag.code)));
    }
    return tag.body.size();
}

Result<Character> ReadDefineSprite(ByteReader reader, std::size_t maxBytes) {
    Character character;
    character.id = reader.U16();
    Sprite sprite;
    sprite.timeline.declaredFrameCount = reader.U16();
    const std::string context = "sprite " + std::to_string(character.id);
    if (!reader.Ok()) {
        return reader.Failure(context);
    }
    TimelineBuilder builder(sprite.timeline, maxBytes);
    std::size_t videoBytes = 0;
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Offset();
        const auto tag = NextTag(reader);
        if (!tag) {
            return Error{context + ": truncated tag", at};
        }
        if (tag->code == tag::End) {
            break;
        }
        auto added = builder.Add(*tag);
        if (!added) {
            return Error{context + ": " + added.GetError().message, added.GetError().offset};
        }
        if (!*added && tag->code == tag::VideoFrame) {
            videoBytes += tag->body.size();
            if (videoBytes > maxBytes) {
                return Error{context + ": the movie needs more memory than the limit", at};
            }
            sprite.videoFrames.push_back(Keep(*tag));
        }
        // Definitions have no place inside a sprite; players skip them.
    }
    builder.End();
    character.data = std::move(sprite);
    return character;
}

} // namespace swf
