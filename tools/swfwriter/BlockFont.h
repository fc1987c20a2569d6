// A small font of square blocks (5 by 7 cells): capitals, digits and a few
// signs, with lower-case letters drawn as capitals. It lets movies carry text
// with an embedded font without any font file.
#pragma once

#include <vector>

#include "swfwriter/MovieWriter.h"

namespace swfwriter {

// Glyphs in units of 1024 per em; the baseline is y = 0, capitals reach
// y = -896, and every glyph advances 768.
std::vector<FontGlyph> BlockFontGlyphs();

} // namespace swfwriter
