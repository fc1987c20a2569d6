#include "platform/sim/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/DeviceStream.h"

namespace sim {
namespace {

// FILETIME counts 100-ns intervals from 1601; Unix time starts in 1970.
constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

char16_t Fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool FoldedLess(const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
}

// The Win32 error for a failed host call on path.
DWORD LastErrorFor(int errnoValue, const std::filesystem::path& path) {
    switch (errnoValue) {
    case ENOENT: {
        std::error_code error;
        const bool folderExists =
            !path.has_parent_path() || std::filesystem::is_directory(path.parent_path(), error);
        return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL:
        return ERROR_INVALID_NAME;
    case ENOSPC:
        return ERROR_WRITE_FAULT;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

// The Win32 error for a failed host call on what a lookup found, without
// asking the host again what the lookup saw already.
DWORD LastErrorFor(int errnoValue, const ResolvedPath& resolved) {
    if (errnoValue == ENOENT && resolved.folderSeen) {
        return ERROR_FILE_NOT_FOUND;
    }
    return LastErrorFor(errnoValue, resolved.host);
}

// Whether the host file is a folder, or a regular file (a link is followed,
// as open(2) follows it).
bool IsFolder(const ResolvedPath& resolved) {
    if (resolved.kind != HostKind::Unknown && resolved.kind != HostKind::Link) {
        return resolved.kind == HostKind::Folder;
    }
    std::error_code error;
    return std::filesystem::is_directory(resolved.host, error);
}

bool IsRegularFile(const ResolvedPath& resolved) {
    if (resolved.kind != HostKind::Unknown && resolved.kind != HostKind::Link) {
        return resolved.kind == HostKind::File;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(resolved.host, error);
}

bool Exists(const ResolvedPath& resolved) {
    if (resolved.kind != HostKind::Unknown && resolved.kind != HostKind::Link) {
        return resolved.kind != HostKind::Missing;
    }
    std::error_code error;
    return std::filesystem::exists(resolved.host, error);
}

// rename(2) that fails with EEXIST instead of replacing; where the host's file
// system cannot do that in one step, a hard link and an unlink do it.
bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

// Files larger than this are never compared by Replace.
constexpr off_t kComparedBytes = 64 * 1024;

// A file descriptor that closes itself.
class HostDescriptor {
public:
    explicit HostDescriptor(int fd) : fd(fd) {}
    ~HostDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    HostDescriptor(const HostDescriptor&) = delete;
    HostDescriptor& operator=(const HostDescriptor&) = delete;
    int Get() const { return fd; }

private:
    int fd;
};

bool ReadWhole(int fd, off_t size, std::vector<char>& bytes) {
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Whether two small regular files hold the same bytes.
bool SameSmallFiles(const std::filesystem::path& a, const std::filesystem::path& b) {
    const HostDescriptor first(::open(a.c_str(), O_RDONLY | O_CLOEXEC));
    const HostDescriptor second(::open(b.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat firstInfo {};
    struct stat secondInfo {};
    if (first.Get() < 0 || second.Get() < 0 || ::fstat(first.Get(), &firstInfo) != 0 ||
        ::fstat(second.Get(), &secondInfo) != 0 || !S_ISREG(firstInfo.st_mode) ||
        !S_ISREG(secondInfo.st_mode) || firstInfo.st_size != secondInfo.st_size ||
        firstInfo.st_size > kComparedBytes ||
        (firstInfo.st_dev == secondInfo.st_dev && firstInfo.st_ino == secondInfo.st_ino)) {
        return false;
    }
    std::vector<char> firstBytes;
    std::vector<char> secondBytes;
    return ReadWhole(first.Get(), firstInfo.st_size, firstBytes) &&
           ReadWhole(second.Get(), secondInfo.st_size, secondBytes) && firstBytes == secondBytes;
}

FileError Fail(int errnoValue, DWORD lastError) {
    return FileError{errnoValue, lastError};
}

// The host's mode for a C runtime mode, or "" for a mode the runtime refuses.
std::string HostMode(std::u16string_view mode) {
    if (mode.empty() || (mode[0] != u'r' && mode[0] != u'w' && mode[0] != u'a')) {
        return "";
    }
    std::string host(1, static_cast<char>(mode[0]));
    bool plus = false;
    bool kind = false;
    for (const char16_t c : mode.substr(1)) {
        if (c == u'+' && !plus) {
            plus = true;
            host += '+';
        } else if ((c == u'b' || c == u't') && !kind) {
            // The host makes no difference between text and binary.
            kind = true;
        } else {
            return "";
        }
    }
    // Streams are not inherited by programs the tests start.
    return host + "e";
}

bool Writes(std::u16string_view mode) {
    return !mode.empty() &&
           (mode[0] == u'w' || mode[0] == u'a' || mode.find(u'+') != std::u16string_view::npos);
}

// Whether opening changes the storage: "w" creates or truncates the file,
// "a" creates a missing one.
bool Changes(std::u16string_view mode, const ResolvedPath& file) {
    return !mode.empty() && (mode[0] == u'w' || (mode[0] == u'a' && !Exists(file)));
}

std::uint64_t FileTime(const struct timespec& time) {
    const auto units = static_cast<std::uint64_t>(time.tv_sec) * 10000000ULL +
                       static_cast<std::uint64_t>(time.tv_nsec) / 100;
    return units + kUnixEpochAsFileTime;
}

DWORD AttributesOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    if ((info.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes;
}

void Fill(const ListedFile& entry, WIN32_FIND_DATAW& found) {
    found = WIN32_FIND_DATAW();
    found.dwFileAttributes = entry.attributes;
    found.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(entry.lastWrite);
    found.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(entry.lastWrite >> 32);
    found.ftCreationTime = found.ftLastWriteTime;
    found.ftLastAccessTime = found.ftLastWriteTime;
    found.nFileSizeLow = static_cast<DWORD>(entry.size);
    found.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    std::copy(entry.name.begin(), entry.name.end(), found.cFileName);
    found.cFileName[entry.name.size()] = 0;
}

} // namespace

FileSystem::FileSystem(std::filesystem::path storageRoot, CallRecorder record,
                       std::filesystem::path spareFile)
    : storageRoot(std::move(storageRoot)), record(std::move(record)),
      spareFile(std::move(spareFile)) {}

ResolvedPath FileSystem::Resolve(std::u16string_view path) const {
    return ResolvePath(storageRoot, path, &folderNames);
}

FILE* FileSystem::Open(std::u16string_view path, std::u16string_view mode, FileError& error) {
    error = FileError();
    FILE* stream = nullptr;
    const std::string hostMode = HostMode(mode);
    const ResolvedPath resolved = Resolve(path);
    if (hostMode.empty()) {
        error = Fail(EINVAL, ERROR_INVALID_PARAMETER);
    } else if (!resolved.Ok()) {
        error = Fail(resolved.errnoValue, resolved.lastError);
    } else if (IsFolder(resolved)) {
        // The host would open a folder for reading; the handheld never does.
        error = Fail(EACCES, ERROR_ACCESS_DENIED);
    } else if (!Changes(mode, resolved) || TakeChange(error)) {
        stream = mode[0] == u'w' ? OpenSpare(resolved.host, hostMode) : nullptr;
        if (stream == nullptr) {
            stream = std::fopen(resolved.host.c_str(), hostMode.c_str());
        }
        if (stream == nullptr) {
            const int failure = errno;
            error = Fail(failure, LastErrorFor(failure, resolved));
        } else if (Writes(mode)) {
            // Written bytes pass the storage's fault.
            stream =
                OpenDeviceStream(stream, hostMode.substr(0, hostMode.size() - 1).c_str(), fault);
            if (stream == nullptr) {
                error = Fail(ENOMEM, ERROR_NOT_ENOUGH_MEMORY);
            }
        }
    }
    if (Writes(mode) && record) {
        record("_wfopen", {JournalValue(path), JournalValue(mode)}, error.errnoValue);
    }
    Observe("_wfopen", path);
    if (stream == nullptr) {
        errno = error.errnoValue;
    }
    return stream;
}

bool FileSystem::Remove(std::u16string_view path, const char* call, FileError& error) {
    error = FileError();
    const ResolvedPath resolved = Resolve(path);
    if (!resolved.Ok()) {
        error = Fail(resolved.errnoValue, resolved.lastError);
    } else if (IsFolder(resolved)) {
        error = Fail(EACCES, ERROR_ACCESS_DENIED);
    } else if (TakeChange(error) && ::unlink(resolved.host.c_str()) != 0) {
        const int failure = errno;
        error = Fail(failure, LastErrorFor(failure, resolved));
    }
    if (record) {
        const bool win32 = std::string_view(call) == "DeleteFileW";
        record(call, {JournalValue(path)},
               win32 ? JournalValue(error.lastError) : JournalValue(error.errnoValue));
    }
    Observe(call, path);
    return error.errnoValue == 0;
}

bool FileSystem::Move(std::u16string_view from, std::u16string_view to, FileError& error) {
    error = FileError();
    const ResolvedPath source = Resolve(from);
    const ResolvedPath target = Resolve(to);
    if (!source.Ok()) {
        error = Fail(source.errnoValue, source.lastError);
    } else if (!target.Ok()) {
        error = Fail(target.errnoValue, target.lastError);
    } else if (TakeChange(error) && !RenameWithoutReplacing(source.host, target.host)) {
        const int failure = errno;
        // ENOENT means a missing file, or a missing folder on either side.
        std::error_code missing;
        const bool sourceExists = std::filesystem::exists(source.host, missing);
        error = Fail(failure, LastErrorFor(failure, sourceExists ? target.host : source.host));
    }
    if (record) {
        record("MoveFileW", {JournalValue(from), JournalValue(to)}, error.lastError);
    }
    Observe("MoveFileW", from);
    return error.errnoValue == 0;
}

bool FileSystem::Replace(std::u16string_view destination, std::u16string_view source,
                         FileError& error) {
    error = FileError();
    const ResolvedPath target = Resolve(destination);
    const ResolvedPath from = Resolve(source);
    if (!target.Ok()) {
        error = Fail(target.errnoValue, target.lastError);
    } else if (!from.Ok()) {
        error = Fail(from.errnoValue, from.lastError);
    } else if (!IsRegularFile(target) || !IsRegularFile(from)) {
        error = Fail(ENOENT, ERROR_FILE_NOT_FOUND);
    } else if (!TakeChange(error)) {
        // The storage refused the change.
    } else if (SameSmallFiles(from.host, target.host)) {
        // What the device sees is the same as after a rename: the
        // destination holds these bytes, written now, and the source has
        // gone. The host is spared a new inode, a rename over a file (which
        // the host's file system follows with a write of the new file to
        // the disk) and the old inode's release; the destination's bytes are
        // already safe on the disk.
        ::utimensat(AT_FDCWD, target.host.c_str(), nullptr, 0);
        KeepSpare(from.host);
    } else if (::rename(from.host.c_str(), target.host.c_str()) != 0) {
        // rename(2) replaces the destination in one step: a reader, or a
        // program killed now, finds the old file or the new one.
        const int failure = errno;
        error = Fail(failure, LastErrorFor(failure, target.host));
    }
    if (record) {
        record("DeleteAndRenameFile", {JournalValue(destination), JournalValue(source)},
               error.lastError);
    }
    Observe("DeleteAndRenameFile", destination);
    return error.errnoValue == 0;
}

FILE* FileSystem::OpenSpare(const std::filesystem::path& host, const std::string& hostMode) {
    if (spareFile.empty() ||
        ::renameat2(AT_FDCWD, spareFile.c_str(), AT_FDCWD, host.c_str(), RENAME_NOREPLACE) != 0) {
        return nullptr;
    }
    // The spare is empty, so opening it without truncating gives what "w"
    // gives a new file; a truncation would have the host's file system write
    // the file to the disk at its close.
    // (The device's stream over it keeps to the program's mode.)
    FILE* stream = std::fopen(host.c_str(), "r+e");
    struct stat info {};
    if (stream == nullptr || ::fstat(::fileno(stream), &info) != 0 || info.st_size != 0) {
        if (stream != nullptr) {
            std::fclose(stream);
        }
        return std::fopen(host.c_str(), hostMode.c_str());
    }
    // Made now, as far as anyone can tell.
    ::futimens(::fileno(stream), nullptr);
    return stream;
}

void FileSystem::KeepSpare(const std::filesystem::path& host) {
    if (spareFile.empty() ||
        ::renameat2(AT_FDCWD, host.c_str(), AT_FDCWD, spareFile.c_str(), RENAME_NOREPLACE) != 0) {
        ::unlink(host.c_str());
        return;
    }
    // Emptied through a descriptor of its own, whose close lets the host's
    // file system forget the truncation while there is nothing to write.
    const HostDescriptor spare(::open(spareFile.c_str(), O_WRONLY | O_CLOEXEC));
    if (spare.Get() < 0 || ::ftruncate(spare.Get(), 0) != 0) {
        ::unlink(spareFile.c_str());
    }
}

void FileSystem::SetCallObserver(CallObserver callObserver) {
    const std::lock_guard guard(lock);
    observer = std::move(callObserver);
}

void FileSystem::Observe(std::string_view call, std::u16string_view path) {
    CallObserver current;
    {
        const std::lock_guard guard(lock);
        if (!observer || observing) {
            return;
        }
        current = observer;
        observing = true;
    }
    current(call, path);
    const std::lock_guard guard(lock);
    observing = false;
}

bool FileSystem::TakeChange(FileError& error) {
    if (fault->Take(1) == 1) {
        return true;
    }
    error = Fail(EIO, ERROR_WRITE_FAULT);
    return false;
}

bool FileSystem::CreateFolder(std::u16string_view path, FileError& error) {
    error = FileError();
    const ResolvedPath resolved = Resolve(path);
    if (!resolved.Ok()) {
        error = Fail(resolved.errnoValue, resolved.lastError);
    } else if (TakeChange(error) && ::mkdir(resolved.host.c_str(), 0755) != 0) {
        const int failure = errno;
        error = Fail(failure, LastErrorFor(failure, resolved.host));
        if (failure == ENOENT) {
            error.lastError = ERROR_PATH_NOT_FOUND;
        }
    }
    if (record) {
        record("CreateDirectoryW", {JournalValue(path)}, error.lastError);
    }
    return error.errnoValue == 0;
}

DWORD FileSystem::Attributes(std::u16string_view path, FileError& error) const {
    error = FileError();
    const ResolvedPath resolved = Resolve(path);
    if (!resolved.Ok()) {
        error = Fail(resolved.errnoValue, resolved.lastError);
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat info {};
    if (resolved.kind == HostKind::Missing || ::stat(resolved.host.c_str(), &info) != 0) {
        const int failure = resolved.kind == HostKind::Missing ? ENOENT : errno;
        error = Fail(failure, LastErrorFor(failure, resolved));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(info);
}

Result<std::vector<ListedFile>> FileSystem::List(std::u16string_view folder,
                                                 std::u16string_view pattern) const {
    const ResolvedPath resolved = Resolve(folder.empty() ? std::u16string_view(u".") : folder);
    if (!resolved.Ok()) {
        return Error{"not a usable folder path: " + text::ToUtf8(folder)};
    }
    std::error_code error;
    std::vector<ListedFile> entries;
    std::filesystem::directory_iterator names(resolved.host, error);
    if (error) {
        return Error{"cannot list " + text::ToUtf8(folder) + ": " + error.message()};
    }
    for (const std::filesystem::directory_iterator end; names != end; names.increment(error)) {
        if (error) {
            return Error{"cannot list " + text::ToUtf8(folder) + ": " + error.message()};
        }
        const std::string hostName = names->path().filename().string();
        ListedFile entry;
        entry.name = text::FromUtf8(hostName);
        // A host name that is not UTF-8, or too long for the handheld, could
        // not be opened again by the name the device would show.
        if (text::ToUtf8(entry.name) != hostName || entry.name.size() >= MAX_PATH ||
            !MatchesPattern(entry.name, pattern)) {
            continue;
        }
        struct stat info {};
        if (::stat(names->path().c_str(), &info) != 0) {
            continue;
        }
        entry.folder = S_ISDIR(info.st_mode);
        entry.size = entry.folder ? 0 : static_cast<std::uint64_t>(info.st_size);
        entry.attributes = AttributesOf(info);
        entry.lastWrite = FileTime(info.st_mtim);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const ListedFile& a, const ListedFile& b) { return FoldedLess(a.name, b.name); });
    return entries;
}

HANDLE FileSystem::FindFirst(std::u16string_view pattern, WIN32_FIND_DATAW& found,
                             FileError& error) {
    error = FileError();
    const std::size_t split = pattern.find_last_of(u"\\/");
    const std::u16string_view folder =
        split == std::u16string_view::npos ? std::u16string_view() : pattern.substr(0, split + 1);
    const std::u16string_view names =
        split == std::u16string_view::npos ? pattern : pattern.substr(split + 1);
    const ResolvedPath resolvedFolder =
        Resolve(folder.empty() ? std::u16string_view(u".") : folder);
    if (!resolvedFolder.Ok()) {
        error = Fail(resolvedFolder.errnoValue, resolvedFolder.lastError);
        return INVALID_HANDLE_VALUE;
    }
    auto listed = List(folder, names);
    if (!listed) {
        error = Fail(ENOENT, ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (names.empty() || listed->empty()) {
        error = Fail(ENOENT, ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    Fill(listed->front(), found);
    const std::lock_guard guard(lock);
    nextSearch += 4;
    const HANDLE handle = reinterpret_cast<HANDLE>(nextSearch);
    searches.emplace(handle, Search{std::move(listed).Value(), 1});
    return handle;
}

bool FileSystem::FindNext(HANDLE search, WIN32_FIND_DATAW& found, FileError& error) {
    error = FileError();
    const std::lock_guard guard(lock);
    const auto position = searches.find(search);
    if (position == searches.end()) {
        error = Fail(EBADF, ERROR_INVALID_HANDLE);
        return false;
    }
    Search& state = position->second;
    if (state.next >= state.entries.size()) {
        error = Fail(ENOENT, ERROR_NO_MORE_FILES);
        return false;
    }
    Fill(state.entries[state.next++], found);
    return true;
}

bool FileSystem::FindClose(HANDLE search, FileError& error) {
    error = FileError();
    const std::lock_guard guard(lock);
    if (searches.erase(search) == 0) {
        error = Fail(EBADF, ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

} // namespace sim
