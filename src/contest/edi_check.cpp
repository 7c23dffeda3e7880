// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "edi_check.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "counting.h"
#include "edi_log.h"
#include "report.h"
#include "scoring.h"
#include "station.h"
#include "text.h"

namespace {

/* A count or points as a log writes them: digits alone, blanks around. */
std::optional<int64_t> whole_number(std::string_view text)
{
    text = trim_blanks(text);
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

/* A contact by the rule: its fate, and when it counts, its score. */
struct Scored {
    Count count;
    ContactScore score{0, 0, 0, 0};
};

/* The log by one rule: each contact, then the totals. */
struct Evaluation {
    std::vector<Scored> contacts;
    int64_t counted = 0, duplicates = 0, points = 0;
    LargeSquares squares;
    size_t longest = kNoContact; /* the first of the farthest counted contacts */
};

Evaluation evaluate(const EdiLog &log, const Rules &rules, const ContestPlace &own,
                    const std::optional<ContestDates> &dates)
{
    Evaluation e;
    e.squares.add(own);
    const std::vector<Count> counts = count_contacts(log, rules, dates);
    e.contacts.reserve(counts.size());
    for (size_t i = 0; i < counts.size(); i++) {
        Scored s{counts[i]};
        if (s.count.verdict == Verdict::kDuplicate)
            e.duplicates++;
        if (verdict_counts(s.count.verdict)) {
            s.score = score_contact(rules, own, s.count.place);
            e.squares.add(s.count.place);
            e.counted++;
            e.points += s.score.points;
            if (e.longest == kNoContact ||
                s.score.whole_kilometres > e.contacts[e.longest].score.whole_kilometres)
                e.longest = i;
        }
        e.contacts.push_back(s);
    }
    return e;
}

std::string_view claimed_text(std::string_view claimed)
{
    claimed = trim_blanks(claimed);
    return claimed.empty() ? std::string_view(contest_text(N_("nothing"))) : claimed;
}

/* The rule's text for a field the check recomputes; a splice and a report
 * line when the claim disagrees. field is the part of the value that holds
 * the claim. */
struct Claims {
    Report &report;
    std::vector<EdiSplice> splices;

    void check(std::string_view field, uint64_t line, const char *name, int64_t rule)
    {
        if (line != 0 && whole_number(field) != rule)
            replace(field, line, name, std::to_string(rule));
    }
    void replace(std::string_view field, uint64_t line, const char *name, std::string rule)
    {
        report.add(line, N_("%s: %s claims %s, the rule gives %s"),
                   {name, claimed_text(field), rule});
        splices.push_back({field, std::move(rule)});
    }
};

/* CODXC=call;locator;kilometres agrees when it names a counted contact at
 * the longest distance (there may be several), in whole kilometres. */
void check_longest(const EdiLog &log, const Evaluation &e, Claims &claims)
{
    if (log.longest.line == 0 || e.longest == kNoContact)
        return;
    const int64_t best = e.contacts[e.longest].score.whole_kilometres;
    std::string_view parts[3], rest = log.longest.value;
    for (std::string_view &part : parts) {
        part = trim_blanks(first_part(rest));
        rest = after_first_part(rest);
    }
    if (whole_number(parts[2]) == best)
        for (size_t i = 0; i < e.contacts.size(); i++)
            if (verdict_counts(e.contacts[i].count.verdict) &&
                e.contacts[i].score.whole_kilometres == best &&
                same_name(trim_blanks(log.contacts[i].call), parts[0]) &&
                same_name(trim_blanks(log.contacts[i].locator), parts[1]))
                return;
    const EdiContact &contact = log.contacts[e.longest];
    std::string rule(trim_blanks(contact.call));
    rule.append(";").append(trim_blanks(contact.locator)).append(";");
    rule += std::to_string(best);
    claims.replace(log.longest.value, log.longest.line, "CODXC", rule);
}

std::string kilometres_text(std::string_view number)
{
    std::string text;
    append_substituted(text, contest_text(N_("%s km")), &number, 1);
    return text;
}

std::string kilometres_text(double kilometres)
{
    char digits[16];
    return kilometres_text(std::string_view(digits, format_contest_kilometres(kilometres, digits)));
}

/* Why a contact scores what the rule gives: its kilometres or ring, or why
 * it does not count. */
std::string because(const Rules &rules, const EdiLog &log, const Scored &s)
{
    std::string text;
    if (verdict_counts(s.count.verdict)) {
        if (rules.points == PointsBy::kKilometres)
            return kilometres_text(s.score.kilometres);
        const std::string ring = std::to_string(s.score.ring);
        const std::string_view arg = ring;
        append_substituted(text, contest_text(N_("ring %s")), &arg, 1);
        return text;
    }
    text = contest_text(verdict_name(s.count.verdict).words);
    if (!s.count.detail.empty())
        text.append(": ").append(reason_text(s.count.detail));
    else if (s.count.first != kNoContact)
        text.append(": ").append(reason_text(refusal(
            N_("line %s counts it"), std::to_string(log.contacts[s.count.first].line))));
    return text;
}

/* The total, and the squares when the rule counts them: "742 (7 squares)". */
std::string score_text(const Rules &rules, const LogScore &score)
{
    const std::string total = std::to_string(score.total);
    if (!rules.square_multiplier && rules.square_bonus == 0)
        return total;
    const std::string squares = std::to_string(score.squares);
    const std::string_view args[] = {total, squares};
    std::string text;
    append_substituted(text, contest_text(N_("%s (%s squares)")), args, 2);
    return text;
}

/* "CALL LOCATOR", or what of them the contact has. */
std::string contact_name(const EdiContact &contact)
{
    std::string name(trim_blanks(contact.call));
    const std::string_view locator = trim_blanks(contact.locator);
    if (!locator.empty())
        name.append(name.empty() ? "" : " ").append(locator);
    return name;
}

/* The log's D mark against the calls: reported, not obeyed. */
void check_duplicate_mark(const EdiLog &log, size_t i, const Scored &s, Report &report,
                          bool &agrees)
{
    const EdiContact &contact = log.contacts[i];
    const bool marked = same_name(trim_blanks(contact.duplicate), "D");
    if (s.count.verdict == Verdict::kDuplicate && !marked) {
        report.add(contact.line, N_("%s: %s: a duplicate of line %s, not marked D"),
                   {contact_name(contact), std::to_string(log.contacts[s.count.first].line)});
        agrees = false;
    } else if (verdict_counts(s.count.verdict) && marked) {
        std::string buffer;
        report.add(contact.line, N_("%s: %s: marked D, but no earlier contact with %s counts"),
                   {contact_name(contact), station_of(contact.call, buffer)});
        agrees = false;
    }
}

/* How many contacts claim the points the rule gives them: all, and of
 * those that claim points. */
struct Agreement {
    size_t all = 0, scoring = 0;
};

Agreement agreeing(const EdiLog &log, const Evaluation &e)
{
    Agreement n;
    for (size_t i = 0; i < e.contacts.size(); i++) {
        const std::optional<int64_t> claim = whole_number(log.contacts[i].points);
        if (claim == e.contacts[i].score.points) {
            n.all++;
            n.scoring += *claim > 0;
        }
    }
    return n;
}

/* When most claims disagree with the rule chosen: the built-in rule they
 * follow on more than half of the contacts, and of those that claim points
 * (zeros alone follow no rule), the best if several. */
void hint(const EdiLog &log, const Rules &chosen, const ContestPlace &own,
          const std::optional<ContestDates> &dates, size_t disagreeing, Report &report)
{
    const size_t contacts = log.contacts.size();
    if (disagreeing * 2 <= contacts)
        return;
    size_t scoring = 0;
    for (const EdiContact &contact : log.contacts)
        scoring += whole_number(contact.points).value_or(0) > 0;
    const Rules *best = nullptr;
    size_t most = 0;
    for (const Rules &rules : builtin_rules()) {
        if (rules.name == chosen.name)
            continue;
        const Agreement n = agreeing(log, evaluate(log, rules, own, dates));
        if (n.all * 2 > contacts && n.scoring * 2 > scoring && n.all > most) {
            best = &rules;
            most = n.all;
        }
    }
    if (best)
        report.add(0, N_("%s: the claimed points follow %s on %s of %s contacts: --rules %s?"),
                   {best->name, std::to_string(most), std::to_string(contacts), best->name});
}

} // namespace

bool band_above_10_ghz(std::string_view band)
{
    // The 10 GHz band is 10 to 10.5 GHz; the next is 24 GHz.
    const std::optional<int64_t> kilohertz = band_kilohertz(band);
    return kilohertz && *kilohertz > 11000000;
}

bool check_edi(std::string_view name, std::string_view text, const Rules &rules,
               std::string &report, std::string *corrected)
{
    const EdiLog log = read_edi(text);
    Report out(report, name);
    const std::string_view ownLocator = trim_blanks(log.own_locator.value);
    if (log.own_locator.line == 0) {
        out.add(0, N_("%s: no PWWLo, the own locator, in the header: the log is not checked"), {});
        return false;
    }
    const Result<ContestPlace> own = contest_place(ownLocator);
    if (!own) {
        out.add(log.own_locator.line, N_("%s: PWWLo %s: %s; the log is not checked"),
                {ownLocator, reason_text(own.reason)});
        return false;
    }
    if (rules.points == PointsBy::kKilometres && log.band.line != 0 &&
        band_above_10_ghz(log.band.value)) {
        out.add(log.band.line,
                N_("%s: PBand %s is above 10 GHz, where other rules score: no points checked"),
                {trim_blanks(log.band.value)});
        if (corrected)
            corrected->append(text);
        return true;
    }
    bool agrees = log.unreadable.empty();
    std::optional<ContestDates> dates;
    if (log.dates.line != 0) {
        dates = read_contest_dates(log.dates.value);
        if (!dates) {
            out.add(log.dates.line,
                    N_("%s: TDate %s is not YYYYMMDD;YYYYMMDD: the contest's dates are not "
                       "checked"),
                    {trim_blanks(log.dates.value)});
            agrees = false;
        }
    }

    const Evaluation e = evaluate(log, rules, own.value, dates);
    Claims claims{out, {}};
    int64_t claimed = 0;
    size_t disagreeing = 0;
    auto unreadable = log.unreadable.begin();
    const auto report_unreadable = [&](uint64_t before) {
        for (; unreadable != log.unreadable.end() && unreadable->line < before; ++unreadable)
            out.add(unreadable->line, N_("%s: %s"), {reason_text(unreadable->why)});
    };
    for (size_t i = 0; i < log.contacts.size(); i++) {
        const EdiContact &contact = log.contacts[i];
        const Scored &s = e.contacts[i];
        // The report goes in the order of the lines.
        report_unreadable(contact.line);
        const std::optional<int64_t> claim = whole_number(contact.points);
        // Claims of up to 18 digits each: their sum stops at the largest.
        claimed = claim.value_or(0) > INT64_MAX - claimed ? INT64_MAX : claimed + claim.value_or(0);
        if (claim != s.score.points) {
            disagreeing++;
            claims.splices.push_back({contact.points, std::to_string(s.score.points)});
            out.add(contact.line, N_("%s: %s: claimed %s, the rule gives %s (%s)"),
                    {contact_name(contact), claimed_text(contact.points),
                     claims.splices.back().text, because(rules, log, s)});
        }
        check_duplicate_mark(log, i, s, out, agrees);
    }
    report_unreadable(UINT64_MAX);
    agrees = agrees && claims.splices.empty();

    const int64_t factor = band_factor(rules, log.band.value);
    const LogScore score = log_score(rules, factor, e.points, e.squares.count());
    const size_t before = claims.splices.size();
    claims.check(first_part(log.valid_count.value), log.valid_count.line, "CQSOs", e.counted);
    claims.check(log.total.value, log.total.line, "CQSOP", score.points);
    if (rules.square_multiplier || rules.square_bonus != 0)
        claims.check(first_part(log.squares.value), log.squares.line, "CWWLs", score.squares);
    claims.check(log.score.value, log.score.line, "CToSc", score.total);
    check_longest(log, e, claims);
    agrees = agrees && claims.splices.size() == before;

    const std::string longest =
        e.longest == kNoContact
            ? contest_text(N_("none"))
            : contact_name(log.contacts[e.longest]) + " " +
                  kilometres_text(std::to_string(e.contacts[e.longest].score.whole_kilometres));
    out.add(0,
            N_("%s: contacts %s, counted %s, duplicates %s, not counted %s; points claimed %s, "
               "by the rule %s; score %s; longest %s"),
            {std::to_string(log.contacts.size()), std::to_string(e.counted),
             std::to_string(e.duplicates),
             std::to_string(static_cast<int64_t>(log.contacts.size()) - e.counted - e.duplicates),
             std::to_string(claimed), std::to_string(score.points),
             score_text(rules, score),
             longest});
    hint(log, rules, own.value, dates, disagreeing, out);
    if (corrected)
        write_spliced(text, claims.splices, *corrected);
    return agrees;
}
