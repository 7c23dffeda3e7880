// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results.h"

#include <array>

#include "band.h"
#include "distance.h"
#include "point.h"
#include "report.h"
#include "text.h"

namespace {

constexpr size_t kColumns = 24;
using Row = std::array<std::string, kColumns>;

/* A value quoted from a log, safe for a terminal. */
std::string escaped(std::string_view text)
{
    std::string out;
    append_escaped(out, trim_blanks(text));
    return out;
}

/* Characters, not bytes: what aligns a column (escaped text is UTF-8). */
size_t width(std::string_view text)
{
    size_t n = 0;
    for (char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

/* The cells of a log's row, in the header's order. */
void row_cells(const ContestLog &log, Row &cells)
{
    size_t k = 0;
    cells[k++] = kBands[log.band].name;
    cells[k++] = std::to_string(log.rank);
    cells[k++] = escaped(log.edi.call.value);
    cells[k++] = escaped(log.edi.own_locator.value);
    cells[k++] = escaped(log.edi.section.value);
    cells[k++] = escaped(log.file);
    cells[k++] = std::to_string(log.contact_count());
    for (size_t v = 0; v < kVerdictCount; v++) {
        cells[k++] = std::to_string(log.tally[v]);
        if (kVerdicts[v].verdict == Verdict::kUnverified)
            cells[k++] = std::to_string(log.unique);
    }
    cells[k++] = std::to_string(log.score.points);
    cells[k++] = std::to_string(log.score.squares);
    cells[k++] = std::to_string(log.score.total);
    cells[k++] = escaped(log.edi.score.value);
}

void header_cells(Row &cells)
{
    size_t k = 0;
    for (const char *name : {"band", "rank", "call", "locator", "section", "file", "logged"})
        cells[k++] = name;
    for (size_t v = 0; v < kVerdictCount; v++) {
        cells[k++] = kVerdicts[v].column;
        if (kVerdicts[v].verdict == Verdict::kUnverified)
            cells[k++] = "unique";
    }
    for (const char *name : {"points", "squares", "score", "claimed"})
        cells[k++] = name;
}

/* RFC 4180: quoted when it holds a comma, a quote or a line end, quotes
 * doubled. */
void append_csv_cell(std::string_view cell, std::string &out)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

/* The columns of text (band to file) are left-aligned, numbers right. */
bool left_aligned(size_t column)
{
    return column <= 5 || column == kColumns - 1;
}

} // namespace

void append_results(const Contest &contest, bool csv, std::string &out)
{
    const std::vector<uint32_t> order = contest.ranked();
    std::vector<Row> rows(order.size() + 1);
    header_cells(rows[0]);
    for (size_t r = 0; r < order.size(); r++)
        row_cells(contest.logs()[order[r]], rows[r + 1]);
    if (csv) {
        for (const Row &row : rows) {
            for (size_t k = 0; k < kColumns; k++) {
                if (k > 0)
                    out += ',';
                append_csv_cell(row[k], out);
            }
            out += "\r\n";
        }
        return;
    }
    size_t widths[kColumns] = {};
    for (const Row &row : rows)
        for (size_t k = 0; k < kColumns; k++)
            widths[k] = std::max(widths[k], width(row[k]));
    for (const Row &row : rows) {
        std::string line;
        for (size_t k = 0; k < kColumns; k++) {
            const std::string &cell = row[k];
            const std::string pad(widths[k] - width(cell), ' ');
            if (k > 0)
                line += "  ";
            line += left_aligned(k) ? cell + pad : pad + cell;
        }
        out.append(trim_blanks(line)).append("\n");
    }
}

std::string report_name(const Contest &contest, uint32_t log)
{
    const ContestLog &l = contest.logs()[log];
    std::string name(contest.station(l.station));
    for (char &c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '.'))
            c = '_';
    if (name.empty() || name[0] == '.') /* never ".." or a hidden file */
        name.insert(0, "_");
    return name + "-" + kBands[l.band].file + ".txt";
}

namespace {

/* "CALL LOCATOR" as received, or the call alone without a locator. */
std::string contact_name(const EdiContact &contact)
{
    std::string name(trim_blanks(contact.call));
    const std::string_view locator = trim_blanks(contact.locator);
    if (!locator.empty())
        name.append(" ").append(locator);
    return name;
}

std::string when(const EdiContact &contact)
{
    return std::string(trim_blanks(contact.date)) + " " + std::string(trim_blanks(contact.time));
}

/* The report's line of a contact that did not score or is unique. */
void report_fate(const Contest &contest, const ContestLog &log, const EdiLog &edi,
                 const std::vector<Count> &counts, size_t i, Report &report)
{
    const Fate &fate = log.fates[i];
    const EdiContact &contact = edi.contacts[i];
    const uint64_t at = contact.line;
    const std::string name = contact_name(contact);
    const ContestLog *other = fate.other == kNoLog ? nullptr : &contest.logs()[fate.other];
    const EdiContact line = other && fate.line != kNoLine ? other->contact(fate.line) : EdiContact();
    const std::string_view otherCall = other ? trim_blanks(other->edi.call.value) : "";
    const std::string_view words = contest_text(verdict_name(fate.verdict).words);
    switch (fate.verdict) {
    case Verdict::kConfirmed:
        return;
    case Verdict::kUnverified:
        report.add(at, N_("%s: %s: unique: no other log of the band has %s"),
                   {name, contest.station(log.stations[i])});
        return;
    case Verdict::kNotInLog:
        report.add(at, N_("%s: %s: not in the log of %s"), {name, otherCall});
        return;
    case Verdict::kBustedCall:
        report.add(at, N_("%s: %s: %s: %s logged a contact with %s at %s"),
                   {name, words, otherCall, trim_blanks(line.call), when(line)});
        return;
    case Verdict::kBustedLocator:
    case Verdict::kBustedNumber:
    case Verdict::kBustedReport: {
        const std::string_view sent = fate.verdict == Verdict::kBustedLocator
                                          ? other->edi.own_locator.value
                                      : fate.verdict == Verdict::kBustedNumber ? line.sent_number
                                                                               : line.sent_report;
        report.add(at, N_("%s: %s: %s: %s sent %s"), {name, words, otherCall, trim_blanks(sent)});
        return;
    }
    case Verdict::kTime:
        report.add(at, N_("%s: %s: %s: logged at %s, by %s at %s"),
                   {name, words, when(contact), otherCall, when(line)});
        return;
    case Verdict::kDuplicate: {
        report.add(at, N_("%s: %s: %s of line %s"),
                   {name, words,
                    std::to_string(fate.line < edi.contacts.size() ? edi.contacts[fate.line].line
                                                                   : 0)});
        return;
    }
    case Verdict::kOutside:
        report.add(at, N_("%s: %s: %s (%s)"), {name, words, when(contact)});
        return;
    case Verdict::kIncomplete:
    case Verdict::kInvalidLocator: {
        const Reason &why = counts[i].detail;
        if (why.empty())
            report.add(at, N_("%s: %s: %s"), {name, words});
        else
            report.add(at, N_("%s: %s: %s: %s"), {name, words, reason_text(why)});
        return;
    }
    }
}

} // namespace

void append_report(const Contest &contest, uint32_t index, std::string &out)
{
    const ContestLog &log = contest.logs()[index];
    Report report(out, log.file);
    /* In the order of the lines, those that could not be read among them. */
    auto unreadable = log.edi.unreadable.begin();
    const auto report_unreadable = [&](uint64_t before) {
        for (; unreadable != log.edi.unreadable.end() && unreadable->line < before; ++unreadable)
            report.add(unreadable->line, N_("%s: %s"), {reason_text(unreadable->why)});
    };
    /* The log read again, one at a time, for its lines' numbers and what an
     * incomplete or invalid line lacks, as the log alone says it. */
    const EdiLog edi = read_edi(log.text);
    const std::vector<Count> counts =
        count_contacts(edi, contest.rules(), read_contest_dates(edi.dates.value));
    for (size_t i = 0; i < log.fates.size(); i++) {
        report_unreadable(edi.contacts[i].line);
        if (!verdict_counts(log.fates[i].verdict) || log.fates[i].unique)
            report_fate(contest, log, edi, counts, i, report);
    }
    report_unreadable(UINT64_MAX);
    size_t rivals = 0;
    for (const ContestLog &other : contest.logs())
        rivals += other.band == log.band;
    std::string tally;
    for (size_t v = 0; v < kVerdictCount; v++) {
        if (log.tally[v] == 0)
            continue;
        if (!tally.empty())
            tally += ", ";
        tally.append(contest_text(kVerdicts[v].words)).append(" ").append(std::to_string(log.tally[v]));
        if (kVerdicts[v].verdict == Verdict::kUnverified && log.unique > 0) {
            const std::string unique = std::to_string(log.unique);
            const std::string_view arg = unique;
            append_substituted(tally, contest_text(N_(" (%s unique)")), &arg, 1);
        }
    }
    const std::string_view claimed = trim_blanks(log.edi.score.value);
    const std::string rank = std::to_string(log.rank), of = std::to_string(rivals),
                      score = std::to_string(log.score.total),
                      points = std::to_string(log.score.points),
                      squares = std::to_string(log.score.squares);
    const std::string_view call = trim_blanks(log.edi.call.value), band = kBands[log.band].name;
    if (claimed.empty())
        report.add(0, N_("%s: %s on %s: rank %s of %s, score %s (points %s, squares %s)"),
                   {call, band, rank, of, score, points, squares});
    else
        report.add(0, N_("%s: %s on %s: rank %s of %s, score %s (points %s, squares %s), claimed %s"),
                   {call, band, rank, of, score, points, squares, claimed});
    report.add(0, N_("%s: contacts %s: %s"), {std::to_string(log.contact_count()), tally});
}

namespace {

/* A JSON string of a value quoted from a log: escaped for a terminal first,
 * then for JSON (the backslashes of \xHH included). */
void append_json_string(std::string_view text, std::string &out)
{
    const std::string safe = escaped(text);
    out += '"';
    for (char c : safe) {
        if (c == '"' || c == '\\' || c == '\t')
            out += '\\';
        out += c == '\t' ? 't' : c;
    }
    out += '"';
}

} // namespace

void append_map(const Contest &contest, uint32_t index, std::string &out)
{
    constexpr double kMaxStep = 50000; /* metres between vertices */
    std::vector<LatLon> vertices;
    const ContestLog &log = contest.logs()[index];
    const char *band = kBands[log.band].name;
    out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":";
    append_geojson_point(out, log.own.centre.longitude, log.own.centre.latitude);
    out += "},\"properties\":{\"call\":";
    append_json_string(log.edi.call.value, out);
    out.append(",\"band\":\"").append(band).append("\",\"rank\":");
    out.append(std::to_string(log.rank)).append(",\"score\":");
    out.append(std::to_string(log.score.total)).append("}}\n");
    for (size_t i = 0; i < log.fates.size(); i++) {
        const EdiContact contact = log.contact(i);
        const Result<ContestPlace> other = contest_place(trim_blanks(contact.locator));
        if (!other)
            continue;
        geodesic_vertices(log.own.centre, other.value.centre, kMaxStep, vertices);
        out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
        for (size_t k = 0; k < vertices.size(); k++) {
            if (k > 0)
                out += ',';
            append_geojson_point(out, vertices[k].longitude, vertices[k].latitude);
        }
        out += "]},\"properties\":{\"call\":";
        append_json_string(log.edi.call.value, out);
        out += ",\"worked\":";
        append_json_string(contact.call, out);
        out.append(",\"band\":\"").append(band).append("\",\"verdict\":\"");
        out.append(verdict_name(log.fates[i].verdict).column).append("\",\"points\":");
        out.append(std::to_string(log.fates[i].points)).append("}}\n");
    }
}
