#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Makes the release tarball tolka-<version>.tar.xz of a commit (HEAD unless
# given), with its SHA-256 beside it in tolka-<version>.tar.xz.sha256, into
# build-release/ (or the directory of --output). Only what the commit holds:
# no build outputs, no .git, whatever the working tree has. The same commit
# gives the same bytes: git archive stamps every member with the commit's
# time, owner root, in the tree's order; the modes are fixed here, and xz
# runs on one thread.
#   bash scripts/release.sh [--output DIR] [COMMIT]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out=$TOLKA_ROOT/build-release
commit=HEAD
while [ $# -gt 0 ]; do
  case $1 in
  --output) out=$2; shift 2 ;;
  -*) echo "release: unknown option $1" >&2; exit 2 ;;
  *) commit=$1; shift ;;
  esac
done

cd "$TOLKA_ROOT"
commit=$(git rev-parse --verify "$commit^{commit}")
# The version of project(), as the build reads it.
version=$(git show "$commit:CMakeLists.txt" |
  sed -n 's/^project(tolka VERSION \([0-9][0-9.]*\)[ )].*/\1/p')
[ -n "$version" ] || { echo "release: no version in project() of $commit" >&2; exit 1; }
if [ "$commit" = "$(git rev-parse HEAD)" ] && [ -n "$(git status --porcelain)" ]; then
  echo "release: the working tree has changes that are not committed; they are left out" >&2
fi

name=tolka-$version
mkdir -p "$out"
# tar.umask and autocrlf would otherwise follow the user's configuration.
git -c tar.umask=0022 -c core.autocrlf=false archive --format=tar --prefix="$name/" "$commit" |
  xz -9 --threads=1 >"$out/$name.tar.xz.partial"
mv "$out/$name.tar.xz.partial" "$out/$name.tar.xz"
(cd "$out" && sha256sum "$name.tar.xz" >"$name.tar.xz.sha256")
echo "$out/$name.tar.xz"
echo "$out/$name.tar.xz.sha256: $(cut -d' ' -f1 "$out/$name.tar.xz.sha256")"
