#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes random pairs of points for timing `tolka-cli distance` against
`GeodSolve -i` on the same pairs.

    bench/make_pairs.py [--seed S] [--maidenhead] N PREFIX

PREFIX.pairs: N lines "FROM TO" for tolka-cli distance, each point a locator
of 2 to 10 characters (Tolka's, or Maidenhead's with --maidenhead; mixed case)
or a position LAT,LON with 0 to 8 decimals, half of each.
PREFIX.geod: the same N pairs as "lat1 lon1 lat2 lon2" for GeodSolve -i, a
locator at its cell's centre (12 decimals: within 1e-12 degree), a position
with the very digits of PREFIX.pairs.
"""
import argparse
import random
from fractions import Fraction

# Characters of each level, the cells per parent along both axes.
TOLKA = ("AR", "09", "AX", "AX", "09")
MAIDENHEAD = ("AR", "09", "AX", "09", "AX")


def random_locator(rng, levels):
    """A random locator of 2 to 10 characters and its cell's centre."""
    length = rng.choice((2, 4, 6, 8, 10))
    text = ""
    corner = [Fraction(-180), Fraction(-90)]
    size = [Fraction(360), Fraction(180)]
    for first, last in levels[: length // 2]:
        count = ord(last) - ord(first) + 1
        for axis in (0, 1):  # longitude character first
            size[axis] /= count
            index = rng.randrange(count)
            corner[axis] += index * size[axis]
            text += chr(ord(first) + index)
    if rng.random() < 0.5:
        text = text.lower()
    lon, lat = (corner[axis] + size[axis] / 2 for axis in (0, 1))
    return text, f"{float(lat):.12f}", f"{float(lon):.12f}"


def random_decimal(rng, limit):
    """A decimal number in -limit..limit with 0 to 8 decimals, as text."""
    places = rng.randint(0, 8)
    units = rng.randint(-limit * 10**places, limit * 10**places)
    sign = "-" if units < 0 else ""
    whole, fraction = divmod(abs(units), 10**places)
    return f"{sign}{whole}" + (f".{fraction:0{places}d}" if places else "")


def random_point(rng, levels):
    """(text for tolka-cli, latitude, longitude for GeodSolve)."""
    if rng.random() < 0.5:
        return random_locator(rng, levels)
    lat, lon = random_decimal(rng, 90), random_decimal(rng, 180)
    return f"{lat},{lon}", lat, lon


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int)
    parser.add_argument("prefix")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--maidenhead", action="store_true")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    levels = MAIDENHEAD if args.maidenhead else TOLKA
    with open(args.prefix + ".pairs", "w") as pairs, open(args.prefix + ".geod", "w") as geod:
        for _ in range(args.count):
            (text1, lat1, lon1), (text2, lat2, lon2) = (random_point(rng, levels),
                                                        random_point(rng, levels))
            pairs.write(f"{text1} {text2}\n")
            geod.write(f"{lat1} {lon1} {lat2} {lon2}\n")


if __name__ == "__main__":
    main()
