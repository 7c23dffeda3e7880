// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <toml++/toml.h>

#include "text.h"

namespace {

/* No rules file comes near it: a larger one is refused, not read. */
constexpr size_t kMaxRulesBytes = 1024 * 1024;

/* The piece of a file a message quotes, safe for a terminal. */
std::string quoted(std::string_view text)
{
    std::string out;
    append_escaped(out, text);
    return out;
}

RulesRefusal refuse(uint64_t line, const char *format, std::string_view a = {},
                    std::string_view b = {}, std::string_view c = {}, std::string_view d = {})
{
    return {line, format, {quoted(a), quoted(b), quoted(c), quoted(d)}};
}

uint64_t line_of(const toml::node &node)
{
    return node.source().begin.line;
}

/* A whole number from low to high, for key. */
RulesRefusal read_whole(const toml::node &node, std::string_view key, int64_t low, int64_t high,
                        int64_t &out)
{
    const toml::value<int64_t> *number = node.as_integer();
    if (!number)
        return refuse(line_of(node), N_("%s must be a whole number"), key);
    if (number->get() < low || number->get() > high)
        return refuse(line_of(node), N_("%s = %s is out of range (%s to %s)"), key,
                      std::to_string(number->get()), std::to_string(low), std::to_string(high));
    out = number->get();
    return {};
}

/* "HH:MM" as minutes from 00:00, or -1. */
int minutes_of(std::string_view text)
{
    const auto digit = [&](size_t i) { return text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -100; };
    if (text.size() != 5 || text[2] != ':')
        return -1;
    const int hours = digit(0) * 10 + digit(1), minutes = digit(3) * 10 + digit(4);
    return hours >= 0 && hours < 24 && minutes >= 0 && minutes < 60 ? hours * 60 + minutes : -1;
}

using KeyReader = RulesRefusal (*)(const toml::node &node, std::string_view key, Rules &rules);

RulesRefusal read_name(const toml::node &node, std::string_view key, Rules &rules)
{
    const toml::value<std::string> *name = node.as_string();
    if (!name)
        return refuse(line_of(node), N_("%s must be a string"), key);
    if (trim_blanks(name->get()).empty())
        return refuse(line_of(node), N_("%s is empty"), key);
    rules.name = name->get();
    return {};
}

RulesRefusal read_points(const toml::node &node, std::string_view key, Rules &rules)
{
    const toml::value<std::string> *points = node.as_string();
    if (!points)
        return refuse(line_of(node), N_("%s must be a string"), key);
    if (points->get() != "km" && points->get() != "rings")
        return refuse(line_of(node), N_("%s = %s is not \"km\" or \"rings\""), key, points->get());
    rules.points = points->get() == "km" ? PointsBy::kKilometres : PointsBy::kRings;
    return {};
}

RulesRefusal read_band_factor(const toml::node &node, std::string_view key, Rules &rules)
{
    const toml::table *bands = node.as_table();
    if (!bands)
        return refuse(line_of(node), N_("%s must be a table of bands and their factors"), key);
    rules.band_factor.clear();
    for (const auto &[band, factor] : *bands) {
        const std::string name = std::string(key) + ".\"" + std::string(band.str()) + "\"";
        int64_t value = 0;
        if (RulesRefusal why = read_whole(factor, name, 1, 1000, value); !why.empty())
            return why;
        rules.band_factor.push_back({std::string(band.str()), value});
    }
    return {};
}

RulesRefusal read_square_bonus(const toml::node &node, std::string_view key, Rules &rules)
{
    return read_whole(node, key, 0, 10000, rules.square_bonus);
}

RulesRefusal read_square_multiplier(const toml::node &node, std::string_view key, Rules &rules)
{
    const toml::value<bool> *flag = node.as_boolean();
    if (!flag)
        return refuse(line_of(node), N_("%s must be true or false"), key);
    rules.square_multiplier = flag->get();
    return {};
}

RulesRefusal read_hours(const toml::node &node, std::string_view key, Rules &rules)
{
    const toml::value<std::string> *hours = node.as_string();
    if (!hours)
        return refuse(line_of(node), N_("%s must be a string"), key);
    const std::string_view text = hours->get();
    const size_t dash = text.find('-');
    const int first = minutes_of(text.substr(0, dash));
    const int last = dash == std::string_view::npos ? -1 : minutes_of(text.substr(dash + 1));
    if (first < 0 || last < first)
        return refuse(line_of(node),
                      N_("%s = %s is not a UTC window HH:MM-HH:MM within a day, the first time "
                         "no later than the second"),
                      key, text);
    rules.hours = true;
    rules.first_minute = first;
    rules.last_minute = last;
    return {};
}

RulesRefusal read_tolerance(const toml::node &node, std::string_view key, Rules &rules)
{
    int64_t minutes = 0;
    RulesRefusal why = read_whole(node, key, 0, 24 * 60, minutes);
    rules.tolerance_minutes = static_cast<int>(minutes);
    return why;
}

/* Every key a rules file may name; required ones first. */
constexpr struct {
    std::string_view key;
    KeyReader read;
    bool required;
} kKeys[] = {
    {"name", read_name, true},
    {"points", read_points, true},
    {"band_factor", read_band_factor, false},
    {"square_bonus", read_square_bonus, false},
    {"square_multiplier", read_square_multiplier, false},
    {"hours", read_hours, false},
    {"tolerance_minutes", read_tolerance, false},
};

} // namespace

RulesRefusal read_rules(std::string_view text, Rules &rules)
{
    rules = Rules{};
    toml::table table;
    try {
        table = toml::parse(text);
    } catch (const toml::parse_error &error) {
        return refuse(error.source().begin.line, N_("not a TOML text: %s"), error.description());
    }
    /* toml++ keeps a table's keys sorted: of several mistakes, the one on
     * the earliest line is the first the file makes. */
    RulesRefusal first;
    const auto keep = [&first](RulesRefusal why) {
        if (!why.empty() && (first.empty() || why.line < first.line))
            first = std::move(why);
    };
    bool seen[std::size(kKeys)] = {};
    for (const auto &[key, node] : table) {
        size_t k = 0;
        while (k < std::size(kKeys) && kKeys[k].key != key.str())
            k++;
        if (k == std::size(kKeys)) {
            keep(refuse(key.source().begin.line, N_("unknown key %s"), key.str()));
            continue;
        }
        keep(kKeys[k].read(node, key.str(), rules));
        seen[k] = true;
    }
    if (!first.empty())
        return first;
    for (size_t k = 0; k < std::size(kKeys); k++)
        if (kKeys[k].required && !seen[k])
            return refuse(0, N_("the key %s is missing"), kKeys[k].key);
    return {};
}

const std::vector<Rules> &builtin_rules()
{
    static const std::vector<Rules> rules = [] {
        std::vector<Rules> all(kBuiltinRulesCount);
        for (size_t i = 0; i < kBuiltinRulesCount; i++)
            read_rules(kBuiltinRules[i].text, all[i]);
        return all;
    }();
    return rules;
}

RulesRefusal load_rules(std::string_view argument, Rules &rules, std::string &place)
{
    place = argument;
    for (size_t i = 0; i < kBuiltinRulesCount; i++)
        if (argument == kBuiltinRules[i].name) {
            rules = builtin_rules()[i];
            return {};
        }
    std::string text;
    const int fd = open(place.c_str(), O_RDONLY | O_CLOEXEC);
    const auto cannot_read = [&](int error) {
        std::string names;
        for (size_t i = 0; i < kBuiltinRulesCount; i++)
            names.append(i == 0 ? "" : ", ").append(kBuiltinRules[i].name);
        return refuse(0, N_("not a built-in rule (%s), and cannot read the file: %s"), names,
                      strerror(error));
    };
    if (fd < 0)
        return cannot_read(errno);
    char buffer[4096];
    long n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0 && text.size() <= kMaxRulesBytes)
        text.append(buffer, static_cast<size_t>(n));
    const int error = errno;
    close(fd);
    if (n < 0)
        return cannot_read(error);
    if (text.size() > kMaxRulesBytes)
        return refuse(0, N_("larger than 1 MiB, which no rules file is"));
    return read_rules(text, rules);
}
