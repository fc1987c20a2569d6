// Readers for shapes, morph shapes and glyph outlines.
#pragma once

#include <cstdint>
#include <vector>

#include "swf/base/ByteReader.h"
#include "swf/base/Result.h"
#include "swf/format/CharacterModel.h"
#include "swf/format/ShapeModel.h"

namespace swf {

// The body of DefineShape, DefineShape2, 3 or 4 (version 1 to 4).
Result<Character> ReadDefineShape(ByteReader reader, std::uint8_t version);
// The body of DefineMorphShape (version 1) or DefineMorphShape2 (version 2).
Result<Character> ReadDefineMorphShape(ByteReader reader, std::uint8_t version);
// A SHAPE without style arrays (a glyph outline). Reads to the end of the
// reader's range at most.
Shape ReadGlyphShape(ByteReader& reader);

} // namespace swf
