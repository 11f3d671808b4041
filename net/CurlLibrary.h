#pragma once

#include <curl/curl.h>

#include <string>

// libcurl, opened the first time a request is made rather than when the
// program starts: the library and the two dozen it needs would otherwise be
// loaded and linked before the main window can appear.
struct CurlLibrary {
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_strerror) easy_strerror = nullptr;
    decltype(&curl_slist_append) slist_append = nullptr;
    decltype(&curl_slist_free_all) slist_free_all = nullptr;
    decltype(&curl_url) url = nullptr;
    decltype(&curl_url_set) url_set = nullptr;
    decltype(&curl_url_get) url_get = nullptr;
    decltype(&curl_url_cleanup) url_cleanup = nullptr;
    decltype(&curl_free) free = nullptr;
    decltype(&curl_version_info) version_info = nullptr;
};

// The library, opened and globally initialised once; nullptr when it cannot
// be opened or lacks a function, with the reason in `whyNot` when given.
const CurlLibrary* Curl(std::string* whyNot = nullptr);
