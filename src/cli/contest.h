// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* `tolka-cli contest`: every log of one contest read, checked against the
 * others by the rules, and the results written: the table on standard
 * output, the reports and the map in the files the options name. */
#ifndef TOLKA_CLI_CONTEST_H
#define TOLKA_CLI_CONTEST_H

#include <string_view>
#include <vector>

#include "lines.h"
#include "settings.h"

/* Returns the exit status: 0 when every log was read and used, 1 when any
 * was left out, had a line that could not be read, or output failed, 2 when
 * the rules cannot be read. */
int contest_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
                  Sink &err, Messages &messages);

#endif
