// Rows of pictures a view drew in part, kept with what the stage held when
// they were drawn. Two stages whose objects have the same items look the
// same, so a stage that comes back to an earlier state (a clip looping on
// a stopped timeline) has its rows copied rather than drawn again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "swf/render/Renderer.h"

namespace swf {

class RecentBands {
public:
    static constexpr std::size_t MaxBands = 64;

    // Keeps no more than budgetBytes of pixels in no more than MaxBands
    // bands (each a look-up compares); the oldest rows go first.
    explicit RecentBands(std::size_t budgetBytes) : budget(budgetBytes) {}

    // The rows [top, top + height) of a picture width pixels wide as the
    // stage showed them when it held items, or nullptr when none are kept.
    const std::uint32_t* Find(const std::vector<StageItem>& items, int top, int height,
                              int width) const;

    // rows are height rows of width pixels, stride pixels apart.
    void Keep(const std::vector<StageItem>& items, int top, int height, int width,
              const std::uint32_t* rows, int stride);

    void Clear();

private:
    struct Band {
        std::vector<StageItem> items;
        int top = 0;
        int height = 0;
        int width = 0;
        std::vector<std::uint32_t> pixels;
    };

    std::size_t budget;
    std::size_t bytes = 0;
    std::deque<Band> bands; // oldest first
};

} // namespace swf
