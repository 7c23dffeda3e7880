#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds Tolka and runs the whole test suite: once
# in a plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets for a few seconds each.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# fr_FR.ISO-8859-1: a locale whose own case mapping reaches beyond ASCII.
ensure_locales fr_FR.UTF-8 en_US.UTF-8 fr_FR.ISO-8859-1

echo "== Plain build"
build_tree "$TOLKA_ROOT/build-test"
ctest --test-dir "$TOLKA_ROOT/build-test" --output-on-failure -j "$(nproc)"

echo "== Sanitizer build"
build_tree "$TOLKA_ROOT/build-asan" -DTOLKA_SANITIZE=ON -DTOLKA_BUILD_BENCH=OFF
ctest --test-dir "$TOLKA_ROOT/build-asan" --output-on-failure -j "$(nproc)"

echo "== Fuzz targets, briefly, on the seed corpus"
build_fuzz_tree
ctest --test-dir "$TOLKA_ROOT/build-fuzz" --output-on-failure -j "$(nproc)"
