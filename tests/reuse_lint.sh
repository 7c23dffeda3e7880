#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# reuse lint on the project's own files, the build trees left out as
# .gitignore leaves them: copied aside, so that a tree without git (an
# unpacked tarball, a fresh machine's copy) is linted like a checkout.
# reuse_lint.sh REUSE SOURCE_DIR
set -euo pipefail
reuse=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -C "$root" --exclude=./.git --exclude=./build --exclude='./build-*' -cf - . |
  tar -C "$work" -xf -
"$reuse" --root "$work" lint
