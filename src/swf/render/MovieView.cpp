#include "swf/render/MovieView.h"

#include <cairo.h>

#include <algorithm>
#include <vector>

#include "swf/render/RecentBands.h"
#include "swf/render/RenderCache.h"
#include "swf/render/Renderer.h"

namespace swf {
namespace {

// Pixels around an object's declared bounds that its drawing may still
// touch: antialiasing, and hairlines drawn a pixel wide whatever the scale.
constexpr int DamageMargin = 2;

// Past this share of the picture, drawing it whole costs no more.
constexpr double WholeShare = 0.7;

// The rows kept of pictures drawn in part, in whole pictures' worth.
constexpr std::size_t KeptPictures = 4;

// The rectangles that differ between two frames' items: both the old and
// the new pixels of every object that changed, appeared or went.
std::vector<PixelRect> Damage(const std::vector<StageItem>& before,
                              const std::vector<StageItem>& after, const PixelRect& picture) {
    std::vector<PixelRect> damage;
    const auto add = [&](const PixelRect& pixels) {
        const PixelRect grown{pixels.x - DamageMargin, pixels.y - DamageMargin,
                              pixels.width + 2 * DamageMargin, pixels.height + 2 * DamageMargin};
        if (const PixelRect cut = pixels.Empty() ? PixelRect{} : grown.Intersect(picture);
            !cut.Empty()) {
            damage.push_back(cut);
        }
    };
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i < before.size() && i < after.size() && before[i] == after[i]) {
            continue;
        }
        if (i < before.size()) {
            add(before[i].pixels);
        }
        if (i < after.size()) {
            add(after[i].pixels);
        }
    }
    return damage;
}

long long Area(const std::vector<PixelRect>& rects) {
    long long area = 0;
    for (const PixelRect& rect : rects) {
        area += static_cast<long long>(rect.width) * rect.height;
    }
    return area;
}

} // namespace

struct MovieView::Picture {
    explicit Picture(const Movie& movie) : renderer(movie) {}

    // Renders the frame into the surface, only into band's rows when given.
    void Render(const MoviePlayer& player, const StagePlacement& placement, const PixelRect* band) {
        cairo_t* cr = cairo_create(surface.get());
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
        if (band != nullptr) {
            cairo_rectangle(cr, 0, band->y, cairo_image_surface_get_width(surface.get()),
                            band->height);
            cairo_clip(cr);
        }
        renderer.RenderFrame(cr, player.Root(), placement.twipsToDevice, placement.stageScale);
        cairo_destroy(cr);
        cairo_surface_flush(surface.get());
    }

    // Rows [top, top + height) as an earlier picture of a stage holding
    // items showed them, copied in; false when none are kept.
    bool CopyKeptRows(const std::vector<StageItem>& stage, int top, int height) {
        const std::uint32_t* kept = bands.Find(stage, top, height, Width());
        if (kept == nullptr) {
            return false;
        }
        cairo_surface_flush(surface.get());
        for (int y = 0; y < height; ++y) {
            std::copy_n(kept + static_cast<std::size_t>(y) * Width(), Width(), Row(top + y));
        }
        cairo_surface_mark_dirty(surface.get());
        return true;
    }

    void KeepRows(const std::vector<StageItem>& stage, int top, int height) {
        bands.Keep(stage, top, height, Width(), Row(top), Stride());
    }

    int Width() const { return cairo_image_surface_get_width(surface.get()); }
    int Stride() const {
        return cairo_image_surface_get_stride(surface.get()) /
               static_cast<int>(sizeof(std::uint32_t));
    }
    std::uint32_t* Row(int y) {
        return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface.get())) +
               static_cast<std::size_t>(y) * Stride();
    }

    MovieRenderer renderer;
    RecentBands bands{0};
    SurfacePtr surface;
    ViewSettings settings;
    // What the picture shows: the player and its version then.
    const MoviePlayer* player = nullptr;
    std::uint64_t version = 0;
    bool valid = false;
    // What the picture shows, object by object, when it can be drawn in
    // part; empty otherwise.
    std::vector<StageItem> items;
    bool partial = false;
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
        p.bands = RecentBands(KeptPictures * static_cast<std::size_t>(settings.width) *
                              settings.height * sizeof(std::uint32_t));
    }
    const StagePlacement placement =
        PlaceStage(movie.header.frameSize, settings.width, settings.height, settings.scaleMode);
    // Only what changed since the picture before is drawn again: the
    // objects of the main timeline are compared with those the picture
    // shows, and the frame is drawn clipped to the rows that those that
    // differ may touch (every object there, from the background up, as a
    // whole frame draws them), or not at all when none does. Rows drawn so
    // are kept: when the stage comes back to what it held then, they are
    // copied rather than drawn.
    std::vector<StageItem> items;
    const bool partial = p.renderer.MeasureStage(player.Root(), placement.twipsToDevice,
                                                 placement.stageScale, items);
    const PixelRect whole{0, 0, settings.width, settings.height};
    const bool samePicture =
        p.valid && p.partial && partial && p.settings == settings && p.player == &player;
    const std::vector<PixelRect> damage =
        samePicture ? Damage(p.items, items, whole) : std::vector<PixelRect>{whole};
    const bool drawn = !damage.empty();
    if (!(p.settings == settings && p.player == &player)) {
        p.bands.Clear();
    }
    if (drawn) {
        if (samePicture && Area(damage) < WholeShare * double(settings.width) * settings.height) {
            // One band of whole rows: the picture's spans start where a
            // whole frame's do, so gradients and edges come out the same.
            PixelRect box = damage.front();
            for (const PixelRect& rect : damage) {
                box = box.Union(rect);
            }
            if (p.CopyKeptRows(items, box.y, box.height)) {
                ++copied;
            } else {
                p.Render(player, placement, &box);
                p.KeepRows(items, box.y, box.height);
            }
        } else {
            p.Render(player, placement, nullptr);
        }
    }
    p.items = partial ? std::move(items) : std::vector<StageItem>{};
    p.partial = partial;
    p.settings = settings;
    p.player = &player;
    p.version = player.Version();
    p.valid = true;
    ++rendered;
    return drawn;
}

void MovieView::Invalidate() {
    picture->valid = false;
    picture->partial = false;
    picture->bands.Clear();
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
