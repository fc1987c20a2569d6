// Readers for the definition tags that are neither shapes nor text: bitmaps
// and buttons, and the small tags that complete a button.
#pragma once

#include <cstdint>

#include "swf/base/ByteReader.h"
#include "swf/base/Result.h"
#include "swf/format/CharacterModel.h"

namespace swf {

// DefineBits, DefineBitsJPEG2/3/4, DefineBitsLossless and DefineBitsLossless2,
// told apart by the tag code.
Result<Character> ReadBitmapTag(ByteReader reader, std::uint16_t code);
// DefineButton (version 1) or DefineButton2 (2).
Result<Character> ReadDefineButton(ByteReader reader, std::uint8_t version);

struct ButtonColorTransform {
    CharacterId buttonId = 0;
    ColorTransform colorTransform;
};
Result<ButtonColorTransform> ReadDefineButtonCxform(ByteReader reader);

} // namespace swf
