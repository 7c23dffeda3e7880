#!/bin/bash
# Installs what is missing, builds Tolka and runs the whole test suite: once
# in a plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_locales fr_FR.UTF-8 en_US.UTF-8

echo "== Plain build"
build_tree "$TOLKA_ROOT/build-test"
ctest --test-dir "$TOLKA_ROOT/build-test" --output-on-failure -j "$(nproc)"

echo "== Sanitizer build"
build_tree "$TOLKA_ROOT/build-asan" -DTOLKA_SANITIZE=ON -DTOLKA_BUILD_BENCH=OFF
ctest --test-dir "$TOLKA_ROOT/build-asan" --output-on-failure -j "$(nproc)"
