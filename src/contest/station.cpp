// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "station.h"

#include <algorithm>

#include "text.h"

namespace {

constexpr size_t kShortPart = 3;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string_view station_of(std::string_view call, std::string &buffer)
{
    call = trim_blanks(call);
    const auto each_part = [call](auto &&visit) {
        for (size_t start = 0; start <= call.size();) {
            const size_t end = std::min(call.find('/', start), call.size());
            visit(call.substr(start, end - start));
            start = end + 1;
        }
    };
    std::string_view longest;
    size_t parts = 0;
    each_part([&](std::string_view part) {
        parts++;
        if (part.size() > longest.size())
            longest = part;
    });
    buffer.clear();
    const auto keep = [&buffer](std::string_view part) {
        if (!buffer.empty())
            buffer += '/';
        for (char c : part)
            buffer += upper(c);
    };
    each_part([&](std::string_view part) {
        if (parts == 1 || part.size() > kShortPart)
            keep(part);
    });
    if (buffer.empty())
        keep(longest);
    return buffer;
}
