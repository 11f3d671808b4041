#include "net/CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <utility>

namespace {

struct Opened {
    CurlLibrary library;
    bool ok = false;
    std::string whyNot;
};

template <typename Function>
bool Resolve(void* handle, const char* name, Function& slot, std::string& whyNot) {
    slot = reinterpret_cast<Function>(dlsym(handle, name));
    if (slot == nullptr && whyNot.empty()) whyNot = std::string("libcurl lacks ") + name;
    return slot != nullptr;
}

Opened Open() {
    Opened opened;
    // Kept open for the life of the process: handles and global state live in it.
    void* handle = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        opened.whyNot =
            std::string("libcurl could not be loaded: ") + (reason != nullptr ? reason : "libcurl.so.4");
        return opened;
    }
    CurlLibrary& c = opened.library;
    std::string& why = opened.whyNot;
    bool ok = true;
#define VOS_CURL_RESOLVE(name) ok = Resolve(handle, "curl_" #name, c.name, why) && ok;
    VOS_CURL_FUNCTIONS(VOS_CURL_RESOLVE)
#undef VOS_CURL_RESOLVE
    if (ok && c.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        why = "libcurl could not be initialised";
        ok = false;
    }
    opened.ok = ok;
    return opened;
}

struct Override {
    bool active = false;
    const CurlLibrary* library = nullptr;
    std::string whyNot;
};

Override& CurrentOverride() {
    static Override current;
    return current;
}

} // namespace

const CurlLibrary* Curl(std::string* whyNot) {
    if (const Override& o = CurrentOverride(); o.active) {
        if (o.library == nullptr && whyNot != nullptr) *whyNot = o.whyNot;
        return o.library;
    }
    static std::once_flag once;
    static Opened opened;
    std::call_once(once, [] { opened = Open(); });
    if (!opened.ok && whyNot != nullptr) *whyNot = opened.whyNot;
    return opened.ok ? &opened.library : nullptr;
}

ScopedCurlOverride::ScopedCurlOverride(const CurlLibrary* library, std::string whyNot) {
    CurrentOverride() = {true, library, std::move(whyNot)};
}

ScopedCurlOverride::~ScopedCurlOverride() {
    CurrentOverride() = {};
}
