// Paints text: DefineText records glyph by glyph with their fonts, colours
// and advances, and DefineEditText fields laid out in their box, with the
// movie's embedded font or with one of the device's fonts.
#pragma once

#include "swf/format/Movie.h"
#include "swf/render/FieldText.h"
#include "swf/render/RenderCache.h"
#include "swf/render/ShapePainter.h"

namespace swf {

void PaintText(const PaintContext& context, RenderCache& cache, const Movie& movie,
               const Text& text, const Affine& toDevice, const ColorMath& color);

void PaintEditText(const PaintContext& context, RenderCache& cache, const Movie& movie,
                   const EditText& field, const Affine& toDevice, const ColorMath& color);

} // namespace swf
