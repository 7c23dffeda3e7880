#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes an ADIF log of the pairs of bench/make_pairs.py --maidenhead, for
timing `tolka-cli adif` against `tolka-cli distance` on the same pairs.

    bench/make_log.py PAIRS PREFIX

PREFIX.adi: one record a pair, FROM the logging station (MY_GRIDSQUARE, with
MY_GRIDSQUARE_EXT at 10 characters, or MY_LAT/MY_LON), TO the contacted one
(likewise without MY_), among the fields a logger writes, no DISTANCE.
PREFIX.pairs: the same pairs as tolka-cli distance reads them, a position
as the decimal degrees of the ADIF location written (to 1e-12 degree).
"""
import sys
from fractions import Fraction


def location(text, hemispheres):
    """ADIF's location form of a decimal number of degrees, to 0.001', and
    the decimal degrees it stands for."""
    value = Fraction(text)
    thousandths = round(abs(value) * 60000)
    degrees, rest = divmod(thousandths, 60000)
    adif = f"{hemispheres[value < 0]}{degrees:03d} {rest // 1000:02d}.{rest % 1000:03d}"
    exact = Fraction(thousandths, 60000) * (-1 if value < 0 else 1)
    return adif, f"{float(exact):.12f}"


def field(name, value):
    return f"<{name}:{len(value)}>{value} "


def point(text, prefix):
    """The fields of one station, and the point as tolka-cli distance reads it."""
    if "," not in text:
        fields = field(prefix + "GRIDSQUARE", text[:8])
        if len(text) == 10:
            fields += field(prefix + "GRIDSQUARE_EXT", text[8:])
        return fields, text
    lat, lon = text.split(",")
    (lat_adif, lat_dec), (lon_adif, lon_dec) = location(lat, "NS"), location(lon, "EW")
    return field(prefix + "LAT", lat_adif) + field(prefix + "LON", lon_adif), f"{lat_dec},{lon_dec}"


def main():
    source, prefix = sys.argv[1], sys.argv[2]
    with open(source) as pairs, open(prefix + ".adi", "w") as log, \
            open(prefix + ".pairs", "w") as out:
        log.write("Benchmark log\n" + field("ADIF_VER", "3.1.4") + field("PROGRAMID", "bench")
                  + "<EOH>\n")
        for number, line in enumerate(pairs):
            text_from, text_to = line.split()
            station, point_from = point(text_from, "MY_")
            contacted, point_to = point(text_to, "")
            log.write(field("CALL", f"X{number % 10}Y{number:07d}") + field("QSO_DATE", "20240512")
                      + field("TIME_ON", "1432") + field("BAND", "20m") + field("MODE", "SSB")
                      + field("RST_SENT", "59") + field("RST_RCVD", "57") + station + contacted
                      + "<EOR>\n")
            out.write(f"{point_from} {point_to}\n")


if __name__ == "__main__":
    main()
