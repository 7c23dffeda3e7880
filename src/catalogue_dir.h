// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Where an installed program finds its message catalogues: beside its own
 * installation first, so that a copy installed under any prefix (~/.local,
 * /usr, /opt/...) speaks its languages, and the build-time directory last. */
#ifndef TOLKA_CATALOGUE_DIR_H
#define TOLKA_CATALOGUE_DIR_H

#include <string>

/* The catalogue directory of the installation that the executable at
 * szExecutable belongs to: its directory joined with szFromBinDir (the
 * relative path from the programs' directory to the catalogues', e.g.
 * "../share/locale"), with each leading ".." taken off the directory. ""
 * when szExecutable is not an absolute path. Pure: nothing is looked up. */
std::string catalogue_directory_beside(const std::string &szExecutable,
                                       const std::string &szFromBinDir);

/* The catalogue directory for this process: the one beside the real
 * executable (symbolic links resolved) when that directory exists, else
 * szConfigured, the directory chosen at build time. */
std::string catalogue_directory(const char *szFromBinDir, const char *szConfigured);

#endif
