#ifndef NORVEXT_COMMON_INTERNAL_UTF8_H
#define NORVEXT_COMMON_INTERNAL_UTF8_H

// The one check of UTF-8 that the libraries beside NorvExt share (the JSON
// library and the search picture), header-only so that neither links the
// other and NorvExt exports nothing more.

#include <cstddef>
#include <string>

namespace Norv {
namespace internal {

// Length of the well-formed UTF-8 sequence that starts `text` at `at`
// (below text.size()); 0 when the bytes there are not one: overlong forms,
// surrogates and code points past U+10FFFF are not.
inline std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    // The second byte's range narrows after the leads that could otherwise
    // start an overlong form, a surrogate or a code point past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// True when the whole of `bytes` is well-formed UTF-8 (zero bytes allowed).
inline bool isUtf8(const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8Length(bytes, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace internal
}  // namespace Norv

#endif
