#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets (clang, ASan and UBSan) into build-fuzz and
# runs each for a while: scripts/fuzz.sh [SECONDS_EACH] [TARGET...]
# (default 60 s; targets: encoder decoder locator_text cli_line edi_log rules adif). The corpus grows in
# build-fuzz/corpus/<target>, seeded from fuzz/corpus/<target>; a finding is
# saved under build-fuzz/artifacts/ and ends the script with a failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(encoder decoder locator_text cli_line edi_log rules adif)

ensure_packages "${BUILD_PACKAGES[@]}" clang libfuzzer-14-dev libclang-rt-14-dev

build_fuzz_tree
build="$TOLKA_ROOT/build-fuzz"
mkdir -p "$build/artifacts" "$build/logs"

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds} s (log: $log)"
  if "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$target-" \
       "$corpus" "$TOLKA_ROOT/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E 'stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
    echo "   corpus: $(find "$corpus" -type f | wc -l) inputs; no finding"
  else
    status=1
    echo "   FINDING: see $log and $build/artifacts/" >&2
    tail -n 30 "$log" >&2
  fi
done
exit "$status"
