// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The rules reader under any text, as `tolka-cli edi --rules FILE` reads a
// file.
//
// Properties checked:
// - rules that are accepted have a name and every value in its range;
// - a refusal names a line of the text (or none, 0) and its message is
//   text with no control character: what the file holds is quoted.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "contest/report.h"
#include "contest/rules.h"
#include "grid/text.h"
#include "property.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    Rules rules;
    const RulesRefusal why = read_rules(text, rules);
    if (why.empty()) {
        check(!trim_blanks(rules.name).empty(), "accepted rules have a name", text);
        check(rules.square_bonus >= 0 && rules.square_bonus <= 10000, "square_bonus in range", text);
        check(rules.tolerance_minutes >= 0 && rules.tolerance_minutes <= 1440,
              "tolerance_minutes in range", text);
        check(rules.first_minute >= 0 && rules.first_minute <= rules.last_minute &&
                  rules.last_minute < 24 * 60,
              "hours within a day", text);
        for (const BandFactor &row : rules.band_factor)
            check(row.factor >= 1 && row.factor <= 1000, "band factors in range", text);
        return 0;
    }
    uint64_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    check(why.line <= lines, "a refusal names a line of the text", text);
    check(check_text(reason_text(why.reason())).empty(), "a refusal's message is text", text);
    return 0;
}
