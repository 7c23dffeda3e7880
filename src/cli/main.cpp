// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* tolka-cli: reads the options, picks the command and hands it standard
 * input and output. */
#include <clocale>
#include <libintl.h>
#include <sys/stat.h>
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
    /* A terminal, or 2>&1 to a file or a pipe: results and messages must
     * keep their order (not on /dev/null, where order means nothing). */
    struct stat outStat, errStat;
    const bool bInterleaved = fstat(STDOUT_FILENO, &outStat) == 0 &&
                              fstat(STDERR_FILENO, &errStat) == 0 &&
                              outStat.st_dev == errStat.st_dev && outStat.st_ino == errStat.st_ino &&
                              (!S_ISCHR(outStat.st_mode) || isatty(STDOUT_FILENO));
    return run(parse_arguments(argc, argv), in, out, err, bInterleaved);
}
