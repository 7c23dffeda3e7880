/* What the options of the command line set, read by each command's line
 * function. */
#ifndef TOLKA_CLI_SETTINGS_H
#define TOLKA_CLI_SETTINGS_H

#include <string_view>

#include "distance.h"
#include "locator.h"

struct Settings {
    LocatorSystem system = LocatorSystem::Tolka; /* --maidenhead */
    int precision = kMaxLocatorLength;           /* encode --precision */
    bool precision_given = false;                /* follow has its own default */
    bool centre = false;                         /* decode --centre */
    bool dms = false;                            /* decode --dms */
    bool geojson = false;                        /* decode --geojson */
    bool iaru = false;                           /* distance --iaru */
    DistanceUnit unit = DistanceUnit::kilometre; /* distance --unit */
    bool every = false;                          /* follow --every */
    std::string_view gpsd;                       /* follow --gpsd (an argument) */
};

#endif
