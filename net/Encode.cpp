#include "net/Encode.h"

SjisString UrlEncode(const SjisString& text) {
    static const char kHex[] = "0123456789ABCDEF";
    SjisString out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        bool kept = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (kept) {
            out += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}
