// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

enum class Kind { kText, kNul, kControl, kInvalid };

/* What the character at s[pos] is, and its length in bytes (those of an
 * invalid sequence: one). */
Kind classify(std::string_view s, size_t pos, size_t &n)
{
    const unsigned char c = static_cast<unsigned char>(s[pos]);
    n = 1;
    if ((c >= 0x20 && c < 0x7F) || c == '\t')
        return Kind::kText;
    if (c == 0)
        return Kind::kNul;
    if (c < 0x80)
        return Kind::kControl;
    n = sequence_length(s, pos);
    if (n == 0) {
        n = 1;
        return Kind::kInvalid;
    }
    if (c == 0xC2 && static_cast<unsigned char>(s[pos + 1]) < 0xA0) /* U+0080-U+009F */
        return Kind::kControl;
    return Kind::kText;
}

/* Where the first byte at or after pos that is not printable ASCII is (below
 * 0x20, 0x7F, or with the high bit set), or the end: sixteen or eight bytes
 * at a time, the common case, and the last bytes in a block that overlaps
 * those already seen rather than one by one. The eight-byte test may also
 * flag a byte just after an odd one (a borrow), which classify then finds
 * to be text. */
size_t skip_printable(std::string_view text, size_t pos)
{
    const char *p = text.data();
    const size_t n = text.size();
#if defined(__SSE2__)
    if (n >= 16) {
        const __m128i kSpace = _mm_set1_epi8(0x20), kDel = _mm_set1_epi8(0x7F);
        /* The odd bytes of the block at i, a bit each; signed, the bytes
         * from 0x80 are below the space too. */
        const auto odd = [&](size_t i) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(x, kSpace), _mm_cmpeq_epi8(x, kDel))));
        };
        for (; pos + 16 <= n; pos += 16)
            if (const unsigned m = odd(pos))
                return pos + static_cast<size_t>(__builtin_ctz(m));
        if (pos == n)
            return n;
        const unsigned m = odd(n - 16) >> (pos - (n - 16)); /* not the bytes before pos */
        return m ? pos + static_cast<size_t>(__builtin_ctz(m)) : n;
    }
#endif
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (n >= 8) {
        constexpr uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
        /* Borrows only go up: the lowest flag marks the first odd byte. */
        const auto odd = [&](size_t i) {
            uint64_t x;
            memcpy(&x, p + i, 8);
            const uint64_t del = x ^ (kOnes * 0x7F);
            return (((x - kOnes * 0x20) & ~x) | ((del - kOnes) & ~del) | x) & kHighs;
        };
        for (; pos + 8 <= n; pos += 8)
            if (const uint64_t m = odd(pos))
                return pos + static_cast<size_t>(__builtin_ctzll(m)) / 8;
        if (pos == n)
            return n;
        const uint64_t m = odd(n - 8) >> 8 * (pos - (n - 8)); /* not the bytes before pos */
        return m ? pos + static_cast<size_t>(__builtin_ctzll(m)) / 8 : n;
    }
#endif
    while (pos < n && static_cast<unsigned char>(p[pos]) >= 0x20 && static_cast<unsigned char>(p[pos]) < 0x7F)
        pos++;
    return pos;
}

} // namespace

Reason check_text(std::string_view text)
{
    /* Where a byte is not printable ASCII, its character is decided on its
     * own, and the blocks resume after it. */
    for (size_t pos = skip_printable(text, 0), n; pos < text.size();
         pos = skip_printable(text, pos + n)) {
        switch (classify(text, pos, n)) {
        case Kind::kText:
            break;
        case Kind::kNul:
            return refusal(N_("a NUL byte is not text"));
        case Kind::kControl:
            return refusal(N_("control character in the text"));
        case Kind::kInvalid:
            return refusal(N_("the text is not valid UTF-8"));
        }
    }
    return {};
}

namespace {

/* The code point of the well-formed sequence of n bytes at s[pos]. */
uint32_t code_point(std::string_view s, size_t pos, size_t n)
{
    static const unsigned char kLead[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t c = static_cast<unsigned char>(s[pos]) & kLead[n];
    for (size_t i = 1; i < n; i++)
        c = c << 6 | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    return c;
}

/* Characters that show nothing, look like a space or turn the direction of
 * what follows: in a message they would hide or disguise what the input
 * holds. */
bool is_invisible(uint32_t c)
{
    static const struct {
        uint32_t first, last;
    } kRanges[] = {
        {0x00A0, 0x00A0},   /* no-break space */
        {0x00AD, 0x00AD},   /* soft hyphen */
        {0x061C, 0x061C},   /* Arabic letter mark */
        {0x1680, 0x1680},   /* Ogham space mark */
        {0x180E, 0x180E},   /* Mongolian vowel separator */
        {0x2000, 0x200F},   /* spaces, zero-width characters, direction marks */
        {0x2028, 0x202F},   /* line and paragraph separators, embeddings, narrow no-break space */
        {0x205F, 0x206F},   /* medium space, word joiner, invisible operators, isolates */
        {0x3000, 0x3000},   /* ideographic space */
        {0xFEFF, 0xFEFF},   /* byte-order mark, zero-width no-break space */
        {0xFFF9, 0xFFFB},   /* interlinear annotation */
        {0xE0000, 0xE007F}, /* tags */
    };
    for (const auto &range : kRanges)
        if (c >= range.first && c <= range.last)
            return true;
    return false;
}

} // namespace

void append_escaped(std::string &out, std::string_view text)
{
    if (shows_as_it_is(text)) {
        out += text;
        return;
    }
    static const char kHex[] = "0123456789ABCDEF";
    const bool bQuoted = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (bQuoted)
        out += '"';
    for (size_t pos = 0, n; pos < text.size(); pos += n) {
        const Kind kind = classify(text, pos, n);
        if (kind == Kind::kText && text[pos] != '\t') {
            const uint32_t c = n > 1 ? code_point(text, pos, n) : 0;
            if (!is_invisible(c)) {
                out.append(text, pos, n);
                continue;
            }
            char sz[16];
            snprintf(sz, sizeof sz, "\\u{%X}", static_cast<unsigned>(c));
            out += sz;
            continue;
        }
        for (size_t i = pos; i < pos + n; i++) {
            const unsigned char b = static_cast<unsigned char>(text[i]);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    if (bQuoted)
        out += '"';
}

void append_message(std::string &out, const char *format, const std::string_view *args,
                    int nArgs)
{
    substitute(
        format, [&](std::string_view text) { out += text; },
        [&](int n) {
            if (n < nArgs)
                append_escaped(out, args[n]);
        });
}
