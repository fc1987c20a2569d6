#include "swf/render/MovieView.h"

#include <cairo.h>

#include "swf/render/RenderCache.h"
#include "swf/render/Renderer.h"

namespace swf {

struct MovieView::Picture {
    explicit Picture(const Movie& movie) : renderer(movie) {}

    MovieRenderer renderer;
    SurfacePtr surface;
    ViewSettings settings;
    // What the picture shows: the player and its version then.
    const MoviePlayer* player = nullptr;
    std::uint64_t version = 0;
    bool valid = false;
};

MovieView::MovieView(const Movie& movie)
    : movie(movie), picture(std::make_unique<Picture>(movie)) {}

MovieView::~MovieView() = default;

bool MovieView::Update(const MoviePlayer& player, const ViewSettings& settings) {
    if (settings.width <= 0 || settings.height <= 0 || settings.width > MaxViewSide ||
        settings.height > MaxViewSide ||
        static_cast<long long>(settings.width) * settings.height > MaxViewPixels) {
        return false;
    }
    Picture& p = *picture;
    if (p.valid && p.settings == settings && p.player == &player && p.version == player.Version()) {
        ++skipped;
        return false;
    }
    if (!p.surface || p.settings.width != settings.width || p.settings.height != settings.height) {
        p.surface.reset(
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, settings.width, settings.height));
        if (cairo_surface_status(p.surface.get()) != CAIRO_STATUS_SUCCESS) {
            p.surface.reset();
            p.valid = false;
            return false;
        }
    }
    const StagePlacement placement =
        PlaceStage(movie.header.frameSize, settings.width, settings.height, settings.scaleMode);
    cairo_t* cr = cairo_create(p.surface.get());
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
    p.renderer.RenderFrame(cr, player.Root(), placement.twipsToDevice, placement.stageScale);
    cairo_destroy(cr);
    cairo_surface_flush(p.surface.get());
    p.settings = settings;
    p.player = &player;
    p.version = player.Version();
    p.valid = true;
    ++rendered;
    return true;
}

void MovieView::Invalidate() {
    picture->valid = false;
}

int MovieView::Width() const {
    return picture->surface ? cairo_image_surface_get_width(picture->surface.get()) : 0;
}

int MovieView::Height() const {
    return picture->surface ? cairo_image_surface_get_height(picture->surface.get()) : 0;
}

std::span<const std::uint32_t> MovieView::Pixels() const {
    if (!picture->surface) {
        return {};
    }
    // ARGB32 rows are whole words, so the stride is the width.
    const auto* data = reinterpret_cast<const std::uint32_t*>(
        cairo_image_surface_get_data(picture->surface.get()));
    return {data, static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height())};
}

std::uint32_t MovieView::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return 0;
    }
    return Pixels()[static_cast<std::size_t>(y) * Width() + x];
}

Result<bool> MovieView::WritePng(const std::string& path) const {
    if (!picture->surface) {
        return Error{"no picture has been rendered"};
    }
    const cairo_status_t status = cairo_surface_write_to_png(picture->surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        return Error{path + ": " + cairo_status_to_string(status)};
    }
    return true;
}

std::string MovieView::BitmapProblems() const {
    std::string problems;
    for (const auto& [id, character] : movie.dictionary) {
        if (const auto error = picture->renderer.Cache().BitmapError(id)) {
            problems += "bitmap " + std::to_string(id) + ": " + *error + "\n";
        }
    }
    return problems;
}

} // namespace swf
