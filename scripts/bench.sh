#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Time per call of the locator encoder and decoder (Google Benchmark), beside
# a plain straight-line loop of the same arithmetic.
#
#   scripts/bench.sh [BENCHMARK OPTIONS...]
#
# Builds a Release tree in build-bench and runs build-bench/bench/tolka_bench
# with 5 repetitions, printing the aggregates; options are passed on (e.g.
# --benchmark_filter=Encode). Target: at most 30 ns a call for each function.
# Measure on an otherwise idle machine and read the CPU column.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
BUILD="$TOLKA_ROOT/build-bench"
build_tree "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTOLKA_BUILD_TESTS=OFF >/dev/null

"$BUILD/bench/tolka_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
