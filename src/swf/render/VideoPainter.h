// Draws a video object: the picture of its frame stretched over the
// stream's rectangle (its width and height in pixels, from the object's
// origin), through the object's matrix and colour transformation, smoothed when
// the stream asks.
#pragma once

#include "swf/render/ShapePainter.h"
#include "swf/render/VideoPictures.h"

namespace swf {

void PaintVideo(const PaintContext& context, VideoPictures& videos, const Character& video,
                std::size_t frame, const Affine& toDevice, const ColorMath& color);

// The stream's rectangle in twips; empty when the stream does not read.
Rect VideoBounds(VideoPictures& videos, const Character& video);

} // namespace swf
