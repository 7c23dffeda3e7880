// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* What the options of the command line set, read by each command's line
 * function. */
#ifndef TOLKA_CLI_SETTINGS_H
#define TOLKA_CLI_SETTINGS_H

#include <optional>
#include <string_view>

#include "distance.h"
#include "locator.h"

struct Settings {
    LocatorSystem system = LocatorSystem::Tolka; /* --maidenhead */
    /* decode, distance: --maidenhead or --extended; none: told by character 7 */
    std::optional<LocatorSystem> layout;
    LocatorSystem convert_to = LocatorSystem::Maidenhead; /* convert --to */
    int precision = kMaxLocatorLength;           /* encode --precision */
    bool precision_given = false;                /* adif and follow default to 6 */
    bool centre = false;                         /* decode --centre */
    bool dms = false;                            /* decode --dms */
    bool geojson = false;                        /* decode --geojson */
    bool iaru = false;                           /* distance --iaru */
    DistanceUnit unit = DistanceUnit::kilometre; /* distance --unit */
    bool write = false;                          /* edi --write */
    std::string_view rules = "iaru";             /* edi, contest --rules: a rule or a file */
    std::optional<int> tolerance;                /* contest --tolerance, minutes */
    bool csv = false;                            /* contest --csv */
    std::string_view reports;                    /* contest --reports DIR */
    std::string_view map;                        /* contest --geojson FILE */
    std::string_view from;                       /* adif --from, as given */
    std::optional<DistancePoint> from_point;     /* adif --from, read */
    bool replace = false;                        /* adif --replace */
    bool check = false;                          /* adif --check */
    bool every = false;                          /* follow --every */
    std::string_view gpsd;                       /* follow --gpsd (an argument) */
};

#endif
