#include "swf/control/CurlLibrary.h"

#include <optional>

#include "swf/base/LibraryFunctions.h"

namespace swf {
namespace {

// The name of the library's binary interface, which has not changed since
// version 7.16.
constexpr const char* kCurlName = "libcurl.so.4";

std::optional<CurlLibrary> Load() {
    // Kept loaded for the rest of the run.
    void* library = ::dlopen(kCurlName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    CurlLibrary c;
    const bool found = FindFunction(library, "curl_global_init", c.global_init) &&
                       FindFunction(library, "curl_easy_init", c.easy_init) &&
                       FindFunction(library, "curl_easy_setopt", c.easy_setopt) &&
                       FindFunction(library, "curl_easy_perform", c.easy_perform) &&
                       FindFunction(library, "curl_easy_cleanup", c.easy_cleanup) &&
                       FindFunction(library, "curl_easy_strerror", c.easy_strerror);
    if (!found || c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        return std::nullopt;
    }
    return c;
}

} // namespace

const CurlLibrary* Curl() {
    // A function's static is made once, by the first caller, while any
    // other waits: curl_global_init never runs twice or beside a transfer.
    static const std::optional<CurlLibrary> library = Load();
    return library ? &*library : nullptr;
}

} // namespace swf
