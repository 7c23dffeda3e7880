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
    if (!invocation.operands.empty() && invocation.operands[0] != "-") {
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
                     settings, messages);
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
    }
    return tally.failed || tally.problems > 0 ? 1 : 0;
}
