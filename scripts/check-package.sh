#!/bin/bash
# Proves the Debian package on a fresh, minimal Debian 12: installs it with
# apt-get in a chroot made by debootstrap (minbase, bookworm, from this
# machine's own apt mirror), checks that the programs run and find their
# libraries, catalogues and icon under /usr, purges it and checks that none
# of its files is left (scripts/check-package-inside.sh, in the chroot).
# The base system is built once and kept in /var/tmp/tolka-check-package/base.
# Run by hand, as root, from anywhere:
#   bash scripts/check-package.sh [tolka_<version>_<arch>.deb]
# Without a package, it builds one into build-package/ as the README says.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ "$(id -u)" = 0 ] || { echo "check-package: run as root (debootstrap, chroot)" >&2; exit 2; }
ensure_packages debootstrap

if [ $# -ge 1 ]; then
  DEB=$(realpath "$1")
else
  ensure_packages "${BUILD_PACKAGES[@]}"
  build_tree "$TOLKA_ROOT/build-package" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=Release \
    -DTOLKA_BUILD_TESTS=OFF -DTOLKA_BUILD_BENCH=OFF
  rm -f "$TOLKA_ROOT"/build-package/tolka_*.deb
  (cd "$TOLKA_ROOT/build-package" && cpack -G DEB)
  DEB=$(ls "$TOLKA_ROOT"/build-package/tolka_*.deb)
fi
[ -f "$DEB" ] || { echo "check-package: no package $DEB" >&2; exit 2; }

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
cp "$DEB" "$ROOT/tmp/"
cp "$TOLKA_ROOT/scripts/check-package-inside.sh" "$ROOT/tmp/"
mount -t proc proc "$ROOT/proc"

echo "Checking $(basename "$DEB") on a fresh minimal Debian 12 in $ROOT"
SECONDS=0
rc=0
chroot "$ROOT" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  /bin/bash /tmp/check-package-inside.sh "/tmp/$(basename "$DEB")" || rc=$?
if [ "$rc" = 0 ]; then
  echo "check-package: PASS after ${SECONDS}s"
else
  echo "check-package: FAIL (exit $rc) after ${SECONDS}s"
fi
exit "$rc"
