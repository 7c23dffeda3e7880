#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes a made contest of EDI logs, for timing `tolka-cli contest` against
`tolka-cli edi` on the same logs, with the verdicts it must give.

    bench/make_contest.py LOGS LINES DIR

DIR/NNNNN.edi: LOGS logs on 144 MHz, 432 MHz and 1.3 GHz (PBand written as
people write it) of stations at random places in Europe, some on several
bands, about LINES contact lines in all. Each contact is logged by both
sides, a minute or two apart, with each side's serial numbers; then, one
fault at most a contact, the faults a committee meets: a side that did not
log it, a call, locator, number or report copied wrong, a clock 30 minutes
off, a missing report, a locator of 4 characters, a date after the contest,
a contact logged twice, and contacts with stations that sent no log (some
of them worked by one log alone).
DIR/expected: each verdict column of the results and the sum over all logs
that those faults make, "column count", one a line.
"""
import os
import random
import sys

VERDICTS = ["confirmed", "unverified", "unique", "not_in_log", "busted_call", "busted_locator",
            "busted_number", "busted_report", "time", "duplicate", "outside", "incomplete",
            "invalid_locator"]
# Band, share of the logs, PBand as logs write it.
BANDS = [("144", 0.6, ["144 MHz", "145 MHz", "2m", "144"]),
         ("432", 0.3, ["432 MHz", "435 MHZ", "70cm"]),
         ("1296", 0.1, ["1296 MHz", "1,3 GHz", "23cm"])]
# Prefixes of the stations that send logs; those that do not are ZZ, a
# call no one edit away from any of them.
PREFIXES = ["DL", "OK", "OM", "SP", "PA", "ON", "OE", "HA", "S5", "YU", "LZ", "HB", "LX"]
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
# Each contact's fault, and its share: who gets which verdict is in FATES.
FAULTS = [("not_logged", 0.01), ("call", 0.005), ("locator", 0.01), ("number", 0.005),
          ("report", 0.003), ("time", 0.005), ("incomplete", 0.003), ("invalid", 0.003),
          ("outside", 0.002)]
# The verdicts of the side with the fault (A), and of the other (C).
FATES = {None: ("confirmed", "confirmed"), "not_logged": ("not_in_log", None),
         "call": ("busted_call", "not_in_log"), "locator": ("busted_locator", "confirmed"),
         "number": ("busted_number", "confirmed"), "report": ("busted_report", "confirmed"),
         "time": ("time", "time"), "incomplete": ("incomplete", "confirmed"),
         "invalid": ("invalid_locator", "confirmed"), "outside": ("outside", "not_in_log")}
DUPLICATES = 0.01  # lines logged a second time, 5 minutes later
UNLOGGED = 0.03    # lines with stations that sent no log
START = 14 * 60    # 14:00 on 5 September; the contest runs 24 hours


def locator(latitude, longitude):
    lon, lat = longitude + 180, latitude + 90
    return (LETTERS[int(lon // 20)] + LETTERS[int(lat // 10)] + str(int(lon % 20 // 2))
            + str(int(lat % 10)) + LETTERS[int(lon % 2 * 12)] + LETTERS[int(lat % 1 * 24)])


def when(minute):
    """YYMMDD;HHMM of the minute from 00:00 on 5 September 2026."""
    day, minute = divmod(minute, 1440)
    return f"2609{5 + day:02d};{minute // 60:02d}{minute % 60:02d}"


def main():
    logs, lines, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    rng = random.Random(20261208)
    os.makedirs(out, exist_ok=True)
    calls = set()
    while len(calls) < logs:  # at most one log a band, some stations on several
        calls.add(rng.choice(PREFIXES) + str(rng.randrange(10)) + "".join(rng.choices(LETTERS, k=3)))
    calls = sorted(calls)
    stations = {call: locator(rng.uniform(36, 60), rng.uniform(-10, 30)) for call in calls}
    portable = {call for call in calls if rng.random() < 0.1}
    entries = []  # (call, band, PBand)
    for band, share, names in BANDS:
        for call in rng.sample(calls, max(2, round(logs * share))):
            entries.append((call, band, rng.choice(names)))
    entries = entries[:logs]
    per_log = lines / len(entries)
    # Every line of each log: [minute, call as written, sent, received,
    # locator received, fault], the serial numbers filled in last.
    body = [[] for _ in entries]
    counts = dict.fromkeys(VERDICTS, 0)
    for band, _, _ in BANDS:
        members = [i for i, e in enumerate(entries) if e[1] == band]
        pairs = set()
        wanted = int(len(members) * per_log * (1 - DUPLICATES - UNLOGGED) / 2)
        while len(pairs) < min(wanted, len(members) * (len(members) - 1) // 2):
            a, c = rng.sample(members, 2)
            if (c, a) not in pairs:
                pairs.add((a, c))
        for a, c in sorted(pairs):
            fault, roll = None, rng.random()
            for name, share in FAULTS:
                if roll < share:
                    fault = name
                    break
                roll -= share
            minute = START + rng.randrange(1440 - 60) + 30
            log_a, log_c = entries[a][0], entries[c][0]
            seen_c = log_c + "/P" if log_c in portable and rng.random() < 0.7 else log_c
            seen_a = log_a + "/P" if log_a in portable and rng.random() < 0.7 else log_a
            line_a = [minute, seen_c, "59", "59", stations[log_c], fault, c]
            line_c = [minute + rng.randint(-2, 2), seen_a, "59", "59", stations[log_a], None, a]
            if fault == "call":
                while True:  # a call one letter off that no station has
                    at = rng.randrange(3, 6)
                    busted = log_c[:at] + rng.choice(LETTERS) + log_c[at + 1:]
                    if busted not in stations:
                        break
                line_a[1] = busted
            elif fault == "locator":
                good = stations[log_c]
                line_a[4] = good[:5] + ("A" if good[5] != "A" else "B")
            elif fault == "report":
                line_a[3] = "57"
            elif fault == "time":
                line_a[0] += 30
            elif fault == "incomplete":
                line_a[3] = ""
            elif fault == "invalid":
                line_a[4] = stations[log_c][:4]
            elif fault == "outside":
                line_a[0] += 2 * 1440
            body[a].append(line_a)
            if fault != "not_logged":
                body[c].append(line_c)
            fate_a, fate_c = FATES[fault]
            counts[fate_a] += 1
            if fate_c:
                counts[fate_c] += 1
        # Stations without a log, each worked by one to four logs of the band.
        unlogged = int(len(members) * per_log * UNLOGGED)
        number = 0
        while unlogged > 0:
            call = f"ZZ{number % 10}{LETTERS[number // 10 % 26]}{LETTERS[number // 260 % 26]}" \
                   f"{LETTERS[number // 6760 % 26]}"
            number += 1
            worked = rng.sample(members, min(len(members), rng.randint(1, 4)))
            place = locator(rng.uniform(36, 60), rng.uniform(-10, 30))
            for a in worked:
                body[a].append([START + 30 + rng.randrange(1440 - 60), call, "59", "59", place,
                                None, None])
            counts["unverified"] += len(worked)
            counts["unique"] += len(worked) == 1
            unlogged -= len(worked)
    for i, (call, band, pband) in enumerate(entries):
        own = body[i]
        for line in [line for line in own if line[5] is None and line[6] is not None]:
            if rng.random() < DUPLICATES:
                copy = list(line)
                copy[0] += 5
                copy[6] = None  # its number is its own
                own.append(copy)
                counts["duplicate"] += 1
        own.sort(key=lambda line: line[0])
        for serial, line in enumerate(own, 1):
            line.append(serial)
    # What each side received is the other's serial for the same contact.
    serial_of = {}
    for i, own in enumerate(body):
        for line in own:
            if line[6] is not None:
                serial_of[(i, line[6])] = line[7]
    for i, (call, band, pband) in enumerate(entries):
        text = [f"[REG1TEST;1]\nTName=Bench contest\nTDate=20260905;20260906\n"
                f"PCall={call + '/P' if call in portable else call}\nPWWLo={stations[call]}\n"
                f"PSect=SINGLE\nPBand={pband}\nCToSc=0\n[Remarks]\n[QSORecords;{len(body[i])}]\n"]
        for minute, seen, sent, received, place, fault, partner, serial in body[i]:
            got = serial_of.get((partner, i), rng.randrange(1, 999))
            if fault == "number":
                got += 1
            text.append(f"{when(minute)};{seen};1;{sent};{serial:03d};{received};{got:03d};;"
                        f"{place};1;;;;\n")
        with open(os.path.join(out, f"{i:05d}.edi"), "w") as f:
            f.write("".join(text))
    with open(os.path.join(out, "expected"), "w") as f:
        for name in VERDICTS:
            f.write(f"{name} {counts[name]}\n")


if __name__ == "__main__":
    main()
