// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results.h"

#include <array>
#include <charconv>
#include <initializer_list>

#include "band.h"
#include "distance.h"
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
    cells[k++] = std::to_string(log.edi.contacts.size());
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
    std::string name = escaped(contact.call);
    const std::string_view locator = trim_blanks(contact.locator);
    if (!locator.empty())
        name.append(" ").append(escaped(locator));
    return name;
}

std::string when(const EdiContact &contact)
{
    return escaped(contact.date) + " " + escaped(contact.time);
}

void append_line(std::string &out, Translate translate, const char *format,
                 std::initializer_list<std::string> args)
{
    std::string_view views[8]; /* no message has more */
    int n = 0;
    for (const std::string &arg : args)
        views[n++] = arg;
    append_substituted(out, translate(format), views, n);
}

/* What happened to a contact that did not score or is unique. */
void append_fate(const Contest &contest, const ContestLog &log, size_t i, Translate translate,
                 std::string &out)
{
    const Fate &fate = log.fates[i];
    const EdiContact &contact = log.edi.contacts[i];
    const ContestLog *other = fate.other == kNoLog ? nullptr : &contest.logs()[fate.other];
    const EdiContact *line =
        other && fate.line != kNoLine ? &other->edi.contacts[fate.line] : nullptr;
    const std::string otherCall = other ? escaped(other->edi.call.value) : std::string();
    const char *words = verdict_name(fate.verdict).words;
    switch (fate.verdict) {
    case Verdict::kConfirmed:
        return;
    case Verdict::kUnverified:
        append_line(out, translate, N_("unique: no other log of the band has %s"),
                    {escaped(contest.station(log.stations[i]))});
        return;
    case Verdict::kNotInLog:
        append_line(out, translate, N_("not in the log of %s"), {otherCall});
        return;
    case Verdict::kBustedCall:
        append_line(out, translate, N_("%s: %s logged a contact with %s at %s"),
                    {translate(words), otherCall, escaped(line->call), when(*line)});
        return;
    case Verdict::kBustedLocator:
        append_line(out, translate, N_("%s: %s sent %s"),
                    {translate(words), otherCall, escaped(other->edi.own_locator.value)});
        return;
    case Verdict::kBustedNumber:
        append_line(out, translate, N_("%s: %s sent %s"),
                    {translate(words), otherCall, escaped(line->sent_number)});
        return;
    case Verdict::kBustedReport:
        append_line(out, translate, N_("%s: %s sent %s"),
                    {translate(words), otherCall, escaped(line->sent_report)});
        return;
    case Verdict::kTime:
        append_line(out, translate, N_("%s: logged at %s, by %s at %s"),
                    {translate(words), when(contact), otherCall, when(*line)});
        return;
    case Verdict::kDuplicate: {
        const size_t first = log.counts[i].first;
        append_line(out, translate, N_("%s of line %s"),
                    {translate(words),
                     first < log.edi.contacts.size() ? std::to_string(log.edi.contacts[first].line)
                                                     : std::string("?")});
        return;
    }
    case Verdict::kOutside:
        append_line(out, translate, N_("%s (%s)"), {translate(words), when(contact)});
        return;
    case Verdict::kIncomplete:
    case Verdict::kInvalidLocator: {
        const Reason &why = log.counts[i].detail;
        if (why.empty()) {
            out += translate(words);
            return;
        }
        std::string detail;
        std::string quoted[4];
        std::string_view args[4];
        for (int k = 0; k < 4; k++) {
            append_escaped(quoted[k], why.args[k]);
            args[k] = quoted[k];
        }
        append_substituted(detail, translate(why.format), args, 4);
        append_line(out, translate, N_("%s: %s"), {translate(words), detail});
        return;
    }
    }
}

} // namespace

void append_report(const Contest &contest, uint32_t index, Translate translate, std::string &out)
{
    const ContestLog &log = contest.logs()[index];
    const std::string file = escaped(log.file);
    for (size_t i = 0; i < log.fates.size(); i++) {
        const Fate &fate = log.fates[i];
        if (verdict_counts(fate.verdict) && !fate.unique)
            continue;
        out.append(file).append(":").append(std::to_string(log.edi.contacts[i].line)).append(": ");
        out.append(contact_name(log.edi.contacts[i])).append(": ");
        append_fate(contest, log, i, translate, out);
        out += '\n';
    }
    size_t rivals = 0;
    for (const ContestLog &other : contest.logs())
        rivals += other.band == log.band;
    std::string tally;
    for (size_t v = 0; v < kVerdictCount; v++) {
        if (log.tally[v] == 0)
            continue;
        if (!tally.empty())
            tally += ", ";
        append_line(tally, translate, N_("%s %s"),
                    {translate(kVerdicts[v].words), std::to_string(log.tally[v])});
        if (kVerdicts[v].verdict == Verdict::kUnverified && log.unique > 0)
            append_line(tally, translate, N_(" (%s unique)"), {std::to_string(log.unique)});
    }
    const std::string_view claimed = trim_blanks(log.edi.score.value);
    out.append(file).append(": ");
    append_line(out, translate, N_("%s on %s: rank %s of %s, score %s (%s points, %s squares)"),
                {escaped(log.edi.call.value), kBands[log.band].name, std::to_string(log.rank),
                 std::to_string(rivals), std::to_string(log.score.total),
                 std::to_string(log.score.points), std::to_string(log.score.squares)});
    if (!claimed.empty())
        append_line(out, translate, N_(", claimed %s"), {escaped(claimed)});
    append_line(out, translate, N_("; %s contacts: %s"),
                {std::to_string(log.edi.contacts.size()), tally});
    out += '\n';
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

/* The fewest decimals that read back as d, in fixed notation. */
void append_number(double d, std::string &out)
{
    char buffer[64];
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed);
    out.append(buffer, static_cast<size_t>(r.ptr - buffer));
}

void append_position(const LatLon &p, std::string &out)
{
    out += '[';
    append_number(p.longitude, out);
    out += ',';
    append_number(p.latitude, out);
    out += ']';
}

} // namespace

void append_map(const Contest &contest, std::string &out)
{
    constexpr double kMaxStep = 50000; /* metres between vertices */
    std::vector<LatLon> vertices;
    for (uint32_t index : contest.ranked()) {
        const ContestLog &log = contest.logs()[index];
        const char *band = kBands[log.band].name;
        out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        append_position(log.own.centre, out);
        out += "},\"properties\":{\"call\":";
        append_json_string(log.edi.call.value, out);
        out.append(",\"band\":\"").append(band).append("\",\"rank\":");
        out.append(std::to_string(log.rank)).append(",\"score\":");
        out.append(std::to_string(log.score.total)).append("}}\n");
        for (size_t i = 0; i < log.fates.size(); i++) {
            const EdiContact &contact = log.edi.contacts[i];
            const Result<ContestPlace> other = contest_place(trim_blanks(contact.locator));
            if (!other)
                continue;
            geodesic_vertices(log.own.centre, other.value.centre, kMaxStep, vertices);
            out += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
            for (size_t k = 0; k < vertices.size(); k++) {
                if (k > 0)
                    out += ',';
                append_position(vertices[k], out);
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
}
