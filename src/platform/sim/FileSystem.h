// The device's files: opening streams, deleting, attributes, folders and
// folder listings, on the storage folder of the device directory (see
// DevicePath.h for how paths are found). Files opened for writing and files
// deleted, moved or replaced are recorded in the journal, as "_wfopen",
// "_wremove", "DeleteFileW", "MoveFileW", "DeleteAndRenameFile" and
// "CreateDirectoryW" with the paths and, as result, 0 or the errno / Win32
// error of the failure. Reads are not recorded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Result.h"
#include "platform/sim/DevicePath.h"
#include "platform/sim/FolderNames.h"
#include "platform/sim/ServiceRecorder.h"
#include "platform/sim/StorageFault.h"

namespace sim {

// One name of a folder listing.
struct ListedFile {
    std::u16string name;
    bool folder = false;
    std::uint64_t size = 0;
    DWORD attributes = 0;
    // Last change, in 100-ns intervals since 1601 (a FILETIME).
    std::uint64_t lastWrite = 0;
};

// What a call gives back besides its value: 0, or the failure as errno and as
// a Win32 error.
struct FileError {
    int errnoValue = 0;
    DWORD lastError = 0;
};

class FileSystem {
public:
    // spareFile, outside the storage, is where a file that a replacement
    // made redundant waits to become the next file created (see Replace);
    // none when empty.
    FileSystem(std::filesystem::path storageRoot, CallRecorder record,
               std::filesystem::path spareFile = {});

    const std::filesystem::path& StorageRoot() const { return storageRoot; }
    ResolvedPath Resolve(std::u16string_view path) const;

    // null with error set on failure.
    FILE* Open(std::u16string_view path, std::u16string_view mode, FileError& error);
    bool Remove(std::u16string_view path, const char* call, FileError& error);
    // MoveFileW: never replaces an existing name.
    bool Move(std::u16string_view from, std::u16string_view to, FileError& error);
    // DeleteAndRenameFile: source's content becomes destination's in one
    // step, and source goes; both must exist. When the two hold the same
    // bytes the destination's host file stays (its write time moves on) and
    // the source's is kept as the spare file, so that a program that saves
    // unchanged settings through a new file many times a second costs the
    // host no new file, no rename and no write to the disk.
    bool Replace(std::u16string_view destination, std::u16string_view source, FileError& error);
    bool CreateFolder(std::u16string_view path, FileError& error);
    DWORD Attributes(std::u16string_view path, FileError& error) const;

    // The names in folder that match pattern, ordered with letter case
    // ignored; an error when the folder does not exist. For the open-file
    // dialog and FindFirstFileW.
    Result<std::vector<ListedFile>> List(std::u16string_view folder,
                                         std::u16string_view pattern = u"*") const;

    // FindFirstFileW and the rest: a search is a listing taken at its start.
    HANDLE FindFirst(std::u16string_view pattern, WIN32_FIND_DATAW& found, FileError& error);
    bool FindNext(HANDLE search, WIN32_FIND_DATAW& found, FileError& error);
    bool FindClose(HANDLE search, FileError& error);

    // The storage's fault: tests cut the storage off at a chosen change.
    StorageFault& Fault() { return *fault; }

    // For tests of programs that share files with other programs: called on
    // the calling program's thread after each call that opens (also for
    // reading), deletes, moves or replaces a file, with the call's name and
    // the path it named first. Calls the observer makes itself are not
    // observed.
    using CallObserver = std::function<void(std::string_view call, std::u16string_view path)>;
    void SetCallObserver(CallObserver observer);

private:
    void Observe(std::string_view call, std::u16string_view path);
    // Whether the storage takes one more change; an I/O error when not.
    bool TakeChange(FileError& error);

    struct Search {
        std::vector<ListedFile> entries;
        std::size_t next = 0;
    };

    // Opens host for "w" or "w+" (hostMode) by taking the spare file's place
    // there when host does not exist; null when it cannot.
    FILE* OpenSpare(const std::filesystem::path& host, const std::string& hostMode);
    void KeepSpare(const std::filesystem::path& host);

    std::filesystem::path storageRoot;
    // What lookups have read of the storage's folders, kept for the next.
    mutable FolderNames folderNames;
    CallRecorder record;
    std::filesystem::path spareFile;
    std::mutex lock;
    std::map<HANDLE, Search> searches;
    std::uintptr_t nextSearch = 0x53000000;
    std::shared_ptr<StorageFault> fault = std::make_shared<StorageFault>();
    CallObserver observer;
    bool observing = false;
};

} // namespace sim
