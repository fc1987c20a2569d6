#include "platform/sim/FolderListing.h"

#include <algorithm>
#include <system_error>

#include "platform/Text.h"
#include "platform/sim/ListItems.h"

namespace sim {
namespace {

char16_t Fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool Wildcard(std::u16string_view name, std::u16string_view pattern) {
    // Iterative matching with one backtrack point for the last '*'.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::u16string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::u16string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

std::u16string Trim(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == u' ') {
        ++first;
    }
    while (last > first && text[last - 1] == u' ') {
        --last;
    }
    return std::u16string(text.substr(first, last - first));
}

} // namespace

std::vector<FileFilter> ParseFileFilters(LPCWSTR list, std::size_t maxUnits) {
    std::vector<FileFilter> filters;
    if (list == nullptr) {
        return filters;
    }
    std::size_t at = 0;
    // Reads one zero-terminated text; false when the budget runs out first.
    auto readText = [&](std::u16string& out) {
        out.clear();
        while (at < maxUnits) {
            const char16_t c = list[at++];
            if (c == 0) {
                return true;
            }
            out += c;
        }
        return false;
    };
    std::u16string name;
    std::u16string patterns;
    while (readText(name) && !name.empty() && readText(patterns) && !patterns.empty()) {
        FileFilter filter{name, {}};
        std::size_t start = 0;
        while (start <= patterns.size()) {
            std::size_t end = patterns.find(u';', start);
            if (end == std::u16string::npos) {
                end = patterns.size();
            }
            std::u16string pattern = Trim(std::u16string_view(patterns).substr(start, end - start));
            if (!pattern.empty()) {
                filter.patterns.push_back(std::move(pattern));
            }
            start = end + 1;
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

bool MatchesPatterns(std::u16string_view name, const std::vector<std::u16string>& patterns) {
    for (const std::u16string& pattern : patterns) {
        if (pattern == u"*.*" || pattern == u"*" || Wildcard(name, pattern)) {
            return true;
        }
    }
    return false;
}

std::vector<FolderEntry> ListFolder(const std::filesystem::path& hostFolder,
                                    const std::vector<std::u16string>& patterns) {
    std::vector<FolderEntry> folders;
    std::vector<FolderEntry> files;
    std::error_code error;
    std::filesystem::directory_iterator it(hostFolder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::u16string name = text::FromUtf8(it->path().filename().string());
        std::error_code kindError;
        if (it->is_directory(kindError)) {
            folders.push_back(FolderEntry{name, true});
        } else if (MatchesPatterns(name, patterns)) {
            files.push_back(FolderEntry{name, false});
        }
    }
    const auto byName = [](const FolderEntry& a, const FolderEntry& b) {
        const int order = CompareListText(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    folders.insert(folders.end(), files.begin(), files.end());
    return folders;
}

std::u16string JoinDevicePath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'\\') {
        path += u'\\';
    }
    path += name;
    return path;
}

std::u16string ParentDevicePath(std::u16string_view folder) {
    const std::size_t slash = folder.find_last_of(u'\\');
    if (slash == std::u16string_view::npos || slash == 0) {
        return u"\\";
    }
    return std::u16string(folder.substr(0, slash));
}

std::u16string ResolveDevicePath(std::u16string_view folder, std::u16string_view typed) {
    std::u16string combined;
    if (!typed.empty() && (typed[0] == u'\\' || typed[0] == u'/')) {
        combined = typed;
    } else {
        combined = JoinDevicePath(folder, typed);
    }
    std::vector<std::u16string> steps;
    std::u16string step;
    const auto flush = [&] {
        if (step == u"..") {
            if (!steps.empty()) {
                steps.pop_back();
            }
        } else if (!step.empty() && step != u".") {
            steps.push_back(step);
        }
        step.clear();
    };
    for (const char16_t c : combined) {
        if (c == u'\\' || c == u'/') {
            flush();
        } else {
            step += c;
        }
    }
    flush();
    std::u16string path;
    for (const std::u16string& part : steps) {
        path += u'\\';
        path += part;
    }
    return path.empty() ? u"\\" : path;
}

std::size_t FileNameOffset(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u'\\');
    return slash == std::u16string_view::npos ? 0 : slash + 1;
}

std::size_t ExtensionOffset(std::u16string_view path) {
    const std::size_t nameStart = FileNameOffset(path);
    const std::size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string_view::npos || dot < nameStart) {
        return path.size();
    }
    return dot + 1;
}

} // namespace sim
