#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds Tolka and starts it. With no display, it
# runs on a virtual one (Xvfb) and saves a screenshot of the window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
BUILD="$TOLKA_ROOT/build"
build_tree "$BUILD" -DTOLKA_BUILD_TESTS=OFF -DTOLKA_BUILD_BENCH=OFF
# Staged inside the build tree, where the program finds its catalogues
# beside itself as an installed copy does: LANGUAGE=en works before any
# install.
STAGE="$BUILD/stage"
cmake --install "$BUILD" --prefix "$STAGE" >/dev/null
TOLKA="$STAGE/bin/tolka"

if [ -n "${DISPLAY:-}" ]; then
  exec "$TOLKA" "$@"
fi

TOLKA_PID=
cleanup() {
  if [ -n "$TOLKA_PID" ]; then
    kill "$TOLKA_PID" 2>/dev/null || true
    wait "$TOLKA_PID" 2>/dev/null || true
  fi
  stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb
echo "No display is set: Tolka starts on the virtual display $DISPLAY (Xvfb)."
"$TOLKA" "$@" &
TOLKA_PID=$!
SHOT="$BUILD/tolka-window.png"
"$BUILD/tolka_xwindow" shot Tolka "$SHOT" 20
echo "Screenshot of the window: $SHOT"
if [ -t 0 ]; then
  echo "Tolka is running on $DISPLAY; press Ctrl-C to end it."
  wait "$TOLKA_PID" || true
  TOLKA_PID=
fi
