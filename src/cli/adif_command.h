// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* tolka-cli adif: the command over the log library of src/adif. */
#ifndef TOLKA_CLI_ADIF_COMMAND_H
#define TOLKA_CLI_ADIF_COMMAND_H

#include "lines.h"

struct Invocation;

/* The adif command: FILE, or in when there is none. */
int run_adif(const Invocation &invocation, Source &in, Sink &out, Messages &messages);

#endif
