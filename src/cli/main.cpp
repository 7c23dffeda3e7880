// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* tolka-cli: reads the options, picks the command and hands it standard
 * input and output. */
#include <clocale>
#include <libintl.h>
#include <unistd.h>

#include "catalogue_dir.h"
#include "commands.h"

int main(int argc, char *argv[])
{
    /* Messages follow the locale; numbers never do: they are read and
     * written with '.' by the program's own code, whatever LC_NUMERIC says. */
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
    bindtextdomain(kDomain, catalogue_directory(TOLKA_LOCALEDIR_FROM_BINDIR, TOLKA_LOCALEDIR).c_str());

    FdSource in(STDIN_FILENO);
    FdSink out(STDOUT_FILENO);
    FdSink err(STDERR_FILENO);
    return run(parse_arguments(argc, argv), in, out, err);
}
