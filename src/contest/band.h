// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The VHF and higher contest bands, and the band a log's PBand names: a
 * frequency ("144 MHz", "145", "1,3 GHz"; no unit is MHz) in the band that
 * holds it, or a wavelength ("2m", "70cm", "1.2cm") naming one. */
#ifndef TOLKA_CONTEST_BAND_H
#define TOLKA_CONTEST_BAND_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reason.h"

struct Band {
    const char *name;       /* "144 MHz", "1.3 GHz": as results name it */
    const char *file;       /* "144MHz": the same for a file name */
    int64_t low, high;      /* MHz, both included */
    const char *wavelength; /* "2m", "70cm": the band's name by its wavelength */
};

constexpr size_t kBandCount = 15;
/* In order of frequency: results go band by band in this order. */
extern const Band kBands[kBandCount];

/* The index in kBands of the band PBand names (blanks around allowed, units
 * in any case), or why it names none; the reason quotes pband. */
Result<size_t> read_band(std::string_view pband);

#endif
