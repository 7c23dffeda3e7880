#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Lines per second of tolka-cli, side by side in one run with the least a
# converter of lines must do (bench/bare_cli.cpp: chunked read, integer
# parsing, the arithmetic, one output buffer) and with GeographicLib's
# GeoConvert, on the same random positions and the locators they give; and
# of tolka-cli distance beside GeographicLib's GeodSolve -i on the same random
# pairs (bench/make_pairs.py), with the cost of the distance arithmetic alone
# (bench/distance_loop.cpp) to show where the time goes.
#
#   scripts/bench-cli.sh [LINES] [RUNS]
#
# LINES (also the number of pairs) defaults to 1000000, RUNS (the best of
# which counts) to 3. Builds a Release tree in build-bench. Targets:
# tolka-cli takes at most 2x the bare loop's time each way, is at least 5x
# faster than GeoConvert, and distance takes at most 1.3x GeodSolve's time.
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

# best INPUT COMMAND...: the shortest of RUNS wall-clock times, in seconds.
best() {
  local input=$1 best= t0 t1 i
  shift
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N)
    "$@" <"$input" >/dev/null
    t1=$(date +%s%N)
    if [ -z "$best" ] || [ $((t1 - t0)) -lt "$best" ]; then best=$((t1 - t0)); fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.4f", ns / 1e9 }'
}

cli_encode=$(best "$work/positions" "$cli" encode)
bare_encode=$(best "$work/positions" "$bare" encode)
geoconvert=$(best "$work/positions" GeoConvert -m)
cli_decode=$(best "$work/locators" "$cli" decode)
bare_decode=$(best "$work/locators" "$bare" decode)
cli_distance=$(best "$work/pairs.pairs" "$cli" distance)
cli_iaru=$(best "$work/pairs.pairs" "$cli" distance --iaru)
geodsolve=$(best "$work/pairs.geod" GeodSolve -i)

row() { awk -v name="$1" -v t="$2" -v n="$lines" -v note="$3" \
  'BEGIN { printf "%-34s %12.0f %9.3f  %s\n", name, n / t, t, note }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

echo "$lines lines, best of $runs runs, $(nproc) cores"
printf '%-34s %12s %9s  %s\n' "converter" "lines/s" "seconds" "note"
row "tolka-cli encode" "$cli_encode" "$(ratio "$cli_encode" "$bare_encode") the bare loop's time (target <= 2x)"
row "bare loop, encode" "$bare_encode" ""
row "GeoConvert -m (same positions)" "$geoconvert" \
  "$(ratio "$geoconvert" "$cli_encode") tolka-cli encode's time (target >= 5x)"
row "tolka-cli decode" "$cli_decode" "$(ratio "$cli_decode" "$bare_decode") the bare loop's time (target <= 2x)"
row "bare loop, decode" "$bare_decode" ""
row "tolka-cli distance" "$cli_distance" \
  "$(ratio "$cli_distance" "$geodsolve") GeodSolve's time (target <= 1.3x)"
row "tolka-cli distance --iaru" "$cli_iaru" "$(ratio "$cli_iaru" "$geodsolve") GeodSolve's time"
row "GeodSolve -i (same pairs)" "$geodsolve" ""

echo
echo "Where distance's time goes: the arithmetic alone, in process, best of 3:"
"$BUILD/bench/tolka_distance_loop" "$work/pairs.geod" 2>/dev/null | sed 1d
