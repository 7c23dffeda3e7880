#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders the committed PNG icons from their drawings: data/icons/tolka-16.svg,
# fitted to the pixel grid, for 16 pixels; data/icons/tolka.svg for the other
# sizes. Run it after changing a drawing, look at the results, commit them.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages librsvg2-bin
ICONS="$TOLKA_ROOT/data/icons"
for size in 16 32 48 64 128 256; do
  drawing="$ICONS/tolka.svg"
  [ "$size" = 16 ] && drawing="$ICONS/tolka-16.svg"
  mkdir -p "$ICONS/${size}x${size}"
  rsvg-convert --width "$size" --height "$size" --output "$ICONS/${size}x${size}/tolka.png" \
    "$drawing"
  echo "$ICONS/${size}x${size}/tolka.png"
done
