#pragma once

#include <curl/curl.h>

#include <string>

// libcurl, opened the first time a request is made rather than when the
// program starts: the library and the two dozen it needs would otherwise be
// loaded and linked before the main window can appear.

// The functions used, by their names without the "curl_" prefix.
// clang-format off
#define VOS_CURL_FUNCTIONS(X) \
    X(global_init)            \
    X(easy_init)              \
    X(easy_setopt)            \
    X(easy_perform)           \
    X(easy_cleanup)           \
    X(easy_strerror)          \
    X(slist_append)           \
    X(slist_free_all)         \
    X(url)                    \
    X(url_set)                \
    X(url_get)                \
    X(url_cleanup)            \
    X(free)                   \
    X(version_info)
// clang-format on

// One pointer per function, named as in VOS_CURL_FUNCTIONS.
struct CurlLibrary {
// NOLINTNEXTLINE(bugprone-macro-parentheses): the argument names a member
#define VOS_CURL_SLOT(name) decltype(&curl_##name) name = nullptr;
    VOS_CURL_FUNCTIONS(VOS_CURL_SLOT)
#undef VOS_CURL_SLOT
};

// The library, opened and globally initialised once; nullptr when it cannot
// be opened or lacks a function, with the reason in `whyNot` when given.
const CurlLibrary* Curl(std::string* whyNot = nullptr);

// For tests: while it lives, Curl() answers `library` instead of the real
// one; nullptr stands for a libcurl that cannot be opened, for `whyNot`.
// Overrides nest: the newest is in force, and the one before it again when
// it ends.
class ScopedCurlOverride {
  public:
    ScopedCurlOverride(const CurlLibrary* library, std::string whyNot);
    ~ScopedCurlOverride();
    ScopedCurlOverride(const ScopedCurlOverride&) = delete;
    ScopedCurlOverride& operator=(const ScopedCurlOverride&) = delete;

  private:
    friend const CurlLibrary* Curl(std::string* whyNot);
    const CurlLibrary* library_;
    std::string whyNot_;
    ScopedCurlOverride* outer_;
};
