#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Start-up cost of Tolka against a bare GTK+ 2 window with the same widgets
# (bench/bare_window.cpp): time from exec to the window being mapped, and
# resident memory at that moment, on a private Xvfb with no window manager.
#
#   scripts/bench-startup.sh [RUNS]      (default 20 runs of each)
#
# Builds a Release tree in build-bench, runs the two programs alternately
# (one discarded warm-up each, then tolka, bare, tolka, bare, ...), both under
# LC_ALL=C.UTF-8, and prints the medians, the time ratio and the memory
# difference against the targets (at most 1.15 times the time, 2 MB more).
# Measure on an otherwise idle machine: other load widens the spread.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

RUNS=${1:-20}
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [RUNS]" >&2; exit 2; }

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
BUILD="$TOLKA_ROOT/build-bench"
build_tree "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOLKA_BUILD_TESTS=OFF >/dev/null

trap stop_xvfb EXIT
start_xvfb

# Prints "ms kB" for one start of the program titled $1.
measure() {
  local title=$1 program=$2
  env -u LANGUAGE LC_ALL=C.UTF-8 "$BUILD/tolka_xwindow" launch "$title" 20 -- "$program"
}

TOLKA=("Tolka" "$BUILD/tolka")
BARE=("Bare" "$BUILD/bench/tolka_bare_window")

# Loads the libraries and fonts into the page cache, so the first measured
# run is not the only cold one.
measure "${TOLKA[@]}" >/dev/null
measure "${BARE[@]}" >/dev/null

tolka_ms=() tolka_kb=() bare_ms=() bare_kb=()
for ((i = 1; i <= RUNS; i++)); do
  out=$(measure "${TOLKA[@]}")
  read -r ms kb <<<"$out"
  tolka_ms+=("$ms") tolka_kb+=("$kb")
  out=$(measure "${BARE[@]}")
  read -r ms kb <<<"$out"
  bare_ms+=("$ms") bare_kb+=("$kb")
  printf 'run %2d: tolka %8s ms %6s kB   bare %8s ms %6s kB\n' \
    "$i" "${tolka_ms[-1]}" "${tolka_kb[-1]}" "${bare_ms[-1]}" "${bare_kb[-1]}"
done

median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
    END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

t_ms=$(median "${tolka_ms[@]}") b_ms=$(median "${bare_ms[@]}")
t_kb=$(median "${tolka_kb[@]}") b_kb=$(median "${bare_kb[@]}")
echo
awk -v tm="$t_ms" -v bm="$b_ms" -v tk="$t_kb" -v bk="$b_kb" -v n="$RUNS" 'BEGIN {
  ratio = tm / bm; extra = tk - bk
  printf "medians over %d runs each (LC_ALL=C.UTF-8):\n", n
  printf "  tolka  %8.2f ms  %7d kB\n", tm, tk
  printf "  bare   %8.2f ms  %7d kB\n", bm, bk
  printf "  time ratio %.3f (target <= 1.15): %s\n", ratio, ratio <= 1.15 ? "ok" : "OVER"
  printf "  memory +%d kB (target <= 2048 kB): %s\n", extra, extra <= 2048 ? "ok" : "OVER"
}'
