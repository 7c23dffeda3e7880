// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "band.h"

#include <string>

#include "scoring.h"
#include "text.h"

const Band kBands[kBandCount] = {
    {"50 MHz", "50MHz", 50, 54, "6m"},
    {"70 MHz", "70MHz", 70, 71, "4m"},
    {"144 MHz", "144MHz", 144, 148, "2m"},
    {"432 MHz", "432MHz", 430, 440, "70cm"},
    {"1.3 GHz", "1.3GHz", 1240, 1300, "23cm"},
    {"2.3 GHz", "2.3GHz", 2300, 2450, "13cm"},
    {"3.4 GHz", "3.4GHz", 3300, 3500, "9cm"},
    {"5.7 GHz", "5.7GHz", 5650, 5850, "6cm"},
    {"10 GHz", "10GHz", 10000, 10500, "3cm"},
    {"24 GHz", "24GHz", 24000, 24250, "1.2cm"},
    {"47 GHz", "47GHz", 47000, 47200, "6mm"},
    {"76 GHz", "76GHz", 75500, 81000, "4mm"},
    {"122 GHz", "122GHz", 122250, 123000, "2.5mm"},
    {"134 GHz", "134GHz", 134000, 141000, "2mm"},
    {"241 GHz", "241GHz", 241000, 250000, "1.2mm"},
};

Result<size_t> read_band(std::string_view pband)
{
    const std::string_view text = trim_blanks(pband);
    /* A wavelength is a band's name: "2 m", "1,2cm" and "70CM" are "2m",
     * "1.2cm" and "70cm". */
    std::string name;
    for (char c : text)
        if (!is_blank(c))
            name += c == ',' ? '.' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    for (size_t band = 0; band < kBandCount; band++)
        if (name == kBands[band].wavelength)
            return {band, {}};
    /* A frequency, exactly in kHz; a number alone is in MHz. */
    std::optional<int64_t> kilohertz = band_kilohertz(text);
    if (!kilohertz && !text.empty() && text.find_first_not_of("0123456789.,") == std::string_view::npos)
        kilohertz = band_kilohertz(std::string(text) + " MHz");
    if (!kilohertz)
        return refused<size_t>(refusal(
            N_("PBand %s is neither a frequency (144 MHz, 1.3 GHz) nor a wavelength (2m, 70cm)"),
            text));
    for (size_t band = 0; band < kBandCount; band++)
        if (kBands[band].low * 1000 <= *kilohertz && *kilohertz <= kBands[band].high * 1000)
            return {band, {}};
    return refused<size_t>(refusal(N_("PBand %s is in no contest band"), text));
}
