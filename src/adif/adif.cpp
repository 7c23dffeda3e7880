// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adif.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "text.h"

namespace {

/* No tag of ADIF comes near it: a '<' with no '>' this close opens none. */
constexpr size_t kMaxTag = 256;
/* Room for the largest field held whole, its tag and one read. */
constexpr size_t kCapacity = kMaxAdifField + kMaxTag + kChunk;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

/* Field names: printable ASCII but the characters ADIF reserves; a space
 * only inside the name. */
bool is_name_character(char c)
{
    switch (c) {
    case ',': case ':': case '<': case '>': case '{': case '}':
        return false;
    default:
        return c >= ' ' && c < 127;
    }
}

std::string decimal(uint64_t n)
{
    char sz[24];
    return std::string(sz, std::to_chars(sz, sz + sizeof sz, n).ptr);
}

/* A tag as read: "<NAME>", "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>". */
struct Tag {
    size_t size = 0; /* bytes from '<' to '>' included; 0: not a tag */
    size_t name_length = 0;
    bool has_length = false;
    uint64_t length = 0;
};

Tag read_tag(std::string_view text)
{
    Tag tag;
    size_t i = 1;
    while (i < text.size() && is_name_character(text[i]))
        i++;
    tag.name_length = i - 1;
    if (tag.name_length == 0 || i == text.size() || text[1] == ' ' || text[i - 1] == ' ')
        return {};
    if (text[i] == ':') {
        const size_t nDigits = ++i;
        while (i < text.size() && is_digit(text[i]) && i - nDigits < 18)
            tag.length = tag.length * 10 + static_cast<uint64_t>(text[i++] - '0');
        if (i == nDigits || i == text.size())
            return {};
        tag.has_length = true;
        if (text[i] == ':') /* the type: one letter in ADIF 3, a few for older files */
            while (++i < text.size() && text[i] != '>' && is_name_character(text[i])) {
            }
    }
    if (i == text.size() || text[i] != '>')
        return {};
    tag.size = i + 1;
    return tag;
}

/* The start of a tag that is not ADIF, for its message. */
std::string quoted_tag(std::string_view text)
{
    constexpr size_t kShown = 24;
    size_t n = 1;
    while (n < text.size() && n < kShown && text[n] != '>' && text[n] != '<' &&
           static_cast<unsigned char>(text[n]) >= ' ')
        n++;
    if (n < text.size() && text[n] == '>')
        n++;
    return std::string(text.substr(0, n));
}

} // namespace

AdiReader::AdiReader(Source &source, Sink *pass)
    : m_source(source), m_pass(pass), m_buffer(kCapacity)
{
}

/* Makes the names and data of the fields read so far independent of the
 * buffer, then passes the unit's held bytes up to m_pos through. */
void AdiReader::pass_held(AdiUnit &unit)
{
    for (AdiField &field : unit.fields) {
        if (field.name.data())
            continue;
        unit.saved.emplace_back(at(field.offset + 1), field.name_length);
        field.name = unit.saved.back();
        if (field.kept) {
            unit.saved.emplace_back(at(field.data_offset), field.length);
            field.data = unit.saved.back();
        }
    }
    if (m_pass && m_pos > m_begin)
        m_pass->write(m_buffer.data() + m_begin, m_pos - m_begin);
    m_begin = m_pos;
}

bool AdiReader::have(AdiUnit &unit, size_t n)
{
    while (m_end - m_pos < n) {
        if (m_eof || m_error)
            return false;
        if (m_buffer.size() - m_end < kChunk) {
            /* A unit too large to hold: what is read of it goes first. */
            if (m_buffer.size() - (m_end - m_begin) < kChunk)
                pass_held(unit);
            memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
            m_base += m_begin;
            m_pos -= m_begin;
            m_end -= m_begin;
            m_begin = 0;
        }
        const long nRead = m_source.read(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (nRead < 0)
            m_error = true;
        else if (nRead == 0)
            m_eof = true;
        else
            m_end += static_cast<size_t>(nRead);
    }
    return true;
}

/* Passes the n bytes of data at m_pos straight through, in reads. */
bool AdiReader::skip_through(AdiUnit &unit, uint64_t n)
{
    while (n > 0) {
        if (m_pos == m_end && !have(unit, 1))
            return false;
        const size_t nTaken = static_cast<size_t>(std::min<uint64_t>(n, m_end - m_pos));
        m_pos += nTaken;
        n -= nTaken;
        pass_held(unit);
    }
    return true;
}

void AdiReader::finish(AdiUnit &unit, AdiUnit::Kind kind, size_t end)
{
    for (AdiField &field : unit.fields) {
        if (field.name.data())
            continue;
        field.name = std::string_view(at(field.offset + 1), field.name_length);
        if (field.kept)
            field.data = std::string_view(at(field.data_offset), field.length);
    }
    unit.kind = kind;
    unit.held_from = m_base + m_begin;
    unit.bytes = std::string_view(m_buffer.data() + m_begin, end - m_begin);
    m_begin = m_pos = end;
}

AdiReader::Status AdiReader::next(AdiUnit &unit)
{
    unit.fields.clear();
    unit.problems.clear();
    unit.saved.clear();
    if (!m_started) {
        /* Text before the first tag is a header's free text: a '<' in it
         * opens no field. A file that starts with a tag has no header. */
        m_started = true;
        have(unit, 4);
        std::string_view start(m_buffer.data(), m_end);
        if (start.substr(0, 3) == "\xEF\xBB\xBF")
            start.remove_prefix(3);
        m_preamble = !start.empty() && start[0] != '<';
    }
    for (;;) {
        const void *pOpen = memchr(m_buffer.data() + m_pos, '<', m_end - m_pos);
        if (!pOpen) {
            m_pos = m_end;
            if (have(unit, 1))
                continue;
            if (m_error)
                return kError;
            /* After the last record, text is free: a '<' there opens nothing. */
            if (unit.fields.empty())
                unit.problems.clear();
            if (m_begin == m_end)
                return kEnd;
            if (!unit.fields.empty())
                unit.problems.push_back({unit.fields.front().offset,
                                         N_("the record has no <EOR>: the file ends at byte %s"),
                                         {decimal(m_base + m_end)}});
            finish(unit, AdiUnit::kRest, m_end);
            return kUnit;
        }
        m_pos = static_cast<size_t>(static_cast<const char *>(pOpen) - m_buffer.data());
        have(unit, kMaxTag);
        if (m_error)
            return kError;
        const std::string_view text(m_buffer.data() + m_pos, std::min(kMaxTag, m_end - m_pos));
        const Tag tag = read_tag(text);
        const std::string_view name = text.substr(1, tag.name_length);
        if (tag.size > 0 && !tag.has_length) {
            const bool bHeader = same_name(name, "EOH");
            if (bHeader || same_name(name, "EOR")) {
                m_preamble = false;
                unit.end_tag = m_base + m_pos;
                m_pos += tag.size;
                finish(unit, bHeader ? AdiUnit::kHeader : AdiUnit::kRecord, m_pos);
                return kUnit;
            }
        }
        if (tag.size == 0 || !tag.has_length) {
            if (!m_preamble)
                unit.problems.push_back(
                    {m_base + m_pos, N_("%s is not an ADIF tag"), {quoted_tag(text)}});
            m_pos++;
            continue;
        }
        m_preamble = false;
        AdiField field;
        field.name_length = tag.name_length; /* name and data point in when the unit ends */
        field.offset = m_base + m_pos;
        field.data_offset = field.offset + tag.size;
        field.length = tag.length;
        field.kept = tag.length <= kMaxAdifField;
        if (field.kept && !have(unit, tag.size + tag.length)) {
            if (m_error)
                return kError;
            const size_t nAvailable = m_end - m_pos - tag.size;
            unit.problems.push_back(
                {field.offset, N_("%s declares %s bytes, but the file ends after %s"),
                 {std::string(m_buffer.data() + m_pos, tag.size), decimal(tag.length),
                  decimal(nAvailable)}});
            m_pos = m_end;
            finish(unit, AdiUnit::kRest, m_end);
            unit.fields.clear();
            return kUnit;
        }
        unit.fields.push_back(field);
        if (field.kept) {
            m_pos += tag.size + tag.length;
            continue;
        }
        const std::string tagText(m_buffer.data() + m_pos, tag.size);
        m_pos += tag.size;
        pass_held(unit);
        const uint64_t nStart = m_base + m_pos;
        if (!skip_through(unit, tag.length)) {
            if (m_error)
                return kError;
            unit.problems.push_back({field.offset,
                                     N_("%s declares %s bytes, but the file ends after %s"),
                                     {tagText, decimal(tag.length), decimal(m_base + m_pos - nStart)}});
            finish(unit, AdiUnit::kRest, m_end);
            unit.fields.clear();
            return kUnit;
        }
    }
}

LocationStatus parse_location(std::string_view text, bool bLatitude, Location &out)
{
    if (text.size() != 11 || text[4] != ' ' || text[7] != '.')
        return LocationStatus::kMalformed;
    const char cHemisphere = upper(text[0]);
    const bool bNegative = bLatitude ? cHemisphere == 'S' : cHemisphere == 'W';
    if (!bNegative && cHemisphere != (bLatitude ? 'N' : 'E'))
        return LocationStatus::kMalformed;
    int64_t nDigits[3] = {0, 0, 0}; /* degrees, minutes, thousandths */
    static const struct {
        size_t pos, count;
    } kParts[3] = {{1, 3}, {5, 2}, {8, 3}};
    for (int k = 0; k < 3; k++)
        for (size_t i = kParts[k].pos; i < kParts[k].pos + kParts[k].count; i++) {
            if (!is_digit(text[i]))
                return LocationStatus::kMalformed;
            nDigits[k] = nDigits[k] * 10 + (text[i] - '0');
        }
    const int64_t nLimit = bLatitude ? 90 : 180;
    if (nDigits[1] >= 60 || nDigits[0] > nLimit ||
        (nDigits[0] == nLimit && (nDigits[1] | nDigits[2]) != 0))
        return LocationStatus::kOutOfRange;
    const int64_t nThousandths = nDigits[1] * 1000 + nDigits[2];
    out.coordinate.units = nDigits[0] * kUnitsPerDegree + nThousandths * (kUnitsPerMinute / 1000);
    out.coordinate.beyond = false;
    out.coordinate.negative = bNegative && out.coordinate.units != 0;
    const double degrees = static_cast<double>(nDigits[0]) + nThousandths / 60000.0;
    out.degrees = bNegative ? -degrees : degrees;
    return LocationStatus::kRead;
}

namespace {

/* The fields a record is read for, in the order of kFieldNames. */
enum FieldId {
    kCall, kQsoDate, kTimeOn, kLat, kLon, kMyLat, kMyLon,
    kGrid, kGridExt, kMyGrid, kMyGridExt, kVucc, kMyVucc, kDistance, kFieldCount
};
const std::string_view kFieldNames[kFieldCount] = {
    "CALL", "QSO_DATE", "TIME_ON", "LAT", "LON", "MY_LAT", "MY_LON",
    "GRIDSQUARE", "GRIDSQUARE_EXT", "MY_GRIDSQUARE", "MY_GRIDSQUARE_EXT",
    "VUCC_GRIDS", "MY_VUCC_GRIDS", "DISTANCE"};

/* One end of a contact: the contacted station's fields, or the logging
 * station's. */
struct SideFields {
    FieldId lat, lon, grid, ext, vucc;
};
const SideFields kContacted = {kLat, kLon, kGrid, kGridExt, kVucc};
const SideFields kStation = {kMyLat, kMyLon, kMyGrid, kMyGridExt, kMyVucc};

/* Where a station may be anywhere in: a locator's cell, or the squares of
 * a VUCC_GRIDS; degrees, from the south-west corner. */
struct Area {
    double south, west, height, width;
};

/* A point a distance is measured from or to: a position, or the centre of
 * an area. */
struct Endpoint {
    bool known = false;
    LatLon at{0, 0};
    std::optional<Area> area;
};

/* How far from the point the station may be, in kilometres: from the
 * area's centre to the farther of its west corners (the one nearer the
 * equator). Only a DISTANCE being checked needs it: it costs two geodesics. */
double slack_km(const Endpoint &endpoint)
{
    if (!endpoint.area)
        return 0;
    const Area &area = *endpoint.area;
    return std::max(geodesic_metres(endpoint.at, {area.south, area.west}),
                    geodesic_metres(endpoint.at, {area.south + area.height, area.west})) /
           1000;
}

Endpoint endpoint_of(const Cell &cell)
{
    return {true,
            {cell.centre_latitude(), cell.centre_longitude()},
            Area{cell.south, cell.west, cell.span / 5760.0, cell.span / 2880.0}};
}

/* A GRIDSQUARE_EXT: two letters A-X (the last pair of a 10-character
 * Maidenhead locator), then optionally two digits. */
bool is_grid_extension(std::string_view text)
{
    if (text.size() != 2 && text.size() != 4)
        return false;
    for (size_t i = 0; i < text.size(); i++) {
        const char c = upper(text[i]);
        if (i < 2 ? (c < 'A' || c > 'X') : !is_digit(c))
            return false;
    }
    return true;
}

/* Kilometres with a fixed number of decimals, '.' in every locale. */
std::string fixed(double km, int decimals)
{
    char sz[32];
    return std::string(
        sz, std::to_chars(sz, sz + sizeof sz, km, std::chars_format::fixed, decimals).ptr);
}

/* Kilometres as DISTANCE holds them: one decimal. */
std::string one_decimal(double km)
{
    return fixed(km, 1);
}

std::string upper_text(std::string_view text)
{
    std::string s(text);
    for (char &c : s)
        c = upper(c);
    return s;
}

std::string field_text(std::string_view name, std::string_view value, bool bSpace)
{
    std::string text = "<";
    text.append(name).append(":").append(decimal(value.size())).append(">").append(value);
    if (bSpace)
        text += ' ';
    return text;
}

/* Standard output in large writes; also the sink the reader passes bytes
 * it cannot hold to, so that everything leaves in input order. */
class ByteWriter final : public Sink {
public:
    explicit ByteWriter(Sink &sink) : m_sink(sink), m_buffer(kChunk) {}
    bool write(const char *pData, size_t nSize) override
    {
        m_written += nSize;
        if (nSize > m_buffer.size() - m_used) {
            flush();
            if (nSize >= m_buffer.size()) {
                if (m_error == 0 && !m_sink.write(pData, nSize))
                    m_error = errno != 0 ? errno : EIO;
                return m_error == 0;
            }
        }
        memcpy(m_buffer.data() + m_used, pData, nSize);
        m_used += nSize;
        return m_error == 0;
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    bool flush()
    {
        if (m_error == 0 && m_used > 0 && !m_sink.write(m_buffer.data(), m_used))
            m_error = errno != 0 ? errno : EIO;
        m_used = 0;
        return m_error == 0;
    }
    uint64_t written() const { return m_written; }
    int error() const { return m_error; }

private:
    Sink &m_sink;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    uint64_t m_written = 0;
    int m_error = 0;
};

/* A change planned in a record: at input offset `offset`, `removed` bytes
 * give way to text. */
struct Edit {
    uint64_t offset;
    uint64_t removed;
    std::string text;
};

/* The lower of two values side by side (b = a + 1, or a = b + 1, modulo
 * `wrap` when it is not 0), or -1. */
int lower_of_pair(int a, int b, int wrap)
{
    const auto next = [wrap](int v) { return wrap != 0 ? (v + 1) % wrap : v + 1; };
    return next(a) == b ? a : next(b) == a ? b : -1;
}

enum class VuccStatus { kRead, kMalformed, kApart };

/* A VUCC_GRIDS, "EN98,FM08": 2 Maidenhead squares side by side or 4
 * around a corner (a station on an edge or a corner), and the area they
 * cover. The 180 columns of squares go round: the squares either side of
 * 180 E are side by side. */
VuccStatus read_vucc(std::string_view text, Area &area)
{
    constexpr int kColumns = 180;
    int columns[4], rows[4];
    size_t count = 0;
    for (size_t start = 0;; count++) {
        const size_t comma = text.find(',', start);
        const std::string_view square = trim_blanks(text.substr(start, comma - start));
        if (count == 4 || square.size() != 4)
            return VuccStatus::kMalformed;
        const Result<Cell> cell = parse_locator(square, LocatorSystem::Maidenhead);
        if (!cell)
            return VuccStatus::kMalformed;
        columns[count] = cell.value.longitude_index / cell.value.span;
        rows[count] = cell.value.latitude_index / cell.value.span;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (++count != 2 && count != 4)
        return VuccStatus::kMalformed;
    for (size_t i = 0; i < count; i++)
        for (size_t j = i + 1; j < count; j++)
            if (columns[i] == columns[j] && rows[i] == rows[j])
                return VuccStatus::kApart;
    /* Every square in one of two columns and one of two rows, distinct: two
     * squares share a column or a row, four fill both. */
    const auto add = [](int (&pair)[2], int v) {
        if (v == pair[0] || v == pair[1])
            return true;
        if (pair[1] >= 0)
            return false;
        pair[1] = v;
        return true;
    };
    int column[2] = {columns[0], -1}, row[2] = {rows[0], -1};
    for (size_t i = 1; i < count; i++)
        if (!add(column, columns[i]) || !add(row, rows[i]))
            return VuccStatus::kApart;
    const bool wide = column[1] >= 0, tall = row[1] >= 0;
    if (count == 2 ? wide == tall : !(wide && tall))
        return VuccStatus::kApart;
    const int west = wide ? lower_of_pair(column[0], column[1], kColumns) : column[0];
    const int south = tall ? lower_of_pair(row[0], row[1], 0) : row[0];
    if (west < 0 || south < 0)
        return VuccStatus::kApart;
    area = {south - 90.0, west * 2 - 180.0, tall ? 2.0 : 1.0, wide ? 4.0 : 2.0};
    return VuccStatus::kRead;
}

/* What the fields of one record say, and what it gets. A record with a
 * problem gets nothing: what was wrong in it might be what the new fields
 * would be computed from. */
class RecordEditor {
public:
    RecordEditor(const Settings &settings, Messages &messages, AdifTally &tally,
                 const Endpoint &from)
        : m_settings(settings), m_messages(messages), m_tally(tally), m_from(from)
    {
    }

    /* Reads the record, reports its problems, and leaves in edits what it
     * gets, in input order. */
    void edit(const AdiUnit &unit, uint64_t number, std::vector<Edit> &edits);

private:
    bool present(FieldId id) const { return m_fields[id] && m_fields[id]->length > 0; }
    bool readable(FieldId id) const { return present(id) && m_fields[id]->kept; }
    std::string_view data(FieldId id) const { return m_fields[id]->data; }
    const std::string &where();
    /* A problem: the record is then left as it is. */
    void report(const Reason &why);
    /* A problem that the change asked for mends: it goes ahead. */
    void notice(const Reason &why);
    bool read_location(FieldId id, bool latitude, Location &out);
    std::optional<Cell> read_grid(const SideFields &side, std::string &locator);
    std::optional<Area> read_vucc_field(FieldId id);
    Endpoint read_side(const SideFields &side, std::vector<Edit> &edits);
    void put(FieldId id, std::string_view value, std::vector<Edit> &edits);
    void check_distance(const Endpoint &from, const Endpoint &to);

    const Settings &m_settings;
    Messages &m_messages;
    AdifTally &m_tally;
    const Endpoint &m_from;
    const AdiField *m_fields[kFieldCount];
    const AdiUnit *m_unit = nullptr;
    uint64_t m_number = 0;
    std::string m_where;
    /* This record's: problems that leave it as it is, locators it gets,
     * whether a LAT or LON comes alone, and what it gets ("GRIDSQUARE
     * JN18DT, DISTANCE 0.4"). */
    uint64_t m_blocking = 0, m_locators = 0;
    bool m_lone = false;
    std::string m_written;
};

const std::string &RecordEditor::where()
{
    if (m_where.empty()) {
        /* "record 3 (F5XYZ 20240512 1432)": what the record gives of it. */
        std::string names;
        for (FieldId id : {kCall, kQsoDate, kTimeOn})
            if (readable(id)) {
                if (!names.empty())
                    names += ' ';
                append_escaped(names, data(id));
            }
        const std::string number = decimal(m_number);
        const std::string_view args[2] = {number, names};
        append_substituted(m_where, translate(names.empty() ? N_("record %s") : N_("record %s (%s)")),
                           args, 2);
    }
    return m_where;
}

void RecordEditor::report(const Reason &why)
{
    notice(why);
    m_blocking++;
}

void RecordEditor::notice(const Reason &why)
{
    m_messages.report(where(), why);
    m_tally.problems++;
}

bool RecordEditor::read_location(FieldId id, bool latitude, Location &out)
{
    if (!readable(id))
        return false;
    const LocationStatus status = parse_location(data(id), latitude, out);
    if (status == LocationStatus::kMalformed)
        report(refusal(N_("%s %s is not in ADIF's location form, such as %s"), kFieldNames[id],
                       data(id), latitude ? "N048 48.633" : "E002 17.233"));
    else if (status == LocationStatus::kOutOfRange)
        report(refusal(N_("%s %s is out of range"), kFieldNames[id], data(id)));
    return status == LocationStatus::kRead;
}

/* Writes the field: a new one before <EOR>, or in place of the one there
 * (empty, or replaced) unless it already says the same. */
void RecordEditor::put(FieldId id, std::string_view value, std::vector<Edit> &edits)
{
    const AdiField *field = m_fields[id];
    if (field && field->kept && upper_text(field->data) == value)
        return;
    if (!field)
        edits.push_back({m_unit->end_tag, 0, field_text(kFieldNames[id], value, true)});
    else if (value.empty())
        edits.push_back({field->offset, field->data_offset + field->length - field->offset, {}});
    else
        edits.push_back({field->offset, field->data_offset + field->length - field->offset,
                         field_text(kFieldNames[id], value, false)});
    m_written.append(m_written.empty() ? "" : ", ").append(kFieldNames[id]);
    if (!value.empty())
        m_written.append(" ").append(value);
}

/* The cell of a GRIDSQUARE or MY_GRIDSQUARE and its text in upper case, or
 * nothing, with the problem reported. */
std::optional<Cell> RecordEditor::read_grid(const SideFields &side, std::string &locator)
{
    const std::string_view text = data(side.grid);
    const std::string_view name = kFieldNames[side.grid];
    const Result<Cell> maidenhead = parse_locator(text, LocatorSystem::Maidenhead);
    if (maidenhead && text.size() <= 8) {
        locator = upper_text(text);
        return maidenhead.value;
    }
    const Result<Cell> extended = parse_locator(text, LocatorSystem::Tolka);
    char szSame[kMaxLocatorLength];
    if (extended && text.size() == 10) {
        convert_locator(extended.value, text, LocatorSystem::Maidenhead, szSame);
        report(refusal(N_("%s %s is in Tolka's extended layout: the Maidenhead locator of the "
                          "same cell is %s"),
                       name, text, std::string_view(szSame, kMaxLocatorLength)));
    } else if (extended && text.size() == 8)
        report(refusal(N_("%s %s is in Tolka's extended layout, which has no Maidenhead "
                          "equivalent at 8 characters"),
                       name, text));
    else if (maidenhead)
        report(refusal(N_("%s %s has 10 characters: ADIF takes the first 8 in %s and the "
                          "last 2 in %s"),
                       name, text, name, kFieldNames[side.ext]));
    else
        report(refusal(N_("%s %s is not a Maidenhead locator of 2, 4, 6 or 8 characters"), name,
                       text));
    return std::nullopt;
}

/* The area of a VUCC_GRIDS or MY_VUCC_GRIDS, or nothing, with the problem
 * reported. */
std::optional<Area> RecordEditor::read_vucc_field(FieldId id)
{
    Area area;
    switch (read_vucc(data(id), area)) {
    case VuccStatus::kRead:
        return area;
    case VuccStatus::kMalformed:
        report(refusal(N_("%s %s is not 2 or 4 Maidenhead squares of 4 characters separated by "
                          "commas"),
                       kFieldNames[id], data(id)));
        break;
    case VuccStatus::kApart:
        report(refusal(N_("%s %s is not 2 squares side by side or 4 around a corner"),
                       kFieldNames[id], data(id)));
        break;
    }
    return std::nullopt;
}

Endpoint RecordEditor::read_side(const SideFields &side, std::vector<Edit> &edits)
{
    Location lat, lon;
    const bool lat_read = read_location(side.lat, true, lat);
    const bool lon_read = read_location(side.lon, false, lon);
    const bool position = lat_read && lon_read;
    const Position exact{lat.coordinate, lon.coordinate};
    m_lone = m_lone || present(side.lat) != present(side.lon);
    const bool rewrite = position && (!present(side.grid) || m_settings.replace);
    /* Under --replace the locator there goes anyway: it is only compared
     * with the position, so that a wrong position is seen before it
     * spreads. */
    const bool replacing = rewrite && present(side.grid);

    Endpoint endpoint;
    if (position)
        endpoint = {true, {lat.degrees, lon.degrees}, std::nullopt};

    const int length = m_settings.precision_given ? m_settings.precision : 6;
    std::string computed;
    if (rewrite) {
        char szLocator[kMaxLocatorLength];
        encode_locator(exact, LocatorSystem::Maidenhead, length, szLocator);
        computed.assign(szLocator, static_cast<size_t>(length));
    }

    std::optional<Cell> cell;
    std::string locator;
    if (readable(side.grid)) {
        if (!replacing)
            cell = read_grid(side, locator);
        else if (const Result<Cell> old = parse_locator(data(side.grid), std::nullopt)) {
            cell = old.value;
            locator = upper_text(data(side.grid));
        }
    }
    if (readable(side.ext)) {
        const std::string_view text = data(side.ext);
        const bool valid = is_grid_extension(text);
        if (valid && cell && cell->length == 8 && cell->system == LocatorSystem::Maidenhead) {
            locator.append(upper_text(text.substr(0, 2)));
            cell = parse_locator(locator, LocatorSystem::Maidenhead).value;
        } else if (!(rewrite && m_settings.replace)) {
            if (!valid)
                report(refusal(N_("%s %s is not 2 letters A-X, optionally followed by 2 digits"),
                               kFieldNames[side.ext], text));
            else if (cell || !present(side.grid))
                report(refusal(N_("%s %s has no 8-character %s beside it"), kFieldNames[side.ext],
                               text, kFieldNames[side.grid]));
        }
    }
    if (position && readable(side.grid)) {
        std::string at;
        at.append(kFieldNames[side.lat]).append(" ").append(data(side.lat)).append(" ");
        at.append(kFieldNames[side.lon]).append(" ").append(data(side.lon));
        const std::string_view name = kFieldNames[side.grid];
        if (!cell && replacing)
            notice(refusal(N_("%s %s is not a locator: replaced with %s"), name, data(side.grid),
                           computed));
        else if (cell && !cell_holds(*cell, exact)) {
            if (replacing)
                notice(refusal(N_("%s %s does not hold %s: replaced with %s"), name, locator, at,
                               computed));
            else {
                char szHeld[kMaxLocatorLength];
                encode_locator(exact, LocatorSystem::Maidenhead, cell->length, szHeld);
                report(refusal(N_("%s %s does not hold %s: that position is in %s"), name,
                               locator, at,
                               std::string_view(szHeld, static_cast<size_t>(cell->length))));
            }
        }
    }
    if (!position && cell)
        endpoint = endpoint_of(*cell);
    if (readable(side.vucc)) {
        const std::optional<Area> area = read_vucc_field(side.vucc);
        /* A station on the squares' common edge or corner. */
        if (area && !endpoint.known && !present(side.grid))
            endpoint = {true, {area->south + area->height / 2, area->west + area->width / 2},
                        area};
    }

    if (rewrite) {
        put(side.grid, std::string_view(computed).substr(0, 8), edits);
        /* An extension already there changes only under --replace, and
         * goes with a square shorter than 8 characters. */
        if (!present(side.ext) || m_settings.replace) {
            if (length == 10)
                put(side.ext, std::string_view(computed).substr(8), edits);
            else if (present(side.ext))
                put(side.ext, {}, edits);
        }
        m_locators++;
    }
    return endpoint;
}

void RecordEditor::check_distance(const Endpoint &from, const Endpoint &to)
{
    const std::string_view text = data(kDistance);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const bool number = !whole.empty() && std::all_of(whole.begin(), whole.end(), is_digit) &&
                        std::all_of(fraction.begin(), fraction.end(), is_digit) &&
                        (point == std::string_view::npos || !fraction.empty());
    if (!number) {
        report(refusal(N_("%s %s is not a number of kilometres"), kFieldNames[kDistance], text));
        return;
    }
    if (!from.known || !to.known)
        return;
    double km = 0;
    std::from_chars(text.data(), text.data() + text.size(), km);
    const double computed = geodesic_metres(from.at, to.at) / 1000;
    const double difference = std::fabs(km - computed);
    /* The stations may be anywhere in their cells, and the log's figure is
     * rounded to its last decimal. */
    const double slack = slack_km(from) + slack_km(to);
    if (difference <= slack + 0.5 * std::pow(10.0, -static_cast<double>(fraction.size())) + 1e-9)
        return;
    /* One decimal more than the log gives, so that a difference in its last
     * decimal shows. */
    const std::string shown[3] = {
        fixed(difference, static_cast<int>(std::min<size_t>(fraction.size() + 1, 3))),
        one_decimal(computed), one_decimal(slack)};
    if (!from.area && !to.area)
        report(refusal(N_("DISTANCE %s differs by %s km from the %s km between the two "
                          "positions"),
                       text, shown[0], shown[1]));
    else
        report(refusal(N_("DISTANCE %s differs by %s km from the computed %s km, more than the "
                          "%s km that the locators' cells allow"),
                       text, shown[0], shown[1], shown[2]));
}

void RecordEditor::edit(const AdiUnit &unit, uint64_t number, std::vector<Edit> &edits)
{
    m_unit = &unit;
    m_number = number;
    m_where.clear();
    /* A tag that is not ADIF may be a field the record was meant to have:
     * what it would get could be wrong. */
    m_blocking = unit.problems.size();
    m_locators = 0;
    m_lone = false;
    m_written.clear();
    std::fill(std::begin(m_fields), std::end(m_fields), nullptr);
    for (const AdiField &field : unit.fields) {
        /* The names differ in their length or last letters: compare those first. */
        for (int id = 0; id < kFieldCount; id++)
            if (!m_fields[id] && field.name.size() == kFieldNames[id].size() &&
                same_name(field.name, kFieldNames[id])) {
                m_fields[id] = &field;
                break;
            }
    }
    const Endpoint to = read_side(kContacted, edits);
    Endpoint from = read_side(kStation, edits);
    if (!from.known)
        from = m_from;
    bool distance = false;
    if (readable(kDistance) && !m_settings.replace)
        check_distance(from, to);
    else if (from.known && to.known && (!present(kDistance) || readable(kDistance))) {
        const std::string km = one_decimal(geodesic_metres(from.at, to.at) / 1000);
        const size_t before = edits.size();
        put(kDistance, km, edits);
        distance = edits.size() > before;
    }
    if (m_blocking > 0) {
        if (!edits.empty())
            m_messages.report(where(), refusal(N_("left as it is: %s not written"), m_written));
        edits.clear();
        distance = false;
    } else {
        m_tally.locators += m_locators;
        m_tally.distances += distance ? 1 : 0;
    }
    if (!present(kDistance) && !distance) {
        const AdifTally::Unfilled why = m_blocking > 0 ? AdifTally::kLeftAsItIs
                                        : m_lone       ? AdifTally::kLoneCoordinate
                                        : !from.known  ? AdifTally::kNoOwnPosition
                                                       : AdifTally::kNoPosition;
        m_tally.unfilled[why]++;
    }
    /* Replacements come before the insertions at <EOR>, in input order. */
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit &a, const Edit &b) { return a.offset < b.offset; });
}

/* The --from point, with its cell when it is a locator. */
Endpoint from_endpoint(const Settings &settings)
{
    Endpoint from;
    if (!settings.from_point)
        return from;
    from = {true, settings.from_point->at, std::nullopt};
    const Result<Cell> cell = parse_locator(settings.from, std::nullopt);
    if (cell)
        from.area = endpoint_of(cell.value).area;
    return from;
}

} // namespace

AdifTally convert_adif(Source &in, Sink *out, const Settings &settings, Messages &messages,
                       std::vector<Splice> *applied, std::string_view name)
{
    AdifTally tally;
    std::optional<ByteWriter> writer;
    if (out)
        writer.emplace(*out);
    AdiReader reader(in, writer ? &*writer : nullptr);
    const Endpoint from = from_endpoint(settings);
    RecordEditor editor(settings, messages, tally, from);
    AdiUnit unit;
    std::vector<Edit> edits;
    uint64_t nRecord = 0;
    for (;;) {
        const AdiReader::Status status = reader.next(unit);
        if (status == AdiReader::kEnd)
            break;
        if (status == AdiReader::kError) {
            if (name.empty())
                messages.report({}, refusal(N_("cannot read the input: %s"), strerror(errno)));
            else
                messages.report({}, refusal(N_("cannot read %s: %s"), name, strerror(errno)));
            tally.failed = true;
            break;
        }
        for (const AdiProblem &problem : unit.problems) {
            const std::string where = decimal(problem.offset);
            const std::string_view number = where;
            std::string place;
            append_substituted(place, translate(N_("byte %s")), &number, 1);
            messages.report(place, refusal(problem.format, problem.args[0], problem.args[1],
                                           problem.args[2]));
            tally.problems++;
        }
        edits.clear();
        if (unit.kind == AdiUnit::kRecord)
            editor.edit(unit, ++nRecord, edits);
        tally.records = nRecord;
        if (!writer)
            continue;
        uint64_t nPos = unit.held_from;
        for (const Edit &edit : edits) {
            if (edit.offset < nPos) {
                messages.report({}, refusal(N_("record %s is too large to change in place: "
                                               "left as it is"),
                                            decimal(nRecord)));
                tally.problems++;
                continue;
            }
            writer->write(unit.bytes.substr(nPos - unit.held_from, edit.offset - nPos));
            if (applied)
                applied->push_back(
                    {writer->written(),
                     std::string(unit.bytes.substr(edit.offset - unit.held_from, edit.removed)),
                     edit.text});
            writer->write(edit.text);
            nPos = edit.offset + edit.removed;
        }
        writer->write(unit.bytes.substr(nPos - unit.held_from));
        if (writer->error() != 0)
            break;
    }
    if (writer && !writer->flush()) {
        messages.report({}, refusal(N_("cannot write the output: %s"), strerror(writer->error())));
        tally.failed = true;
    }
    return tally;
}
