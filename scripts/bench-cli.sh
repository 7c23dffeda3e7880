#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Lines per second of tolka-cli, side by side in one run with the least a
# converter of lines must do (bench/bare_cli.cpp: chunked read, integer
# parsing, the arithmetic, one output buffer) and with GeographicLib's
# GeoConvert, on the same random positions and the locators they give; and
# of tolka-cli distance beside GeographicLib's GeodSolve -i on the same random
# pairs (bench/make_pairs.py), with the cost of the distance arithmetic alone
# (bench/distance_loop.cpp) to show where the time goes; of tolka-cli edi on
# a generated contest log of 10,000 contacts beside awk adding up its points
# column (reading and splitting the lines: the least a check does); records
# per second of tolka-cli adif on a log of as many records (bench/make_log.py),
# each a pair of Maidenhead locators or ADIF positions, beside tolka-cli
# distance on the same pairs; contact lines per second of tolka-cli contest
# on a made contest (bench/make_contest.py) beside tolka-cli edi on its logs;
# and encode on the same positions written as people paste them (the letter
# first with decimal minutes, ADIF's, lower-case letters after, an NMEA RMC
# sentence), and on lines that are all refused.
#
#   scripts/bench-cli.sh [LINES] [RUNS]
#
# LINES (also the number of pairs) defaults to 1000000, RUNS (the best of
# which counts) to 3. Builds a Release tree in build-bench. Targets:
# tolka-cli takes at most 2x the bare loop's time each way, is at least 5x
# faster than GeoConvert, distance takes at most 1.3x GeodSolve's time, edi
# checks the 10,000 contacts in well under 0.1 s, contest checks a contest of
# LINES contact lines (5,000 logs for a million) in a few seconds and at most
# 2x the time edi takes on the same logs, adif takes at most 1.5x
# distance's time on the same pairs, each written form takes at most 1.5x the
# decimal form's time, and a refused line about as long as a converted one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

lines=${1:-1000000}
runs=${2:-3}
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev geographiclib-tools python3
BUILD="$TOLKA_ROOT/build-bench"
build_tree "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOLKA_BUILD_TESTS=OFF >/dev/null
cli=$BUILD/src/cli/tolka-cli
bare=$BUILD/bench/tolka_bare_cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Uniform over the globe's ranges, six decimals (about 0.1 m).
awk -v n="$lines" 'BEGIN { srand(20261207);
  for (i = 0; i < n; i++) printf "%.6f %.6f\n", rand() * 180 - 90, rand() * 360 - 180 }' \
  >"$work/positions"
"$cli" encode <"$work/positions" >"$work/locators"
# The same positions in the other forms: N 48° 51.400' E 002° 21.050' and
# ADIF's N048 51.400 E002 21.050 with three decimals of minutes, as GPS units
# and loggers write them (those two must give the same locators), and
# 48.8566n 2.3522e (the same as the decimal form's).
awk -v dir="$work" '{ la = $1 < 0 ? -$1 : $1; lo = $2 < 0 ? -$2 : $2
  h = $1 < 0 ? "S" : "N"; g = $2 < 0 ? "W" : "E"; a = int(la); b = int(lo)
  # Thousandths of a minute, kept below 60.000.
  m = int((la - a) * 60000 + 0.5); n = int((lo - b) * 60000 + 0.5)
  m = sprintf("%.3f", (m < 60000 ? m : 59999) / 1000); n = sprintf("%.3f", (n < 60000 ? n : 59999) / 1000)
  printf "%s %d° %s'"'"' %s %03d° %s'"'"'\n", h, a, m, g, b, n >dir "/letter-first"
  printf "%s%03d %s %s%03d %s\n", h, a, m, g, b, n >dir "/adif"
  printf "%.6f%s %.6f%s\n", la, h == "S" ? " s" : "n", lo, tolower(g) >dir "/lower"
  printf "GPRMC,123519,A,%02d%s,%s,%03d%s,%s,022.4,084.4,230394,003.1,W\n", a, \
    substr(m, 2, 1) == "." ? "0" m : m, h, b, substr(n, 2, 1) == "." ? "0" n : n, g >dir "/nmea-body" }' \
  "$work/positions"
# The same minutes as an RMC sentence with its checksum, as a GPS unit sends
# it (it must give the letter-first form's locators).
python3 -c '
import sys
from functools import reduce
with open(sys.argv[1]) as body, open(sys.argv[2], "w") as out:
    for line in body:
        line = line.rstrip("\n")
        out.write("$%s*%02X\n" % (line, reduce(lambda s, c: s ^ ord(c), line, 0)))
' "$work/nmea-body" "$work/nmea"
# Out of range, every line: refused, one message each.
awk '{ printf "%.6f %s\n", ($1 < 0 ? -$1 : $1) + 90.5, $2 }' "$work/positions" >"$work/refused"
"$cli" encode <"$work/letter-first" | cmp -s - <("$cli" encode <"$work/adif") ||
  echo "WARNING: letter-first and adif give other locators"
"$cli" encode <"$work/lower" | cmp -s - "$work/locators" || echo "WARNING: lower gives other locators"
"$cli" encode <"$work/nmea" | cmp -s - <("$cli" encode <"$work/letter-first") ||
  echo "WARNING: nmea and letter-first give other locators"

# The bare loop computes the same results: compare before timing.
"$bare" encode <"$work/positions" | cmp -s - "$work/locators" || echo "WARNING: encode outputs differ"
"$cli" decode <"$work/locators" >"$work/decoded"
"$bare" decode <"$work/locators" | cmp -s - "$work/decoded" || echo "WARNING: decode outputs differ"

# Pairs of locators and positions, and the same pairs as GeodSolve reads them.
python3 "$TOLKA_ROOT/bench/make_pairs.py" "$lines" "$work/pairs"
# Both agree to a metre and a hundredth of a degree (beyond the rounding of
# the printed decimals): compare before timing.
"$cli" distance <"$work/pairs.pairs" >"$work/distances"
GeodSolve -i <"$work/pairs.geod" | paste -d' ' - "$work/distances" | awk '
  { d = $3 / 1000 - $4; b = ($1 < 0 ? $1 + 360 : $1) - $5
    b = b - 360 * int(b / 360 + (b < 0 ? -0.5 : 0.5))
    if (d > 0.0015 || d < -0.0015 || b > 0.015 || b < -0.015) { n++; if (n <= 3) print "  " $0 } }
  END { if (n) print "WARNING: distance and GeodSolve differ on " n " pairs" }'

# A log of the same number of records, and its pairs as distance reads them;
# the distances adif fills are distance's, to the decimal: compare first.
python3 "$TOLKA_ROOT/bench/make_pairs.py" --maidenhead "$lines" "$work/maidenhead"
python3 "$TOLKA_ROOT/bench/make_log.py" "$work/maidenhead.pairs" "$work/log"
"$cli" adif <"$work/log.adi" | grep -o '<DISTANCE:[0-9]*>[0-9.]*' | sed 's/.*>//' |
  paste -d' ' - <("$cli" distance <"$work/log.pairs") | awk -v n="$lines" '
  { d = $1 - $2; if (d > 0.0505 || d < -0.0505) { m++; if (m <= 3) print "  " $0 } }
  END { if (m || NR != n) print "WARNING: adif and distance differ on " m + 0 " of " NR " records" }'

# best INPUT COMMAND...: the shortest of RUNS wall-clock times, in seconds.
best() {
  local input=$1 best= t0 t1 i
  shift
  for ((i = 0; i < runs; i++)); do
    # Freeing the last run's output (tens of megabytes of messages for the
    # refused lines) is the shell's work when it truncates, not the program's.
    rm -f "$work/timed-out" "$work/timed-err"
    t0=$(date +%s%N)
    "$@" <"$input" >"$work/timed-out" 2>"$work/timed-err" || true
    t1=$(date +%s%N)
    if [ -z "$best" ] || [ $((t1 - t0)) -lt "$best" ]; then best=$((t1 - t0)); fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.4f", ns / 1e9 }'
}

cli_encode=$(best "$work/positions" "$cli" encode)
cli_letter_first=$(best "$work/letter-first" "$cli" encode)
cli_adif=$(best "$work/adif" "$cli" encode)
cli_lower=$(best "$work/lower" "$cli" encode)
cli_nmea=$(best "$work/nmea" "$cli" encode)
cli_refused=$(best "$work/refused" "$cli" encode)
# The same with the messages thrown away: the program's own work, without
# the system storing six times the bytes of the locators.
quiet() { "$@" 2>/dev/null; }
cli_refused_quiet=$(best "$work/refused" quiet "$cli" encode)
bare_encode=$(best "$work/positions" "$bare" encode)
geoconvert=$(best "$work/positions" GeoConvert -m)
cli_decode=$(best "$work/locators" "$cli" decode)
bare_decode=$(best "$work/locators" "$bare" decode)
cli_distance=$(best "$work/pairs.pairs" "$cli" distance)
# The contest rule refuses 2- and 4-character locators: its pairs are the others.
awk '{ for (i = 1; i <= 2; i++) if (index($i, ",") == 0 && length($i) < 6) next; print }' \
  "$work/pairs.pairs" >"$work/pairs.iaru"
iaru_pairs=$(wc -l <"$work/pairs.iaru")
cli_iaru=$(best "$work/pairs.iaru" "$cli" distance --iaru)
geodsolve=$(best "$work/pairs.geod" GeodSolve -i)
cli_adif_log=$(best "$work/log.adi" "$cli" adif)
cli_log_distance=$(best "$work/log.pairs" "$cli" distance)

# A contest log from JN18DT, CR LF: random subsquares from IM00AA to KO99XX,
# one contact in twenty a duplicate, one in fifty struck out (ERROR), one in
# thirty with a square only. Every claim is 0, so that every line disagrees:
# the longest report there can be.
edi_contacts=10000
awk -v n="$edi_contacts" 'BEGIN { srand(20261207); L = "ABCDEFGHIJKLMNOPQRSTUVWX"
  printf "[REG1TEST;1]\r\nTName=Bench\r\nPCall=F6ABC\r\nPWWLo=JN18DT\r\nPBand=144 MHz\r\n"
  printf "CQSOs=0;1\r\nCQSOP=0\r\nCODXC=\r\n[Remarks]\r\n[QSORecords;%d]\r\n", n
  for (i = 1; i <= n; i++) {
    loc = substr("IJK", 1 + int(rand() * 3), 1) substr("MNO", 1 + int(rand() * 3), 1) \
      int(rand() * 10) int(rand() * 10) substr(L, 1 + int(rand() * 24), 1) substr(L, 1 + int(rand() * 24), 1)
    if (i % 30 == 0) loc = substr(loc, 1, 4)
    printf "260905;%02d%02d;%s;1;59;%03d;59;%03d;;%s;0;;;;%s\r\n", int(i / 60) % 24, i % 60,
      i % 50 ? "DL" i "ABC" : "ERROR", i % 1000, i % 997, loc, i % 20 ? "" : "D" } }' >"$work/log.edi"
# Every log checked here disagrees (status 1); --write reports on standard error.
disagreeing() { "$@" 2>/dev/null || [ $? = 1 ]; }
cli_edi=$(best /dev/null disagreeing "$cli" edi "$work/log.edi")
cli_edi_write=$(best /dev/null disagreeing "$cli" edi --write "$work/log.edi")
# shellcheck disable=SC2016 # the program is awk's
awk_edi=$(best "$work/log.edi" awk -F';' '{ s += $11 } END { print s }')

# A made contest of LINES contact lines in LINES / 200 logs (5,000 for a
# million), each contact logged by both sides, with known faults
# (bench/make_contest.py): tolka-cli contest cross-checking them all beside
# tolka-cli edi checking the same logs one by one. First the verdicts,
# summed over the logs, against those the faults make.
contest_logs=$((lines / 200 > 2 ? lines / 200 : 2))
python3 "$TOLKA_ROOT/bench/make_contest.py" "$contest_logs" "$lines" "$work/contest"
"$cli" contest --csv "$work"/contest/*.edi 2>"$work/contest.err" | tr -d '\r' | awk -F, -v want="$work/contest/expected" '
  NR == 1 { for (i = 1; i <= NF; i++) column[$i] = i; next }
  { for (name in column) sum[name] += $column[name] }
  END { while ((getline line < want) > 0) { split(line, f, " ")
      if (sum[f[1]] != f[2]) { n++; print "  " f[1] ": " sum[f[1]] ", made " f[2] } }
    if (n) print "WARNING: contest gives other verdicts than the faults made" }'
[ -s "$work/contest.err" ] && echo "WARNING: contest reports: $(head -3 "$work/contest.err")"
contest_lines=$(cat "$work"/contest/*.edi | grep -c '^[0-9]\{6\};')
cli_contest=$(best /dev/null "$cli" contest "$work"/contest/*.edi)
cli_edi_contest=$(best /dev/null "$cli" edi "$work"/contest/*.edi)

# row NAME SECONDS NOTE [LINES]
row() { awk -v name="$1" -v t="$2" -v n="${4:-$lines}" -v note="$3" \
  'BEGIN { printf "%-34s %12.0f %9.3f  %s\n", name, n / t, t, note }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

echo "$lines lines, best of $runs runs, $(nproc) cores"
printf '%-34s %12s %9s  %s\n' "converter" "lines/s" "seconds" "note"
row "tolka-cli encode" "$cli_encode" "$(ratio "$cli_encode" "$bare_encode") the bare loop's time (target <= 2x)"
row "bare loop, encode" "$bare_encode" ""
for form in letter-first adif lower nmea; do
  var=cli_${form//-/_}
  row "tolka-cli encode, $form" "${!var}" "$(ratio "${!var}" "$cli_encode") the decimal form's time (target <= 1.5x)"
done
row "tolka-cli encode, all refused" "$cli_refused" \
  "$(ratio "$cli_refused" "$cli_encode") the converted lines' time (target: about 1x)"
row "  the same, messages to /dev/null" "$cli_refused_quiet" \
  "$(ratio "$cli_refused_quiet" "$cli_encode") the converted lines' time"
row "GeoConvert -m (same positions)" "$geoconvert" \
  "$(ratio "$geoconvert" "$cli_encode") tolka-cli encode's time (target >= 5x)"
row "tolka-cli decode" "$cli_decode" "$(ratio "$cli_decode" "$bare_decode") the bare loop's time (target <= 2x)"
row "bare loop, decode" "$bare_decode" ""
row "tolka-cli distance" "$cli_distance" \
  "$(ratio "$cli_distance" "$geodsolve") GeodSolve's time (target <= 1.3x)"
row "tolka-cli distance --iaru" "$cli_iaru" "on the $iaru_pairs pairs without 2- or 4-character locators" \
  "$iaru_pairs"
row "GeodSolve -i (same pairs)" "$geodsolve" ""
row "tolka-cli edi (a 10,000-contact log)" "$cli_edi" \
  "$(ratio "$cli_edi" "$awk_edi") awk's time (target well under 0.1 s)" "$edi_contacts"
row "tolka-cli edi --write" "$cli_edi_write" "" "$edi_contacts"
row "awk adding up the points" "$awk_edi" "" "$edi_contacts"
row "tolka-cli contest ($contest_logs logs)" "$cli_contest" \
  "$(ratio "$cli_contest" "$cli_edi_contest") edi's time on the same logs (target <= 2x, a few seconds)" \
  "$contest_lines"
row "tolka-cli edi, the same logs" "$cli_edi_contest" "" "$contest_lines"
row "tolka-cli adif (records)" "$cli_adif_log" \
  "$(ratio "$cli_adif_log" "$cli_log_distance") distance's time on its pairs (target <= 1.5x)"
row "tolka-cli distance (log's pairs)" "$cli_log_distance" ""

echo
echo "Where distance's time goes: the arithmetic alone, in process, best of 3:"
"$BUILD/bench/tolka_distance_loop" "$work/pairs.geod" 2>/dev/null | sed 1d
