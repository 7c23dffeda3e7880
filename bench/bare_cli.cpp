// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick for tolka-cli's speed: the least a converter of lines must
// do, with no option, no check and no message. Chunked read() from standard
// input, integer parsing, the computation, one output buffer written out in
// large writes.
//   tolka_bare_cli encode   "LAT LON" (decimal degrees) -> 10-character locator
//   tolka_bare_cli decode   10-character locator -> "LAT LON" (the corner, exactly
//                           rounded up, by tolka-cli's own formatter)
// Assumes well-formed input: at most 12 decimals, lines of at most 1 KiB.
#include <cstdint>
#include <cstring>
#include <unistd.h>

#include "cli/format.h"

namespace {

constexpr size_t kChunk = 64 * 1024;
char g_in[kChunk];
char g_out[kChunk];
size_t g_used = 0;

void flush()
{
    for (size_t n = 0; n < g_used;) {
        const ssize_t k = write(STDOUT_FILENO, g_out + n, g_used - n);
        if (k <= 0)
            _exit(1);
        n += static_cast<size_t>(k);
    }
    g_used = 0;
}

// Signed degrees in units of 10^-12 degree.
const char *parse_degrees(const char *p, int64_t &value)
{
    while (*p == ' ' || *p == ',')
        p++;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        p++;
    int64_t v = 0;
    while (*p >= '0' && *p <= '9')
        v = v * 10 + (*p++ - '0');
    int64_t scale = 1000000000000;
    if (*p == '.')
        for (p++; *p >= '0' && *p <= '9'; p++) {
            scale /= 10;
            v = v * 10 + (*p - '0');
        }
    value = negative ? -v * scale : v * scale;
    return p;
}

// Ten characters from the finest cell indices of both axes (Tolka's levels).
void write_locator(int64_t lo, int64_t la, char *out)
{
    static const int cells[5] = {18, 10, 24, 24, 10};
    static const int64_t weight[5] = {57600, 5760, 240, 10, 1};
    for (int i = 0; i < 5; i++) {
        const char first = cells[i] == 10 ? '0' : 'A';
        out[2 * i] = static_cast<char>(first + lo / weight[i] % cells[i]);
        out[2 * i + 1] = static_cast<char>(first + la / weight[i] % cells[i]);
    }
}

void encode_line(const char *p)
{
    int64_t la, lo;
    p = parse_degrees(p, la);
    parse_degrees(p, lo);
    // Offsets from 90 S / 180 W in 10^-12 degree; finest cells of 1/5760
    // and 1/2880 degree: multiply by the count first, exactly.
    int64_t laIndex = (la + 90000000000000LL) * 5760 / 1000000000000LL;
    int64_t loIndex = (lo + 180000000000000LL) * 2880 / 1000000000000LL;
    if (laIndex > 1036799)
        laIndex = 1036799;
    if (loIndex > 1036799)
        loIndex = 1036799;
    write_locator(loIndex, laIndex, g_out + g_used);
    g_used += 10;
    g_out[g_used++] = '\n';
}

void decode_line(const char *p)
{
    // The finest-cell indices, then the south-west corner exactly, in
    // ten-thousandths of a second, printed as tolka-cli prints it.
    static const int cells[5] = {18, 10, 24, 24, 10};
    int64_t lo = 0, la = 0;
    for (int i = 0; i < 5; i++) {
        const char first = cells[i] == 10 ? '0' : 'A';
        lo = lo * cells[i] + (p[2 * i] - first);
        la = la * cells[i] + (p[2 * i + 1] - first);
    }
    char *q = g_out + g_used;
    q += format_degrees(la * 6250 - int64_t{90 * 3600} * 10000, q);
    *q++ = ' ';
    q += format_degrees(lo * 12500 - int64_t{180 * 3600} * 10000, q);
    *q++ = '\n';
    g_used = static_cast<size_t>(q - g_out);
}

} // namespace

int main(int argc, char **argv)
{
    const bool encode = argc > 1 && strcmp(argv[1], "encode") == 0;
    size_t kept = 0;
    for (;;) {
        flush();
        const ssize_t n = read(STDIN_FILENO, g_in + kept, kChunk - 1 - kept);
        if (n <= 0)
            break;
        const size_t end = kept + static_cast<size_t>(n);
        g_in[end] = '\0';
        size_t begin = 0;
        for (char *lf; (lf = static_cast<char *>(memchr(g_in + begin, '\n', end - begin)));) {
            *lf = '\0';
            if (g_used > kChunk - 128)
                flush();
            if (encode)
                encode_line(g_in + begin);
            else
                decode_line(g_in + begin);
            begin = static_cast<size_t>(lf - g_in) + 1;
        }
        kept = end - begin;
        memmove(g_in, g_in + begin, kept);
    }
    flush();
    return 0;
}
