#!/bin/bash
# Time per pair of the distance arithmetic (no parsing, no I/O) beside
# `GeodSolve -i` (parsing, solving, printing) on the same random pairs.
#
#   scripts/bench-distance.sh [PAIRS]      (default 1000000)
#
# Builds a Release tree in build-bench. Until tolka-cli has its distance
# command this is the arithmetic's share of the budget: the command adds the
# line reader and the parsers.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

COUNT=${1:-1000000}
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev geographiclib-tools python3
BUILD="$TOLKA_ROOT/build-bench"
build_tree "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOLKA_BUILD_TESTS=OFF >/dev/null

DATA=$(mktemp -d)
trap 'rm -rf "$DATA"' EXIT
python3 "$TOLKA_ROOT/bench/make_pairs.py" "$COUNT" "$DATA/pairs"

"$BUILD/bench/tolka_distance_loop" "$DATA/pairs.geod"
# GeodSolve, fastest of three runs, as the loops above.
best=
for _ in 1 2 3; do
  start=$(date +%s%N)
  GeodSolve -i <"$DATA/pairs.geod" >/dev/null
  elapsed=$(($(date +%s%N) - start))
  if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
done
awk -v ns="$best" -v n="$COUNT" \
  'BEGIN { printf "%-42s %8.1f ns/pair %12.0f pairs/s\n", "GeodSolve -i (whole program)", ns / n, n / (ns / 1e9) }'
