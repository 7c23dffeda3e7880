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

# EDI logs, made up: one of each rule, wrong claims, the header's claims,
# CR LF and a byte-order mark, broken lines.
EDI_HEAD = b"[REG1TEST;1]\r\nPCall=OK2TLK\r\nPWWLo=JO70FD\r\nPBand=144 MHz\r\nTDate=20260118;20260118\r\n"
EDI_LOG = {
    "okpa": EDI_HEAD + b"CQSOs=2;1\r\nCQSOP=5\r\nCWWLs=2;0;1\r\nCToSc=10\r\n"
    b"CODXC=DL0ABC;JO60XX;99\r\n[QSORecords;2]\r\n"
    b"260118;0800;OK1XYZ;1;59;001;59;001;;JO70GE;2;;;;\r\n"
    b"260118;0815;DL0ABC/P;1;59;002;59;002;;JO60XX;3;;;;\r\n",
    "iaru_wrong": b"\xef\xbb\xbf" + EDI_HEAD + b"CQSOP=1\r\nCToSc=1\r\nCODXC=X;JO70GE;1\r\n"
    b"[Remarks]\r\nCaf\xe9\r\n[QSORecords;9]\r\n"
    b"260118;0800;OK1XYZ;1;59;001;59;001;;JO70GE;1;;;;\r\n"
    b"260118;0900;ok1xyz;1;59;002;59;002;;JO70GE;8;;;;\r\n"
    b"260118;1200;DL0ABC;1;59;003;;;;JO60;;;;;D\r\n"
    b"260118;1300;ERROR;1;59;004;59;004;;JO31LKKK78;5",
    "high_band": b"[REG1TEST;1]\nPWWLo=JN18DT\nPBand=24 GHz\n[QSORecords;1]\n"
    b"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;9;;N;N;\n",
    "broken": b"[REG1TEST;1]\nPWWLo=jn18\nTDate=2026\nCQSOs=\n[QSORecords\n;;;\n[\n"
    b"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17\n",
    "no_header": b"[QSORecords;1]\n260905;1405;F1AB;1;59;001;59;012;;JJ00AB;9\n",
}

# Rules files: the built-ins, every key, and a mistake of each kind.
RULES = {
    "every_key": b'name = "test"\npoints = "km"\nsquare_bonus = 100\nsquare_multiplier = true\n'
    b'hours = "08:00-11:00"\ntolerance_minutes = 5\n[band_factor]\n"432 MHz" = 2\n',
    "unknown_key": b'name = "x"\npoints = "rings"\ncolour = 3\n',
    "wrong_type": b'name = "x"\npoints = "km"\nsquare_bonus = "ten"\n',
    "out_of_range": b'name = "x"\npoints = "km"\ntolerance_minutes = 99999\n',
    "bad_hours": b'name = "x"\npoints = "km"\nhours = "11:00-08:00"\n',
    "not_toml": b'name = \npoints = [1, "a"\n',
    "control_key": b'"a\\u001Bb" = 1\n',
    "inline_tables": b'name = "x"\npoints = "km"\nband_factor = { a = { b = 1 } }\n',
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
    path = reset("edi_log")
    for name, text in EDI_LOG.items():
        write(path, name, text)
    rules = os.path.join(os.path.dirname(ROOT), "..", "src", "contest", "rules")
    path = reset("rules")
    for name, text in RULES.items():
        write(path, name, text)
    for name in sorted(os.listdir(rules)):
        with open(os.path.join(rules, name), "rb") as f:
            write(path, "builtin_" + name, f.read())
    path = reset("adif")
    for name, (settings, chunk, log) in ADIF.items():
        write(path, name, bytes([settings, chunk]) + log)


if __name__ == "__main__":
    main()
