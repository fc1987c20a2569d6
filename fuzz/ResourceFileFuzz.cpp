// A program's compiled resources, damaged: the resource file's entries, and
// each entry through the reader of its type.
#include "platform/ResourceFormats.h"

namespace {

void ReadEntry(const res::ResourceEntry& entry) {
    if (!entry.type.IsNumber()) {
        return;
    }
    const auto data = entry.data;
    switch (entry.type.Number()) {
    case res::RT_STRING:
        (void)res::ParseStringBlock(data);
        break;
    case res::RT_MENU:
        (void)res::ParseMenuTemplate(data);
        break;
    case res::RT_DIALOG:
        (void)res::ParseDialogTemplate(data);
        break;
    case res::RT_ACCELERATOR:
        (void)res::ParseAccelerators(data);
        break;
    case res::RT_TOOLBAR:
        (void)res::ParseToolbar(data);
        break;
    // The menu-bar resources are RCDATA.
    case res::RT_RCDATA:
        (void)res::ParseMenuBar(data);
        break;
    case res::RT_BITMAP:
        (void)res::ParseBitmap(data);
        break;
    case res::RT_GROUP_ICON:
        (void)res::ParseIconGroup(data);
        break;
    case res::RT_ICON:
        (void)res::ParseIconImage(data);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = res::ResourceFile::Parse({reinterpret_cast<const std::byte*>(data), size});
    if (!file) {
        return 0;
    }
    for (const auto& entry : file->Entries()) {
        ReadEntry(entry);
    }
    // Strings are found through the table's blocks.
    (void)res::LoadString(*file, 1);
    return 0;
}
