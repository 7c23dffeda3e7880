#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Proves the Debian package on a fresh, minimal Debian 12, in a chroot made
# by debootstrap (minbase, bookworm, from this machine's own apt mirror); the
# base system is built once and kept in /var/tmp/tolka-check-package/base.
# Run by hand, as root, from anywhere:
#   bash scripts/check-package.sh [tolka_<version>_<arch>.deb]
#     installs the package with apt-get, checks that the programs run and
#     find their libraries, catalogues and icon under /usr, purges it and
#     checks that none of its files is left (scripts/check-package-inside.sh,
#     in the chroot). Without a package, it builds one into build-package/
#     with cpack, as the README says.
#   bash scripts/check-package.sh --source
#     makes the release tarball twice (the same bytes), then in the chroot
#     builds the source package of packaging/debian from it, runs lintian
#     and the autopkgtest tests, and builds again to compare the .deb
#     (scripts/check-source-package-inside.sh). The results stay in
#     build-source-package/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ "$(id -u)" = 0 ] || { echo "check-package: run as root (debootstrap, chroot)" >&2; exit 2; }
ensure_packages debootstrap devscripts

# hardening_check DEB: hardening-check says "yes" for PIE, the stack
# protector, read-only relocations and immediate binding of each program of
# the package; false otherwise.
hardening_check() {
  local dir program ok=0
  dir=$(mktemp -d)
  dpkg-deb -x "$1" "$dir"
  for program in "$dir"/usr/bin/*; do
    if hardening-check --nofortify --nocfprotection "$program" >"$dir/report"; then
      echo "ok: hardening-check $(basename "$program"): PIE, stack protector, RELRO, BIND_NOW"
    else
      echo "FAIL: hardening-check $(basename "$program"):"
      grep -v ': yes' "$dir/report"
      ok=1
    fi
  done
  rm -rf "$dir"
  return "$ok"
}

MODE=binary
if [ "${1:-}" = --source ]; then
  MODE=source
  RESULTS=$TOLKA_ROOT/build-source-package
  rm -rf "$RESULTS"
  mkdir -p "$RESULTS"
  bash "$TOLKA_ROOT/scripts/release.sh" --output "$RESULTS/release" >/dev/null
  bash "$TOLKA_ROOT/scripts/release.sh" --output "$RESULTS/release-again" >/dev/null
  TARBALL=$(ls "$RESULTS"/release/tolka-*.tar.xz)
  if cmp -s "$TARBALL" "$RESULTS/release-again/$(basename "$TARBALL")"; then
    echo "ok: release tarball reproducible: $(cat "$TARBALL.sha256")"
    rm -rf "$RESULTS/release-again"
  else
    echo "check-package: FAIL: two runs of release.sh gave different tarballs" >&2
    exit 1
  fi
elif [ $# -ge 1 ]; then
  DEB=$(realpath "$1")
else
  ensure_packages "${BUILD_PACKAGES[@]}"
  build_tree "$TOLKA_ROOT/build-package" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=Release \
    -DTOLKA_BUILD_TESTS=OFF -DTOLKA_BUILD_BENCH=OFF
  rm -f "$TOLKA_ROOT"/build-package/tolka_*.deb
  (cd "$TOLKA_ROOT/build-package" && cpack -G DEB)
  DEB=$(ls "$TOLKA_ROOT"/build-package/tolka_*.deb)
fi
[ "$MODE" = source ] || [ -f "$DEB" ] || { echo "check-package: no package $DEB" >&2; exit 2; }

CACHE=/var/tmp/tolka-check-package
BASE=$CACHE/base
mkdir -p "$CACHE"
if [ ! -x "$BASE/bin/bash" ]; then
  # The mirror this machine's own apt uses (deb822 sources first).
  MIRROR=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null \
           | grep -v security | head -1 || true)
  [ -n "$MIRROR" ] || MIRROR=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list \
                               2>/dev/null || true)
  [ -n "$MIRROR" ] || { echo "check-package: no Debian mirror in the apt sources" >&2; exit 2; }
  echo "Building a minimal Debian 12 once, from $MIRROR (a few minutes)..."
  rm -rf --one-file-system "$BASE.partial"
  if ! debootstrap --variant=minbase bookworm "$BASE.partial" "$MIRROR" \
       >"$CACHE/debootstrap.log" 2>&1; then
    echo "check-package: debootstrap failed, see $CACHE/debootstrap.log" >&2
    rm -rf --one-file-system "$BASE.partial"
    exit 2
  fi
  mv "$BASE.partial" "$BASE"
fi

ROOT=$(mktemp -d "$CACHE/run.XXXXXX")
cleanup() {
  umount "$ROOT/proc" 2>/dev/null || true
  # Only once nothing is mounted inside any more.
  mountpoint -q "$ROOT/proc" || rm -rf --one-file-system "$ROOT"
}
trap cleanup EXIT
cp -a "$BASE/." "$ROOT/"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
mount -t proc proc "$ROOT/proc"

SECONDS=0
rc=0
if [ "$MODE" = source ]; then
  cp "$TARBALL" "$TOLKA_ROOT/scripts/check-source-package-inside.sh" "$ROOT/tmp/"
  echo "Building the source package of $(basename "$TARBALL") on a fresh minimal Debian 12 in $ROOT"
  chroot "$ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    /bin/bash /tmp/check-source-package-inside.sh "/tmp/$(basename "$TARBALL")" || rc=$?
  cp -a "$ROOT/results/." "$RESULTS/" 2>/dev/null || true
  DEB=$(ls "$RESULTS"/tolka_*.deb 2>/dev/null | head -1)
  if [ -n "$DEB" ]; then hardening_check "$DEB" || rc=1; fi
  for made in "$RESULTS"/*.dsc "$RESULTS"/*.changes "$RESULTS"/tolka_*.deb; do
    [ -f "$made" ] && echo "made: $made"
  done
  echo "made: $TARBALL"
else
  cp "$DEB" "$TOLKA_ROOT/scripts/check-package-inside.sh" "$ROOT/tmp/"
  echo "Checking $(basename "$DEB") on a fresh minimal Debian 12 in $ROOT"
  chroot "$ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    /bin/bash /tmp/check-package-inside.sh "/tmp/$(basename "$DEB")" || rc=$?
  hardening_check "$DEB" || rc=1
fi
if [ "$rc" = 0 ]; then
  echo "check-package: PASS after ${SECONDS}s"
else
  echo "check-package: FAIL (exit $rc) after ${SECONDS}s"
fi
exit "$rc"
