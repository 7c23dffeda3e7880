// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "edi_log.h"

#include <algorithm>

#include "text.h"

namespace {

enum class Section { kNone, kHeader, kRecords, kOther };

/* "[REG1TEST;1]", "[QSORecords;123]", "[Remarks]": the section a line opens. */
Section section_of(std::string_view line)
{
    const std::string_view name = line.substr(1, line.find_first_of(";]") - 1);
    return same_name(name, "REG1TEST")     ? Section::kHeader
           : same_name(name, "QSORecords") ? Section::kRecords
                                           : Section::kOther;
}

constexpr struct {
    std::string_view name;
    EdiField EdiLog::*field;
} kHeaderFields[] = {
    {"PCall", &EdiLog::call},         {"PWWLo", &EdiLog::own_locator},
    {"PBand", &EdiLog::band},         {"PSect", &EdiLog::section},
    {"TDate", &EdiLog::dates},        {"CQSOs", &EdiLog::valid_count},
    {"CQSOP", &EdiLog::total},        {"CWWLs", &EdiLog::squares},
    {"CToSc", &EdiLog::score},        {"CODXC", &EdiLog::longest},
};

void read_header_field(std::string_view line, uint64_t number, EdiLog &log)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    for (const auto &row : kHeaderFields) {
        EdiField &field = log.*row.field;
        if (field.line == 0 && same_name(line.substr(0, equals), row.name))
            field = {line.substr(equals + 1), number};
    }
}

/* The fields of a contact line, in their order. */
constexpr std::string_view EdiContact::*kContactFields[] = {
    &EdiContact::date,         &EdiContact::time,
    &EdiContact::call,         &EdiContact::mode,
    &EdiContact::sent_report,  &EdiContact::sent_number,
    &EdiContact::received_report, &EdiContact::received_number,
    &EdiContact::received_exchange, &EdiContact::locator,
    &EdiContact::points,       &EdiContact::new_exchange,
    &EdiContact::new_locator,  &EdiContact::new_dxcc,
    &EdiContact::duplicate,
};
constexpr size_t kFields = std::size(kContactFields);
constexpr size_t kPointsField = 10;

} // namespace

/* A 16th field and beyond are ignored. */
bool read_edi_contact(std::string_view line, uint64_t number, EdiContact &contact)
{
    contact = {};
    contact.line = number;
    size_t n = 0;
    for (size_t start = 0; n < kFields;) {
        const size_t end = line.find(';', start);
        contact.*kContactFields[n++] =
            line.substr(start, end == std::string_view::npos ? end : end - start);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return n > kPointsField;
}

bool same_name(std::string_view a, std::string_view b)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return upper(x) == upper(y); });
}

std::string_view first_part(std::string_view value)
{
    return value.substr(0, value.find(';'));
}

std::string_view after_first_part(std::string_view value)
{
    const size_t semicolon = value.find(';');
    return semicolon == std::string_view::npos ? std::string_view() : value.substr(semicolon + 1);
}

EdiLog read_edi(std::string_view text)
{
    static const std::string kBound = std::to_string(kMaxEdiLine);
    /* A byte-order mark, which some editors put at the start of a file saved
     * as UTF-8, is not part of the first line. */
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    EdiLog log;
    // One contact a line, near enough: room for them at once, not copies
    // of a growing vector.
    log.contacts.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    Section section = Section::kNone;
    size_t start = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size()
                                                                           : 0;
    for (uint64_t number = 1; start < text.size(); number++) {
        const size_t lf = text.find('\n', start);
        const size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxEdiLine) {
            if (section == Section::kRecords)
                log.unreadable.push_back(
                    {number, refusal(N_("the line is longer than %s bytes"), kBound)});
            continue;
        }
        if (!line.empty() && line[0] == '[')
            section = section_of(line);
        else if (section == Section::kHeader)
            read_header_field(line, number, log);
        else if (section == Section::kRecords && !trim_blanks(line).empty()) {
            EdiContact contact;
            if (read_edi_contact(line, number, contact))
                log.contacts.push_back(contact);
            else
                log.unreadable.push_back(
                    {number,
                     refusal(N_("a contact has its points in the 11th field, after 10 ';'"))});
        }
    }
    return log;
}

void write_spliced(std::string_view text, std::vector<EdiSplice> &splices, std::string &out)
{
    std::sort(splices.begin(), splices.end(), [](const EdiSplice &a, const EdiSplice &b) {
        return a.field.data() < b.field.data();
    });
    const char *p = text.data();
    for (const EdiSplice &splice : splices) {
        out.append(p, static_cast<size_t>(splice.field.data() - p));
        out += splice.text;
        p = splice.field.data() + splice.field.size();
    }
    out.append(p, static_cast<size_t>(text.data() + text.size() - p));
}
