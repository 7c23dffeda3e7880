// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "edi.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <optional>
#include <unistd.h>

#include "distance.h"
#include "text.h"

namespace {

/* No contest log comes near it: a larger file is refused, not kept. */
constexpr size_t kMaxLogBytes = 64 * 1024 * 1024;

constexpr size_t kNone = static_cast<size_t>(-1);


/* ASCII names in any case: "PWWLo", "pwwlo". */
bool same_name(std::string_view a, std::string_view b)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return upper(x) == upper(y); });
}

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

enum class Section { kNone, kHeader, kRecords, kOther };

/* "[REG1TEST;1]", "[QSORecords;123]", "[Remarks]": the section a line opens. */
Section section_of(std::string_view line)
{
    const std::string_view name = line.substr(1, line.find_first_of(";]") - 1);
    return same_name(name, "REG1TEST")     ? Section::kHeader
           : same_name(name, "QSORecords") ? Section::kRecords
                                           : Section::kOther;
}

const struct {
    std::string_view name;
    EdiField EdiLog::*field;
} kHeaderFields[] = {{"PWWLo", &EdiLog::own_locator}, {"PBand", &EdiLog::band},
                     {"CQSOs", &EdiLog::valid_count}, {"CQSOP", &EdiLog::total},
                     {"CODXC", &EdiLog::longest}};

void read_header_field(std::string_view line, uint64_t number, EdiLog &log)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    for (const auto &row : kHeaderFields) {
        EdiField &field = log.*row.field;
        if (field.line != 0 || !same_name(line.substr(0, equals), row.name))
            continue;
        field = {line.substr(equals + 1), number};
        if (row.field == &EdiLog::valid_count)
            field.value = field.value.substr(0, field.value.find(';'));
    }
}

/* The fields of a contact line, by their place. */
enum : size_t { kCall = 2, kLocator = 9, kPoints = 10, kDuplicate = 14, kFields = 15 };

/* False when the line ends before its points. */
bool read_contact(std::string_view line, uint64_t number, EdiContact &contact)
{
    std::string_view fields[kFields];
    size_t n = 0;
    for (size_t start = 0; n < kFields;) {
        const size_t end = line.find(';', start);
        fields[n++] = line.substr(start, end == std::string_view::npos ? end : end - start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (n <= kPoints)
        return false;
    contact = {number, fields[kCall], fields[kLocator], fields[kPoints], fields[kDuplicate]};
    return true;
}

/* One contact by the rule: its points, and when it has none, why. */
struct Score {
    enum Kind { kValid, kDuplicate, kInvalid } kind = kValid;
    int points = 0;
    double kilometres = 0;
    Reason why;
};

Score score(const EdiContact &contact, LatLon own)
{
    Score s;
    if (same_name(trim_blanks(contact.call), "ERROR")) {
        s.kind = Score::kInvalid;
        s.why = refusal(N_("the call is ERROR"));
    } else if (same_name(trim_blanks(contact.duplicate), "D")) {
        s.kind = Score::kDuplicate;
        s.why = refusal(N_("a duplicate"));
    } else if (const Result<LatLon> station = subsquare_centre(trim_blanks(contact.locator));
               !station) {
        s.kind = Score::kInvalid;
        s.why = station.reason;
    } else {
        const ContestDistance d = iaru_distance(own, station.value);
        s.points = d.points;
        s.kilometres = d.kilometres;
    }
    return s;
}

std::string reason_text(const Reason &why)
{
    std::string text;
    append_message(text, translate(why.format), why.args, 4);
    return text;
}

/* The report's lines, each starting with its place as compilers write it:
 * "NAME:LINE", or "NAME" for the whole log. */
class Report {
public:
    Report(std::string &text, std::string_view name) : m_text(text), m_name(name) {}

    /* format's first %s is the place, args the others. */
    void add(uint64_t line, const char *format, std::initializer_list<std::string_view> args)
    {
        std::string place(m_name);
        if (line != 0)
            place.append(":").append(std::to_string(line));
        std::string_view all[8] = {place};
        std::copy(args.begin(), args.end(), all + 1);
        append_message(m_text, translate(format), all, static_cast<int>(args.size() + 1));
        m_text += '\n';
    }

private:
    std::string &m_text;
    std::string_view m_name;
};

/* A field that disagrees with the rule: the view into the log that the rule's
 * text replaces. */
struct Fix {
    std::string_view claimed;
    std::string rule;
};

/* text with each fix spliced in, appended to out: every other byte is
 * copied as it stands. */
void write_spliced(std::string_view text, std::vector<Fix> &fixes, std::string &out)
{
    std::sort(fixes.begin(), fixes.end(),
              [](const Fix &a, const Fix &b) { return a.claimed.data() < b.claimed.data(); });
    const char *p = text.data();
    for (const Fix &fix : fixes) {
        out.append(p, static_cast<size_t>(fix.claimed.data() - p));
        out += fix.rule;
        p = fix.claimed.data() + fix.claimed.size();
    }
    out.append(p, static_cast<size_t>(text.data() + text.size() - p));
}

std::string_view claimed_text(std::string_view claimed)
{
    claimed = trim_blanks(claimed);
    return claimed.empty() ? std::string_view(translate(N_("nothing"))) : claimed;
}

/* A header count that the rule recomputes: CQSOs, CQSOP. */
void check_count(const EdiField &field, const char *name, int64_t rule, Report &report,
                 std::vector<Fix> &fixes)
{
    if (field.line == 0 || whole_number(field.value) == rule)
        return;
    fixes.push_back({field.value, std::to_string(rule)});
    report.add(field.line, N_("%s: %s claims %s, the rule gives %s"),
               {name, claimed_text(field.value), fixes.back().rule});
}

/* CODXC=call;locator;kilometres agrees when it names a contact at the
 * longest distance (there may be several), in whole kilometres. */
void check_longest(const EdiLog &log, const std::vector<Score> &scores, size_t longest,
                   Report &report, std::vector<Fix> &fixes)
{
    if (log.longest.line == 0 || longest == kNone)
        return;
    const int best = scores[longest].points;
    std::string_view parts[3], rest = log.longest.value;
    for (std::string_view &part : parts) {
        const size_t end = rest.find(';');
        part = trim_blanks(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    if (whole_number(parts[2]) == best - 1)
        for (size_t i = 0; i < scores.size(); i++)
            if (scores[i].points == best && same_name(trim_blanks(log.contacts[i].call), parts[0]) &&
                same_name(trim_blanks(log.contacts[i].locator), parts[1]))
                return;
    const EdiContact &contact = log.contacts[longest];
    std::string rule(trim_blanks(contact.call));
    rule.append(";").append(trim_blanks(contact.locator)).append(";");
    rule += std::to_string(best - 1);
    fixes.push_back({log.longest.value, rule});
    report.add(log.longest.line, N_("%s: %s claims %s, the rule gives %s"),
               {"CODXC", claimed_text(log.longest.value), rule});
}

std::string kilometres_text(std::string_view number)
{
    std::string text;
    append_substituted(text, translate(N_("%s km")), &number, 1);
    return text;
}

std::string kilometres_text(double kilometres)
{
    char sz[16];
    return kilometres_text(std::string_view(sz, format_contest_kilometres(kilometres, sz)));
}

/* "CALL LOCATOR", or the call alone when no locator was received. */
std::string contact_name(const EdiContact &contact)
{
    std::string name(trim_blanks(contact.call));
    const std::string_view locator = trim_blanks(contact.locator);
    if (!locator.empty())
        name.append(" ").append(locator);
    return name;
}

} // namespace

EdiLog read_edi(std::string_view text)
{
    static const std::string kBound = std::to_string(kMaxLine);
    EdiLog log;
    TextSource source(text);
    LineReader reader(source);
    Section section = Section::kNone;
    std::string_view line;
    for (LineReader::Status status; (status = reader.next(line)) == LineReader::kLine ||
                                    status == LineReader::kTooLong;) {
        if (status == LineReader::kTooLong) {
            if (section == Section::kRecords)
                log.unreadable.push_back(
                    {reader.number(), refusal(N_("the line is longer than %s bytes"), kBound)});
            continue;
        }
        // The reader's copy goes with its next chunk: point into the text.
        line = text.substr(reader.offset(), line.size());
        if (!line.empty() && line[0] == '[')
            section = section_of(line);
        else if (section == Section::kHeader)
            read_header_field(line, reader.number(), log);
        else if (section == Section::kRecords && !trim_blanks(line).empty()) {
            EdiContact contact;
            if (read_contact(line, reader.number(), contact))
                log.contacts.push_back(contact);
            else
                log.unreadable.push_back(
                    {reader.number(),
                     refusal(N_("a contact has its points in the 11th field, after 10 ';'"))});
        }
    }
    return log;
}

bool band_above_10_ghz(std::string_view band)
{
    // "1,3 GHz": the decimal separator may be a comma.
    band = trim_blanks(band);
    double value = 0, scale = 1;
    bool bFraction = false, bDigits = false;
    size_t i = 0;
    for (; i < band.size(); i++) {
        const char c = band[i];
        if (c >= '0' && c <= '9') {
            bDigits = true;
            if (bFraction)
                value += (c - '0') * (scale /= 10);
            else
                value = value * 10 + (c - '0');
        } else if ((c == '.' || c == ',') && !bFraction)
            bFraction = true;
        else
            break;
    }
    const std::string_view unit = trim_blanks(band.substr(i));
    const double megahertz = same_name(unit, "GHz") ? value * 1000 : value;
    // The 10 GHz band is 10 to 10.5 GHz; the next is 24 GHz.
    return bDigits && (same_name(unit, "GHz") || same_name(unit, "MHz")) && megahertz > 11000;
}

bool check_edi(std::string_view name, std::string_view text, std::string &report,
               std::string *pCorrected)
{
    const EdiLog log = read_edi(text);
    Report out(report, name);
    const std::string_view ownLocator = trim_blanks(log.own_locator.value);
    if (log.own_locator.line == 0) {
        out.add(0, N_("%s: no PWWLo, the own locator, in the header: the log is not checked"), {});
        return false;
    }
    const Result<LatLon> own = subsquare_centre(ownLocator);
    if (!own) {
        out.add(log.own_locator.line, N_("%s: PWWLo %s: %s; the log is not checked"),
                {ownLocator, reason_text(own.reason)});
        return false;
    }
    if (log.band.line != 0 && band_above_10_ghz(log.band.value)) {
        out.add(log.band.line,
                N_("%s: PBand %s is above 10 GHz, where other rules score: no points checked"),
                {trim_blanks(log.band.value)});
        if (pCorrected)
            pCorrected->append(text);
        return true;
    }

    std::vector<Score> scores;
    scores.reserve(log.contacts.size());
    std::vector<Fix> fixes;
    int64_t nCounts[3] = {0, 0, 0}; // by Score::Kind
    int64_t claimed = 0, total = 0;
    size_t longest = kNone;
    auto unreadable = log.unreadable.begin();
    for (const EdiContact &contact : log.contacts) {
        // The report goes in the order of the lines.
        for (; unreadable != log.unreadable.end() && unreadable->line < contact.line; ++unreadable)
            out.add(unreadable->line, N_("%s: %s"), {reason_text(unreadable->why)});
        const Score s = score(contact, own.value);
        scores.push_back(s);
        nCounts[s.kind]++;
        total += s.points;
        if (s.points > 0 && (longest == kNone || s.points > scores[longest].points))
            longest = scores.size() - 1;
        const std::optional<int64_t> claim = whole_number(contact.points);
        claimed += claim.value_or(0);
        if (claim == s.points)
            continue;
        fixes.push_back({contact.points, std::to_string(s.points)});
        out.add(contact.line, N_("%s: %s: claimed %s, the rule gives %s (%s)"),
                {contact_name(contact), claimed_text(contact.points), fixes.back().rule,
                 s.points > 0 ? kilometres_text(s.kilometres) : reason_text(s.why)});
    }
    for (; unreadable != log.unreadable.end(); ++unreadable)
        out.add(unreadable->line, N_("%s: %s"), {reason_text(unreadable->why)});
    const bool bContactsAgree = fixes.empty() && log.unreadable.empty();

    check_count(log.valid_count, "CQSOs", nCounts[Score::kValid], out, fixes);
    check_count(log.total, "CQSOP", total, out, fixes);
    check_longest(log, scores, longest, out, fixes);

    const std::string longestText =
        longest == kNone ? translate(N_("none"))
                         : contact_name(log.contacts[longest]) + " " +
                               kilometres_text(std::to_string(scores[longest].points - 1));
    out.add(0,
            N_("%s: contacts %s, valid %s, duplicates %s, invalid %s; points claimed %s, by the "
               "rule %s; longest %s"),
            {std::to_string(log.contacts.size()), std::to_string(nCounts[Score::kValid]),
             std::to_string(nCounts[Score::kDuplicate]), std::to_string(nCounts[Score::kInvalid]),
             std::to_string(claimed), std::to_string(total), longestText});
    if (pCorrected)
        write_spliced(text, fixes, *pCorrected);
    return bContactsAgree && fixes.empty();
}

namespace {

/* The whole file into text. */
Reason read_file(std::string_view name, std::string &text)
{
    const int fd = open(std::string(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return refusal(N_("cannot read %s: %s"), name, strerror(errno));
    FdSource source(fd);
    Reason why;
    for (;;) {
        const size_t nUsed = text.size();
        text.resize(nUsed + kChunk);
        const long n = source.read(&text[nUsed], kChunk);
        const int error = errno;
        text.resize(nUsed + static_cast<size_t>(std::max(n, 0L)));
        if (n < 0)
            why = refusal(N_("cannot read %s: %s"), name, strerror(error));
        else if (text.size() > kMaxLogBytes)
            why = refusal(N_("%s is larger than 64 MiB, which no contest log is"), name);
        if (n <= 0 || !why.empty())
            break;
    }
    close(fd);
    return why;
}

} // namespace

int edi_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
              Sink &err, Messages &messages)
{
    int status = 0;
    std::string text, report, corrected;
    for (std::string_view name : files) {
        text.clear();
        report.clear();
        corrected.clear();
        const Reason why = read_file(name, text);
        if (!why.empty()) {
            messages.report({}, why);
            status = 1;
            continue;
        }
        if (!check_edi(name, text, report, settings.write ? &corrected : nullptr))
            status = 1;
        const bool bWritten = settings.write
                                  ? out.write(corrected.data(), corrected.size()) &&
                                        err.write(report.data(), report.size())
                                  : out.write(report.data(), report.size());
        if (!bWritten) {
            messages.report({}, refusal(N_("cannot write the output: %s"), strerror(errno)));
            return 1;
        }
    }
    return status;
}
