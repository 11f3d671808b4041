#include "platform/Cp932.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <stdexcept>

namespace {

// One descriptor per direction and thread, opened on first use.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        // iconv_open fails with (iconv_t)-1; compared as a number, as no pointer is made of it.
        if (reinterpret_cast<std::intptr_t>(cd_) == -1)
            throw std::runtime_error("iconv cannot convert CP932");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can. Returns the number of input bytes left
    // unconverted at the first error (0 when all of it converted).
    std::size_t Run(std::string_view in, std::string& out, int& error) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        error = 0;
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                error = errno;
                return srcLeft;
            }
        }
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        return 0;
    }

  private:
    iconv_t cd_;
};

Converter& Encoder() {
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& Decoder() {
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

} // namespace

bool TryUtf8ToSjis(std::string_view utf8, SjisString& out) {
    out.clear();
    int error = 0;
    return Encoder().Run(utf8, out, error) == 0;
}

SjisString Utf8ToSjis(std::string_view utf8) {
    SjisString out;
    if (!TryUtf8ToSjis(utf8, out)) throw std::invalid_argument("text has no CP932 encoding");
    return out;
}

std::string SjisToUtf8(std::string_view sjis) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    while (!sjis.empty()) {
        int error = 0;
        std::size_t left = Decoder().Run(sjis, out, error);
        if (left == 0) break;
        // Skip the one offending byte; a lone lead byte lets its follower
        // decode on its own.
        out.append(kReplacement);
        sjis.remove_prefix(sjis.size() - left + 1);
    }
    return out;
}
