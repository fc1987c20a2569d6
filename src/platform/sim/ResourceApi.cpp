// The resource functions of platform/Resources.h.
#include "platform/Resources.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/Program.h"
#include "platform/ResourceFormats.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/ModuleResources.h"

namespace sim {

Module* ModuleOf(HINSTANCE instance) {
    Device* device = Device::Current();
    if (device == nullptr) {
        return nullptr;
    }
    if (instance == nullptr) {
        Program* program = CurrentProgram();
        return program != nullptr ? &program->GetModule() : nullptr;
    }
    for (const auto& program : device->Programs()) {
        if (program->GetModule().Handle() == instance) {
            return &program->GetModule();
        }
    }
    return nullptr;
}

std::optional<std::span<const std::byte>> ResourceData(HINSTANCE instance, LPCWSTR name,
                                                       const res::ResourceId& type) {
    const Module* module = ModuleOf(instance);
    const res::ResourceFile* file = module != nullptr ? module->Resources() : nullptr;
    if (file == nullptr) {
        SetLastError(module == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_RESOURCE_DATA_NOT_FOUND);
        return std::nullopt;
    }
    const res::ResourceEntry* entry = file->Find(type, res::ResourceId::FromName(name));
    if (entry == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return std::nullopt;
    }
    return entry->data;
}

} // namespace sim

namespace {

const res::ResourceFile* FileOf(HMODULE module) {
    const sim::Module* found = sim::ModuleOf(module);
    return found != nullptr ? found->Resources() : nullptr;
}

// Whether an HRSRC is one of the module's entries.
const res::ResourceEntry* EntryOf(HMODULE module, HRSRC resource) {
    const res::ResourceFile* file = FileOf(module);
    if (file == nullptr || resource == nullptr) {
        return nullptr;
    }
    const auto* entry = reinterpret_cast<const res::ResourceEntry*>(resource);
    for (const res::ResourceEntry& candidate : file->Entries()) {
        if (&candidate == entry) {
            return entry;
        }
    }
    return nullptr;
}

// A plain icon for the device's own IDI_APPLICATION.
res::Image DeviceIcon(int size) {
    res::Image image;
    image.width = size;
    image.height = size;
    image.pixels.assign(static_cast<std::size_t>(size) * size, 0xFF1C4EA8u);
    return image;
}

std::optional<res::Image> LoadIconImage(HINSTANCE instance, LPCWSTR name, int wanted) {
    const auto group = sim::ResourceData(instance, name, res::ResourceId(res::RT_GROUP_ICON));
    if (!group) {
        return std::nullopt;
    }
    const auto entries = res::ParseIconGroup(*group);
    if (!entries.Ok() || entries.Value().empty()) {
        SetLastError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    // The image closest in size to the one wanted, the deepest of those.
    const res::IconGroupEntry* best = nullptr;
    for (const res::IconGroupEntry& entry : entries.Value()) {
        if (best == nullptr) {
            best = &entry;
            continue;
        }
        const int distance = std::abs(entry.width - wanted);
        const int bestDistance = std::abs(best->width - wanted);
        if (distance < bestDistance ||
            (distance == bestDistance && entry.bitCount > best->bitCount)) {
            best = &entry;
        }
    }
    const auto data =
        sim::ResourceData(instance, MAKEINTRESOURCEW(best->iconId), res::ResourceId(res::RT_ICON));
    if (!data) {
        return std::nullopt;
    }
    auto image = res::ParseIconImage(*data);
    if (!image.Ok()) {
        SetLastError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    return std::move(image).Value();
}

} // namespace

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const res::ResourceFile* file = FileOf(module);
    if (file == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const res::ResourceEntry* entry =
        file->Find(res::ResourceId::FromName(type), res::ResourceId::FromName(name));
    if (entry == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<res::ResourceEntry*>(entry));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    const res::ResourceEntry* entry = EntryOf(module, resource);
    if (entry == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<std::byte*>(entry->data.data());
}

LPVOID LockResource(HGLOBAL resource) {
    return resource;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    const res::ResourceEntry* entry = EntryOf(module, resource);
    return entry != nullptr ? static_cast<DWORD>(entry->data.size()) : 0;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferLength) {
    if (buffer == nullptr || bufferLength < 0 || id > 0xFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto block = sim::ResourceData(instance, MAKEINTRESOURCEW(static_cast<WORD>(id / 16 + 1)),
                                         res::ResourceId(res::RT_STRING));
    if (!block) {
        if (bufferLength > 0) {
            buffer[0] = u'\0';
        }
        return 0;
    }
    // Walk to the string: each of the 16 is a length and that many characters.
    const std::span<const std::byte> bytes = *block;
    std::size_t offset = 0;
    for (UINT index = 0;; ++index) {
        if (offset + 2 > bytes.size()) {
            if (bufferLength > 0) {
                buffer[0] = u'\0';
            }
            SetLastError(ERROR_INVALID_DATA);
            return 0;
        }
        WORD length = 0;
        std::memcpy(&length, bytes.data() + offset, sizeof length);
        offset += 2;
        if (offset + static_cast<std::size_t>(length) * 2 > bytes.size()) {
            if (bufferLength > 0) {
                buffer[0] = u'\0';
            }
            SetLastError(ERROR_INVALID_DATA);
            return 0;
        }
        if (index == id % 16) {
            const auto* characters = reinterpret_cast<const WCHAR*>(bytes.data() + offset);
            if (bufferLength == 0) {
                // The string in place, read-only and not zero-terminated.
                std::memcpy(buffer, &characters, sizeof characters);
                return length;
            }
            const int copied = std::min<int>(length, bufferLength - 1);
            std::memcpy(buffer, characters, static_cast<std::size_t>(copied) * sizeof(WCHAR));
            buffer[copied] = u'\0';
            return copied;
        }
        offset += static_cast<std::size_t>(length) * 2;
    }
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    return static_cast<HCURSOR>(LoadImageW(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    return static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

BOOL DestroyIcon(HICON icon) {
    sim::Device* device = sim::Device::Current();
    return device != nullptr && device->Graphics().DestroyIcon(icon) ? TRUE : FALSE;
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int, UINT flags) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr || (flags & 0x0010) != 0) {
        // No device, or LR_LOADFROMFILE, which the handheld's programs do not use.
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    switch (type) {
    case IMAGE_BITMAP: {
        const auto data = sim::ResourceData(instance, name, res::ResourceId(res::RT_BITMAP));
        if (!data) {
            return nullptr;
        }
        auto image = res::ParseBitmap(*data);
        if (!image.Ok()) {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        return device->Graphics().CreateBitmap(std::move(image).Value());
    }
    case IMAGE_ICON:
    case IMAGE_CURSOR: {
        const int systemSize = GetSystemMetrics(SM_CXICON);
        const int wanted = width > 0 ? width : systemSize;
        if (instance == nullptr || type == IMAGE_CURSOR) {
            // The device's own icon, and cursors, which a handheld never shows.
            return device->Graphics().CreateIcon(DeviceIcon(wanted));
        }
        auto image = LoadIconImage(instance, name, wanted);
        if (!image) {
            return nullptr;
        }
        return device->Graphics().CreateIcon(std::move(*image));
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    sim::Device* device = sim::Device::Current();
    const sim::Picture* picture =
        device != nullptr ? device->Graphics().FindBitmap(object) : nullptr;
    if (picture == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (buffer == nullptr) {
        return static_cast<int>(sizeof(BITMAP));
    }
    if (size < static_cast<int>(sizeof(BITMAP))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    BITMAP info;
    info.bmWidth = picture->Width();
    info.bmHeight = picture->Height();
    info.bmWidthBytes = picture->Width() * 4;
    std::memcpy(buffer, &info, sizeof info);
    return static_cast<int>(sizeof info);
}
