// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "contest.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

#include "crosscheck.h"
#include "edi.h"
#include "report.h"
#include "results.h"
#include "rules.h"
#include "text.h"

namespace {

/* "FILE:LINE: REASON" (or "FILE: REASON" for line 0, the reason alone
 * without a file), every value quoted from a file escaped; suffix, when
 * given, is what follows: its "%s" is the reason. */
void report(Messages &messages, std::string_view file, uint64_t line, const Reason &why,
            const char *suffix = "%s")
{
    std::string where;
    append_escaped(where, file);
    if (line != 0)
        where.append(":").append(std::to_string(line));
    messages.report(where, refusal(suffix, reason_text(why)));
}

/* Into the file at path, chunk by chunk, what fill appends to the text it
 * is given (cleared each time) until it returns false; or why not. */
template <class Fill>
Reason write_file(const std::string &path, Fill fill)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return refusal(N_("cannot write %s: %s"), path, strerror(errno));
    FdSink sink(fd);
    std::string chunk;
    bool written = true;
    while (written && (chunk.clear(), fill(chunk)))
        written = sink.write(chunk.data(), chunk.size());
    const int error = errno;
    if (close(fd) != 0 || !written)
        return refusal(N_("cannot write %s: %s"), path, strerror(written ? errno : error));
    return {};
}

} // namespace

int contest_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
                  Sink &, Messages &messages)
{
    Rules rules;
    std::string place;
    const RulesRefusal refused = load_rules(settings.rules, rules, place);
    if (!refused.empty()) {
        report(messages, place, refused.line, refused.reason());
        return 2; /* as edi: the command cannot start */
    }
    int status = 0;
    /* Every view of the contest points into these: sized once, never moved. */
    std::vector<std::string> texts(files.size());
    Contest contest(rules, settings.tolerance.value_or(rules.tolerance_minutes));
    for (size_t i = 0; i < files.size(); i++) {
        const Reason why = read_log_file(files[i], texts[i]);
        if (!why.empty()) {
            report(messages, {}, 0, why);
            status = 1;
            continue;
        }
        texts[i].shrink_to_fit(); /* the reader's last chunk was room to spare */
        contest.add(files[i], texts[i]);
    }
    contest.check();
    for (const LeftOut &left : contest.left_out()) {
        report(messages, left.file, left.line, left.why, N_("%s; the log is left out"));
        status = 1;
    }
    for (const ContestLog &log : contest.logs())
        for (const EdiProblem &problem : log.edi.unreadable) {
            report(messages, log.file, problem.line, problem.why);
            status = 1;
        }

    if (!settings.reports.empty()) {
        const std::string directory(settings.reports);
        if (mkdir(directory.c_str(), 0777) != 0 && errno != EEXIST) {
            report(messages, {}, 0,
                   refusal(N_("cannot make the directory %s: %s"), directory, strerror(errno)));
            return 1;
        }
        for (uint32_t log = 0; log < contest.logs().size(); log++) {
            const std::string path = directory + "/" + report_name(contest, log);
            bool done = false;
            const Reason why = write_file(path, [&](std::string &text) {
                if (!done)
                    append_report(contest, log, text);
                return !std::exchange(done, true);
            });
            if (!why.empty()) {
                report(messages, {}, 0, why);
                return 1;
            }
        }
    }
    if (!settings.map.empty()) {
        /* A log's features at a time: the map of a large contest is large. */
        const std::vector<uint32_t> order = contest.ranked();
        size_t next = 0;
        const std::string path(settings.map);
        const Reason why = write_file(path, [&](std::string &text) {
            if (next == order.size())
                return false;
            append_map(contest, order[next++], text);
            return true;
        });
        if (!why.empty()) {
            report(messages, {}, 0, why);
            return 1;
        }
    }
    messages.flush(); /* what went wrong comes before the table */
    std::string table;
    append_results(contest, settings.csv, table);
    if (!out.write(table.data(), table.size())) {
        messages.report({}, refusal(N_("cannot write the output: %s"), strerror(errno)));
        return 1;
    }
    return status;
}
