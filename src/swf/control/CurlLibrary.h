// libcurl, loaded when a movie is first fetched over HTTP rather than when
// the program starts: libcurl brings some two dozen libraries of its own
// (TLS, Kerberos, LDAP, ...), whose loading costs more at every start than
// the rest of the program, and most runs play local files only.
#pragma once

#include <curl/curl.h>

namespace swf {

// The functions the fetcher calls, by their names without "curl_" (the
// library's header makes curl_easy_setopt a macro).
struct CurlLibrary {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
};

// The library's functions, loaded and globally initialised on the first
// call; nullptr when the library cannot be loaded, and then nothing is
// fetched. Safe from any thread.
const CurlLibrary* Curl();

} // namespace swf
