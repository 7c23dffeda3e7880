// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* `tolka-cli edi`: EDI contest logs read from files or standard input and
 * checked by the rule chosen (src/contest), the reports and corrected logs
 * written out. */
#ifndef TOLKA_CLI_EDI_H
#define TOLKA_CLI_EDI_H

#include <string>
#include <string_view>
#include <vector>

#include "lines.h"
#include "reason.h"
#include "settings.h"

/* The whole of a log into text (appended): the file name, or standard input
 * for "-". No contest log comes near 64 MiB: a larger input is refused. */
Reason read_log_file(std::string_view name, std::string &text);

/* `tolka-cli edi [--rules RULE|FILE] [--write] FILE...`: reads each file
 * (standard input for "-") and checks it by the rule, the report to out, or
 * with --write the corrected log to out and the report to err. Returns the
 * exit status: 0 when every log agrees, 1 when one disagrees or cannot be
 * read, 2 when the rule cannot be read. */
int edi_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
              Sink &err, Messages &messages);

#endif
