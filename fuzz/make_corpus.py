#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

Hand-picked cases: the documented examples and the edges (grid corners and
lines, out of range, non-finite, int limits, bytes outside ASCII). Run it
again after changing a case; the files it writes are committed, the corpus
grown by fuzzing is not.
"""
import os
import shutil
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
INF = float("inf")
NAN = float("nan")

# Encoder: six doubles (longitude d, m, s, latitude d, m, s) and two flags.
ENCODER = {
    "jo20": ((4, 21, 11, 50, 50, 51), 0, 0),
    "fn30_west": ((73, 59, 16, 40, 45, 31), 1, 0),
    "qf56_south": ((151, 12, 31, 33, 52, 11), 0, 1),
    "zero_east_north": ((0, 0, 0, 0, 0, 0), 0, 0),
    "zero_west_south": ((0, 0, 0, 0, 0, 0), 1, 1),
    "zero_flags_any_int": ((0, 0, 0, 0, 0, 0), -7, 2147483647),
    "grid_line_2e": ((2, 0, 0, 0, 0, 0), 0, 0),
    "grid_line_2w": ((2, 0, 0, 0, 0, 0), 1, 0),
    "short_of_line": ((1, 59, 59.999, 0, 0, 0), 0, 0),
    "short_of_line_beyond_bias": ((1, 59, 59.9963, 0, 0, 0), 0, 0),
    "unnormalised_minutes": ((0, 120, 0, 0, 0, 0), 0, 0),
    "unnormalised_seconds": ((0, 0, 7200, 0, 0, 0), 0, 0),
    "negative_magnitude": ((-2, 0, 0, 0, 0, 0), 0, 0),
    "corner_sw": ((180, 0, 0, 90, 0, 0), 1, 1),
    "corner_ne_beyond": ((180, 0, 0, 90, 0, 0), 0, 0),
    "last_cell": ((179, 59, 59, 89, 59, 59), 0, 0),
    "beyond_190e": ((190, 0, 0, 0, 0, 0), 0, 0),
    "beyond_190w": ((190, 0, 0, 0, 0, 0), 1, 0),
    "nul_character": ((-1300, 0, 0, -600, 0, 0), 0, 0),
    "absurd_fits_int": ((1e9, 0, 0, -1e9, 0, 0), 0, 0),
    "absurd_beyond_int": ((5e10, 0, 0, 0, 0, 5e14), 0, 1),
    "int_limit": ((42949672780.0 - 180, 0, 0, 0, 0, 0), 0, 0),
    "huge": ((1e300, 0, 0, 0, 1e300, 0), 0, 0),
    "huge_cancelling": ((1e300, -6e301, 0, 0, 0, 0), 0, 0),
    "max_double_sum_overflows": ((1.7976931348623157e308, 0, 1.7976931348623157e308,
                                  0, 0, 0), 0, 0),
    "inf": ((INF, 0, 0, 0, 0, -INF), 0, 0),
    "inf_minus_inf": ((INF, -INF, 0, 0, 0, 0), 0, 0),
    "nan": ((NAN, 0, 0, 0, 0, 0), 0, 0),
    "nan_latitude_seconds": ((0, 0, 0, 0, 0, NAN), 1, 1),
    "subnormal": ((5e-324, -5e-324, 2.2250738585072014e-308, 0, 0, -0.0), 0, 0),
    "negative_zero": ((-0.0, -0.0, -0.0, -0.0, -0.0, -0.0), 1, 1),
}

# Decoder: ten bytes, then a byte of direction flags.
DECODER = {
    "jj10": (b"JJ10AAAA00", 0),
    "aa00": (b"AA00AAAA00", 0),
    "rr99": (b"RR99XXXX99", 0),
    "jo20": (b"JO20EUFI61", 0),
    "fn30_dir_lo": (b"FN30ASDE59", 1),
    "qf56_dir_both": (b"QF56ODMD00", 3),
    "ii89": (b"II89XXXX99", 0),
    "aj05_hair_short": (b"AJ05BAAA00", 0),
    "ij60_rounds_whole": (b"IJ60CATA20", 0),
    "aj00_sixty_seconds": (b"AJ00AAOA40", 0),
    "plus_sign": (b"AJ+0AAAA00", 0),
    "ss00": (b"SS00AAAA00", 0),
    "lower_case": (b"jj10aaaa00", 0),
    "nul_tenth": (b"JJ00AAAA0\0", 0),
    "all_nul": (b"\0" * 10, 0),
    "all_ff": (b"\xff" * 10, 3),
    "all_7f": (b"\x7f" * 10, 0),
    "all_80": (b"\x80" * 10, 0),
    "utf8_e_acute": ("ééééé".encode(), 0),
}

# Locator text: what a user could paste into the field.
TEXT = {
    "empty": b"",
    "one_letter": b"j",
    "lower_case": b"jn18dtkk78",
    "upper_case": b"JN18DTKK78",
    "nine_bytes": b"JJ00AAAA0",
    "eight_bytes": b"JJ00AAAA",
    "eleven_bytes": b"JN18DTKK78X",
    "long": b"JN18DTKK78" * 30,
    "blanks": b"  \t  ",
    "control": b"\x01\x02\x1b[0m\x7f",
    "e_acute_five": "ééééé".encode(),
    "e_acute_six": "éééééé".encode(),
    "replacement_char": "\ufffd\ufffd\ufffd".encode(),
    "emoji": "\U0001f600\U0001f600".encode(),
    "invalid_utf8": b"\xc3\x28\xff\xfe\x80",
    "nul_inside": b"JN\0" + b"18DTKK78",
    "sixty_seconds": b"aj00aaoa40",
    "signs": b"+-+-+-+-+-",
    "pasted_line": b"  jn18dt \n",
    "pasted_too_long": b"\tJN18DTKK78X\r\n",
    "blank_inside": b" jn18 dt ",
}

# ADIF: a byte of settings (bit 0 --replace, bit 1 --check, bits 2-4 the
# precision, bits 5-6 --from), a byte of chunk size, then a small made log.
ADIF = {
    "fill": (0x20, 4, b"Made by hand\r\n<ADIF_VER:5>3.1.4 <EOH>\r\n"
                      b"<CALL:4>W1AW <GRIDSQUARE:4>FN31 <EOR>\r\n"
                      b"<CALL:5>F5XYZ <LAT:11>N048 48.633 <LON:11>E002 17.233 <EOR>\r\n"),
    "replace_conflict": (0x01 | 5 << 2, 7, b"<call:4>K1AA <gridsquare:6>JN18EU "
                         b"<lat:11>N048 48.633 <lon:11>E002 17.233 <DISTANCE:3>9.9 <eor>"),
    "ext_and_vucc": (0x40, 3, b"<EOH><CALL:4>K1AB <GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>XX "
                     b"<MY_VUCC_GRIDS:19>FN31,FN41,FN30,FN40<EOR><VUCC_GRIDS:9>AL09,RL99<EOR>"),
    "check_edges": (0x02 | 0x60, 1, b"\xef\xbb\xbf<GRIDSQUARE:6>JN18DT <LAT:11>N048 48.750 "
                    b"<LON:11>E002 20.000 <MY_LAT:11>S033 52.128 <MY_LON:11>W070 40.000 <EOR>"),
    "broken": (0x00, 2, b"<EOH><CALL:4>W1AW<CALL 4>x<EOR><APP_X:2:S>ab<CALL:9>F5X"),
}


def reset(name):
    path = os.path.join(ROOT, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def write(path, name, data):
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def main():
    path = reset("encoder")
    for name, (tab, lo, la) in ENCODER.items():
        write(path, name, struct.pack("<6d2i", *tab, lo, la))
    path = reset("decoder")
    for name, (text, flags) in DECODER.items():
        assert len(text) == 10, name
        write(path, name, text + bytes([flags]))
    path = reset("locator_text")
    for name, text in TEXT.items():
        write(path, name, text)
    path = reset("adif")
    for name, (settings, chunk, log) in ADIF.items():
        write(path, name, bytes([settings, chunk]) + log)


if __name__ == "__main__":
    main()
