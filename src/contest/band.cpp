// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "band.h"

#include "edi_log.h"
#include "text.h"

const Band kBands[kBandCount] = {
    {"50 MHz", "50MHz", 50, 54, 60000},
    {"70 MHz", "70MHz", 70, 71, 40000},
    {"144 MHz", "144MHz", 144, 148, 20000},
    {"432 MHz", "432MHz", 430, 440, 7000},
    {"1.3 GHz", "1.3GHz", 1240, 1300, 2300},
    {"2.3 GHz", "2.3GHz", 2300, 2450, 1300},
    {"3.4 GHz", "3.4GHz", 3300, 3500, 900},
    {"5.7 GHz", "5.7GHz", 5650, 5850, 600},
    {"10 GHz", "10GHz", 10000, 10500, 300},
    {"24 GHz", "24GHz", 24000, 24250, 120},
    {"47 GHz", "47GHz", 47000, 47200, 60},
    {"76 GHz", "76GHz", 75500, 81000, 40},
    {"122 GHz", "122GHz", 122250, 123000, 25},
    {"134 GHz", "134GHz", 134000, 141000, 20},
    {"241 GHz", "241GHz", 241000, 250000, 12},
};

namespace {

/* A unit after the number: what one of it is, in MHz for a frequency or in
 * tenths of a millimetre for a wavelength. */
const struct {
    std::string_view name;
    bool frequency;
    uint64_t scale;
} kUnits[] = {{"", true, 1},        {"MHz", true, 1},        {"GHz", true, 1000},
              {"m", false, 10000}, {"cm", false, 100},     {"mm", false, 10}};

/* No band needs more: 241000.000 MHz, 0.0012 m. */
constexpr int kMaxDigits = 12, kMaxDecimals = 6;

} // namespace

Result<size_t> read_band(std::string_view pband)
{
    const std::string_view text = trim_blanks(pband);
    const Reason unread = refusal(
        N_("PBand %s is neither a frequency (144 MHz, 1.3 GHz) nor a wavelength (2m, 70cm)"),
        text);
    /* The number exactly, as digits and how many of them are decimals: "1,3"
     * is 13 and 1 ("1,3 GHz": the separator may be a comma). */
    uint64_t digits = 0;
    int nDigits = 0, nDecimals = -1;
    size_t i = 0;
    for (; i < text.size(); i++) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++nDigits > kMaxDigits)
                return refused<size_t>(unread);
            digits = digits * 10 + static_cast<uint64_t>(c - '0');
            nDecimals += nDecimals >= 0;
        } else if ((c == '.' || c == ',') && nDecimals < 0)
            nDecimals = 0;
        else
            break;
    }
    nDecimals = nDecimals < 0 ? 0 : nDecimals;
    const std::string_view unit = trim_blanks(text.substr(i));
    if (nDigits == 0 || nDecimals > kMaxDecimals)
        return refused<size_t>(unread);
    uint64_t power = 1; /* 10^decimals: the number is digits / power */
    for (int k = 0; k < nDecimals; k++)
        power *= 10;
    for (const auto &u : kUnits) {
        if (!same_name(unit, u.name))
            continue;
        /* Compared as digits x scale against the band's ends x power, so
         * that 1.3 GHz is 1300 MHz exactly and 1.2cm is 120 exactly. */
        const uint64_t value = digits * u.scale;
        for (size_t band = 0; band < kBandCount; band++) {
            const Band &b = kBands[band];
            if (u.frequency ? b.low * power <= value && value <= b.high * power
                            : b.wavelength * power == value)
                return {band, {}};
        }
        return refused<size_t>(refusal(u.frequency ? N_("PBand %s is in no contest band")
                                                   : N_("PBand %s names no contest band"),
                                       text));
    }
    return refused<size_t>(unread);
}
