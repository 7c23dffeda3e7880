// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "edi.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "edi_check.h"
#include "rules.h"
#include "text.h"

namespace {

/* No contest log comes near it: a larger file is refused, not kept. */
constexpr size_t kMaxLogBytes = 64 * 1024 * 1024;

} // namespace

Reason read_log_file(std::string_view name, std::string &text)
{
    const bool standardInput = name == "-";
    const int fd = standardInput ? STDIN_FILENO : open(std::string(name).c_str(), O_RDONLY | O_CLOEXEC);
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
    if (!standardInput)
        close(fd);
    return why;
}

int edi_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
              Sink &err, Messages &messages)
{
    Rules rules;
    std::string place;
    if (const RulesRefusal why = load_rules(settings.rules, rules, place); !why.empty()) {
        std::string where;
        append_escaped(where, place);
        if (why.line != 0)
            where.append(":").append(std::to_string(why.line));
        messages.report(where, why.reason());
        return 2;
    }
    int status = 0;
    std::string text, report, corrected;
    for (std::string_view name : files) {
        text.clear();
        report.clear();
        corrected.clear();
        const Reason why = read_log_file(name, text);
        if (!why.empty()) {
            messages.report({}, why);
            status = 1;
            continue;
        }
        if (!check_edi(name, text, rules, report, settings.write ? &corrected : nullptr))
            status = 1;
        const bool written = settings.write ? out.write(corrected.data(), corrected.size()) &&
                                                  err.write(report.data(), report.size())
                                            : out.write(report.data(), report.size());
        if (!written) {
            messages.report({}, refusal(N_("cannot write the output: %s"), strerror(errno)));
            return 1;
        }
    }
    return status;
}
