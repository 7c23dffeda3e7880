// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adif_command.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "adif.h"
#include "commands.h"

int run_adif(const Invocation &invocation, Source &in, Sink &out, Messages &messages)
{
    const Settings &settings = invocation.settings;
    int fd = -1;
    std::string_view name;
    if (!invocation.operands.empty() && invocation.operands[0] != "-") {
        name = invocation.operands[0];
        const std::string path(invocation.operands[0]);
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            messages.report({}, refusal(N_("cannot open %s: %s"), path, strerror(errno)));
            return 1;
        }
    }
    FdSource file(fd);
    const AdifTally tally =
        convert_adif(fd >= 0 ? static_cast<Source &>(file) : in, settings.check ? nullptr : &out,
                     settings, messages, nullptr, name);
    if (fd >= 0)
        close(fd);
    if (settings.check) {
        const std::string counts[4] = {std::to_string(tally.records),
                                       std::to_string(tally.locators),
                                       std::to_string(tally.distances),
                                       std::to_string(tally.problems)};
        messages.report({}, refusal(N_("records read: %s, locators filled: %s, distances filled: "
                                       "%s, problems: %s"),
                                    counts[0], counts[1], counts[2], counts[3]));
        /* The records that got no DISTANCE, by why, so that a log that
         * gets few is understood. */
        static const char *const kUnfilled[AdifTally::kUnfilledCount] = {
            N_("distances not filled: %s in records left as they are"),
            N_("distances not filled: %s with a LAT or a LON alone"),
            N_("distances not filled: %s without the station's own position (--from)"),
            N_("distances not filled: %s without the contacted station's position")};
        for (int why = 0; why < AdifTally::kUnfilledCount; why++)
            if (tally.unfilled[why] > 0)
                messages.report({}, refusal(kUnfilled[why], std::to_string(tally.unfilled[why])));
    }
    return tally.failed || tally.problems > 0 ? 1 : 0;
}
