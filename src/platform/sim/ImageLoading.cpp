#include "platform/sim/ImageLoading.h"

#include <cstdlib>

#include "platform/Resources.h"
#include "platform/sim/Device.h"
#include "platform/sim/Gdi.h"

namespace sim {
namespace {

std::optional<std::span<const std::byte>> ResourceBytes(HINSTANCE instance, LPCWSTR name,
                                                        LPCWSTR type) {
    const HRSRC found = FindResourceW(instance, name, type);
    if (found == nullptr) {
        return std::nullopt;
    }
    const HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::span<const std::byte>(static_cast<const std::byte*>(bytes),
                                      SizeofResource(instance, found));
}

} // namespace

std::optional<LPCWSTR> ResourceNameOfText(LPCWSTR text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    if (IS_INTRESOURCE(text)) {
        return text;
    }
    if (text[0] == 0xFFFF) {
        return MAKEINTRESOURCEW(text[1]);
    }
    if (text[0] == 0) {
        return std::nullopt;
    }
    return text;
}

std::optional<res::Image> LoadIconImage(HINSTANCE instance, LPCWSTR name, int size) {
    const auto group = ResourceBytes(instance, name, RT_GROUP_ICON);
    if (!group) {
        return std::nullopt;
    }
    const auto entries = res::ParseIconGroup(*group);
    if (!entries.Ok() || entries->empty()) {
        return std::nullopt;
    }
    const res::IconGroupEntry* best = &entries->front();
    for (const res::IconGroupEntry& entry : *entries) {
        const int distance = std::abs(entry.width - size);
        const int bestDistance = std::abs(best->width - size);
        if (distance < bestDistance ||
            (distance == bestDistance && entry.bitCount > best->bitCount)) {
            best = &entry;
        }
    }
    const auto bytes = ResourceBytes(instance, MAKEINTRESOURCEW(best->iconId), RT_ICON);
    if (!bytes) {
        return std::nullopt;
    }
    auto image = res::ParseIconImage(*bytes);
    if (!image.Ok()) {
        return std::nullopt;
    }
    return std::move(image).Value();
}

std::optional<res::Image> LoadBitmapImage(HINSTANCE instance, LPCWSTR name) {
    const auto bytes = ResourceBytes(instance, name, RT_BITMAP);
    if (!bytes) {
        return std::nullopt;
    }
    auto image = res::ParseBitmap(*bytes);
    if (!image.Ok()) {
        return std::nullopt;
    }
    return std::move(image).Value();
}

std::optional<res::Image> ImageOfBitmap(HBITMAP bitmap) {
    Device* device = Device::Current();
    const Picture* picture = device != nullptr
                                 ? device->Graphics().FindBitmap(reinterpret_cast<HGDIOBJ>(bitmap))
                                 : nullptr;
    if (picture == nullptr) {
        return std::nullopt;
    }
    return picture->Image();
}

std::optional<res::Image> ImageOfIcon(HICON icon) {
    Device* device = Device::Current();
    const Picture* picture = device != nullptr ? device->Graphics().FindIcon(icon) : nullptr;
    if (picture == nullptr) {
        return std::nullopt;
    }
    return picture->Image();
}

} // namespace sim
