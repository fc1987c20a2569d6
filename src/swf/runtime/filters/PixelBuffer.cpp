#include "swf/runtime/filters/PixelBuffer.h"

namespace swf {

PixelRect PixelRect::Union(const PixelRect& other) const {
    if (Empty()) {
        return other;
    }
    if (other.Empty()) {
        return *this;
    }
    const int left = std::min(x, other.x);
    const int top = std::min(y, other.y);
    return {left, top, std::max(Right(), other.Right()) - left,
            std::max(Bottom(), other.Bottom()) - top};
}

PixelRect PixelRect::Intersect(const PixelRect& other) const {
    const int left = std::max(x, other.x);
    const int top = std::max(y, other.y);
    const int right = std::min(Right(), other.Right());
    const int bottom = std::min(Bottom(), other.Bottom());
    if (right <= left || bottom <= top) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

PixelBuffer::PixelBuffer(int w, int h)
    : width(std::max(0, w)), height(std::max(0, h)),
      pixels(std::size_t(width) * std::size_t(height), 0) {}

} // namespace swf
