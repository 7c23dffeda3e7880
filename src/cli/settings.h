// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* What the options of the command line set, read by each command's line
 * function. */
#ifndef TOLKA_CLI_SETTINGS_H
#define TOLKA_CLI_SETTINGS_H

#include "distance.h"
#include "locator.h"

struct Settings {
    LocatorSystem system = LocatorSystem::Tolka; /* --maidenhead */
    int precision = kMaxLocatorLength;           /* encode --precision */
    bool centre = false;                         /* decode --centre */
    bool dms = false;                            /* decode --dms */
    bool iaru = false;                           /* distance --iaru */
    DistanceUnit unit = DistanceUnit::kilometre; /* distance --unit */
};

#endif
