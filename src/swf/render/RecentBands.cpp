#include "swf/render/RecentBands.h"

#include <algorithm>

namespace swf {

const std::uint32_t* RecentBands::Find(const std::vector<StageItem>& items, int top, int height,
                                       int width) const {
    for (const Band& band : bands) {
        if (band.width == width && band.top <= top && top + height <= band.top + band.height &&
            band.items == items) {
            return band.pixels.data() + static_cast<std::size_t>(top - band.top) * width;
        }
    }
    return nullptr;
}

void RecentBands::Keep(const std::vector<StageItem>& items, int top, int height, int width,
                       const std::uint32_t* rows, int stride) {
    const std::size_t size = static_cast<std::size_t>(width) * height;
    if (width <= 0 || height <= 0 || size * sizeof(std::uint32_t) > budget) {
        return;
    }
    while (!bands.empty() &&
           (bytes + size * sizeof(std::uint32_t) > budget || bands.size() >= MaxBands)) {
        bytes -= bands.front().pixels.size() * sizeof(std::uint32_t);
        bands.pop_front();
    }
    Band band{items, top, height, width, std::vector<std::uint32_t>(size)};
    for (int y = 0; y < height; ++y) {
        std::copy_n(rows + static_cast<std::size_t>(y) * stride, width,
                    band.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    bytes += size * sizeof(std::uint32_t);
    bands.push_back(std::move(band));
}

void RecentBands::Clear() {
    bands.clear();
    bytes = 0;
}

} // namespace swf
