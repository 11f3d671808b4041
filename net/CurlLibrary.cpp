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

ScopedCurlOverride* currentOverride = nullptr;

} // namespace

const CurlLibrary* Curl(std::string* whyNot) {
    if (const ScopedCurlOverride* o = currentOverride) {
        if (o->library_ == nullptr && whyNot != nullptr) *whyNot = o->whyNot_;
        return o->library_;
    }
    static std::once_flag once;
    static Opened opened;
    std::call_once(once, [] { opened = Open(); });
    if (!opened.ok && whyNot != nullptr) *whyNot = opened.whyNot;
    return opened.ok ? &opened.library : nullptr;
}

ScopedCurlOverride::ScopedCurlOverride(const CurlLibrary* library, std::string whyNot)
    : library_(library), whyNot_(std::move(whyNot)), outer_(std::exchange(currentOverride, this)) {}

ScopedCurlOverride::~ScopedCurlOverride() {
    currentOverride = outer_;
}
