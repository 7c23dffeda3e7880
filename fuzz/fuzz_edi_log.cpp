// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The EDI reader and the check of one log under any input, by each built-in
// rule, as `tolka-cli edi` and `edi --write` run them.
//
// Properties checked:
// - every field the reader yields is a view into the text, on the line it
//   names, and the lines come in order;
// - the report is whole lines, each starting with the log's name, with no
//   control character but the tab and no byte that is not UTF-8: what a log
//   holds is quoted;
// - a log that agrees is written back byte for byte; a corrected log,
//   checked again, writes itself back unchanged: no claim left to correct
//   (unless a correction made a line too long to read).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "contest/edi_check.h"
#include "contest/edi_log.h"
#include "contest/rules.h"
#include "grid/text.h"
#include "property.h"

namespace {

// The line of text that holds the byte at pos, from 1.
uint64_t line_at(std::string_view text, const char *pos)
{
    uint64_t line = 1;
    for (const char *p = text.data(); p < pos; p++)
        line += *p == '\n';
    return line;
}

void check_view(std::string_view text, std::string_view field, uint64_t line)
{
    if (field.empty() && field.data() == nullptr)
        return;
    check(field.data() >= text.data() && field.data() + field.size() <= text.data() + text.size(),
          "a field is a view into the text", text);
    check(line_at(text, field.data()) == line, "a field is on its line", text);
}

void check_reader(std::string_view text)
{
    const EdiLog log = read_edi(text);
    for (const EdiField *field : {&log.call, &log.own_locator, &log.band, &log.section, &log.dates,
                                  &log.valid_count, &log.total, &log.squares, &log.score,
                                  &log.longest})
        if (field->line != 0)
            check_view(text, field->value, field->line);
    uint64_t last = 0;
    for (const EdiContact &c : log.contacts) {
        check(c.line > last, "contact lines in order", text);
        last = c.line;
        for (std::string_view field : {c.date, c.call, c.locator, c.points, c.duplicate})
            check_view(text, field, c.line);
    }
}

bool too_long_line(std::string_view text)
{
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > kMaxEdiLine)
            return true;
        start = end + 1;
    }
    return false;
}

void check_report(std::string_view report, std::string_view text)
{
    check(report.empty() || report.back() == '\n', "the report is whole lines", report);
    for (size_t start = 0; start < report.size();) {
        const size_t end = report.find('\n', start);
        const std::string_view line = report.substr(start, end - start);
        check(line.rfind("f:", 0) == 0, "a report line starts with the name", report);
        check(check_text(line).empty(), "a report line is text", text);
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    check_reader(text);
    for (const Rules &rules : builtin_rules()) {
        std::string report, corrected;
        const bool agrees = check_edi("f", text, rules, report, &corrected);
        check_report(report, text);
        if (agrees)
            check(corrected == text, "a log that agrees is written back as it is", text);
        if (corrected.empty() || too_long_line(corrected))
            continue;
        std::string again, rewritten;
        check_edi("f", corrected, rules, again, &rewritten);
        // A claim that disagrees would be spliced: unchanged, every claim agrees.
        check(rewritten == corrected, "a corrected log writes itself back, its claims agreeing",
              corrected);
    }
    return 0;
}
