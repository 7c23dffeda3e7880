// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "counting.h"

#include <string>
#include <unordered_map>

#include "station.h"
#include "text.h"

int64_t digits_of(std::string_view text, size_t digits)
{
    if (text.size() != digits)
        return -1;
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

namespace {

/* What the exchange lacks, the first thing found; an empty reason when it
 * is whole. */
Reason missing(const EdiContact &contact)
{
    const std::string_view call = trim_blanks(contact.call);
    if (call.empty())
        return refusal(N_("no call"));
    if (same_name(call, "ERROR"))
        return refusal(N_("the call is ERROR"));
    if (trim_blanks(contact.received_report).empty())
        return refusal(N_("no received report"));
    if (trim_blanks(contact.received_number).empty())
        return refusal(N_("no received number"));
    if (trim_blanks(contact.locator).empty())
        return refusal(N_("no received locator"));
    return {};
}

} // namespace

/* The log's dates are YYMMDD: their century is the contest's. */
bool inside_period(const EdiContact &contact, const Rules &rules,
                   const std::optional<ContestDates> &dates)
{
    if (dates) {
        const int64_t day = digits_of(trim_blanks(contact.date), 6);
        const int64_t full = day < 0 ? -1 : dates->first / 1000000 * 1000000 + day;
        if (full < dates->first || full > dates->last)
            return false;
    }
    if (rules.hours) {
        const int64_t time = digits_of(trim_blanks(contact.time), 4);
        const int64_t minute = time / 100 * 60 + time % 100;
        if (time < 0 || time % 100 >= 60 || minute < rules.first_minute ||
            minute > rules.last_minute)
            return false;
    }
    return true;
}

std::optional<ContestDates> read_contest_dates(std::string_view value)
{
    value = trim_blanks(value);
    const int64_t first = digits_of(trim_blanks(first_part(value)), 8);
    const std::string_view rest = trim_blanks(after_first_part(value));
    const int64_t last = rest.empty() ? first : digits_of(rest, 8);
    if (first < 0 || last < first)
        return std::nullopt;
    return ContestDates{static_cast<uint32_t>(first), static_cast<uint32_t>(last)};
}

std::vector<Count> count_contacts(const EdiLog &log, const Rules &rules,
                                  const std::optional<ContestDates> &dates)
{
    std::vector<Count> counts(log.contacts.size());
    std::unordered_map<std::string, size_t> counted; /* station to its first contact */
    counted.reserve(log.contacts.size());
    std::string buffer;
    for (size_t i = 0; i < log.contacts.size(); i++) {
        const EdiContact &contact = log.contacts[i];
        Count &count = counts[i];
        const Result<ContestPlace> place = contest_place(trim_blanks(contact.locator));
        if (Reason why = missing(contact); !why.empty()) {
            count.verdict = Verdict::kIncomplete;
            count.detail = why;
        } else if (!inside_period(contact, rules, dates))
            count.verdict = Verdict::kOutside;
        else if (!place) {
            count.verdict = Verdict::kInvalidLocator;
            count.detail = place.reason;
        } else {
            count.place = place.value;
            const auto [first, fresh] =
                counted.emplace(std::string(station_of(contact.call, buffer)), i);
            if (!fresh) {
                count.verdict = Verdict::kDuplicate;
                count.first = first->second;
            }
        }
    }
    return counts;
}
