// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text.h"

#include <cstdint>
#include <cstring>

std::string_view trim_blanks(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && is_blank(text[begin]))
        begin++;
    while (end > begin && is_blank(text[end - 1]))
        end--;
    return text.substr(begin, end - begin);
}

std::string_view character_at(std::string_view text, size_t pos)
{
    size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        end++;
    return text.substr(pos, end - pos);
}

namespace {

/* Length of the well-formed UTF-8 sequence at s[pos] (a lead byte of 0xC2 or
 * more), or 0: no overlong forms, no surrogates, nothing above U+10FFFF. */
size_t sequence_length(std::string_view s, size_t pos)
{
    const unsigned char c = static_cast<unsigned char>(s[pos]);
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF; /* the range of the second byte */
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            lo = 0xA0;
        if (c == 0xED)
            hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            lo = 0x90;
        if (c == 0xF4)
            hi = 0x8F;
    } else
        return 0;
    if (pos + n > s.size())
        return 0;
    for (size_t i = 1; i < n; i++) {
        const unsigned char b = static_cast<unsigned char>(s[pos + i]);
        if (b < (i == 1 ? lo : 0x80) || b > (i == 1 ? hi : 0xBF))
            return 0;
    }
    return n;
}

} // namespace

Reason check_text(std::string_view text)
{
    /* Eight bytes at a time while all are printable ASCII, the common case:
     * none below 0x20, none equal to 0x7F, none with the high bit set. The
     * byte loop below decides the rest. */
    constexpr uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        uint64_t x;
        memcpy(&x, text.data() + pos, 8);
        const uint64_t del = x ^ (kOnes * 0x7F);
        if ((((x - kOnes * 0x20) & ~x) | ((del - kOnes) & ~del) | x) & kHighs)
            break;
    }
    while (pos < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (c >= 0x20 && c < 0x7F) {
            pos++;
            continue;
        }
        if (c == '\t') {
            pos++;
            continue;
        }
        if (c == 0)
            return refusal(N_("a NUL byte is not text"));
        if (c < 0x80)
            return refusal(N_("control character in the text"));
        const size_t n = sequence_length(text, pos);
        if (n == 0)
            return refusal(N_("the text is not valid UTF-8"));
        if (c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0) /* U+0080-U+009F */
            return refusal(N_("control character in the text"));
        pos += n;
    }
    return {};
}
