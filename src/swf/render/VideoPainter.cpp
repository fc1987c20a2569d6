#include "swf/render/VideoPainter.h"

namespace swf {

Rect VideoBounds(VideoPictures& videos, const Character& video) {
    const VideoStream* stream = videos.Stream(video);
    if (stream == nullptr) {
        return {};
    }
    return Rect{0, static_cast<Twips>(stream->width) * 20, 0,
                static_cast<Twips>(stream->height) * 20};
}

void PaintVideo(const PaintContext& context, VideoPictures& videos, const Character& video,
                std::size_t frame, const Affine& toDevice, const ColorMath& color) {
    const VideoStream* stream = videos.Stream(video);
    cairo_surface_t* picture = videos.Picture(video, frame);
    if (stream == nullptr || picture == nullptr || stream->width == 0 || stream->height == 0) {
        return;
    }
    SurfacePtr transformed;
    if (!color.IsIdentity() && !context.maskOnly) {
        transformed = TransformSurface(picture, color);
        if (!transformed) {
            return;
        }
        picture = transformed.get();
    }
    cairo_t* cr = context.cr;
    cairo_save(cr);
    const cairo_matrix_t matrix = ToCairo(toDevice);
    cairo_transform(cr, &matrix);
    cairo_rectangle(cr, 0, 0, stream->width * 20.0, stream->height * 20.0);
    if (context.maskOnly) {
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
    } else {
        cairo_scale(cr, stream->width * 20.0 / cairo_image_surface_get_width(picture),
                    stream->height * 20.0 / cairo_image_surface_get_height(picture));
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr),
                                 stream->smoothing ? CAIRO_FILTER_GOOD : CAIRO_FILTER_FAST);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace swf
