/* What the options of the command line set, read by each command's line
 * function. */
#ifndef TOLKA_CLI_SETTINGS_H
#define TOLKA_CLI_SETTINGS_H

#include <optional>

#include "distance.h"
#include "locator.h"

struct Settings {
    LocatorSystem system = LocatorSystem::Tolka; /* --maidenhead */
    /* decode, distance: --maidenhead or --extended; none: told by character 7 */
    std::optional<LocatorSystem> layout;
    LocatorSystem convert_to = LocatorSystem::Maidenhead; /* convert --to */
    int precision = kMaxLocatorLength;           /* encode --precision */
    bool centre = false;                         /* decode --centre */
    bool dms = false;                            /* decode --dms */
    bool iaru = false;                           /* distance --iaru */
    DistanceUnit unit = DistanceUnit::kilometre; /* distance --unit */
};

#endif
