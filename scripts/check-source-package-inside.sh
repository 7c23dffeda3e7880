#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs inside the fresh chroot that `scripts/check-package.sh --source`
# makes (not by hand elsewhere: it installs packages). Argument: the release
# tarball tolka-<version>.tar.xz. Unpacks it with its debian directory
# (packaging/debian), installs the build dependencies that debian/control
# names and nothing else, builds the source and binary packages with
# dpkg-buildpackage, runs lintian on the .changes and the autopkgtest tests
# on the built package, then builds the binary package again from the .dsc
# elsewhere and compares the two .deb. Results land in /results; every check
# that fails is named, exit 1 then.
set -euo pipefail
TARBALL=$1
export DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# run LOG COMMAND...: the command's output goes to /results/LOG, and is shown
# when it fails.
run() {
  local log=/results/$1
  shift
  "$@" >"$log" 2>&1 || { tail -n 40 "$log"; echo "(whole log: $log)"; return 1; }
}

mkdir -p /results /build/first /build/second
name=$(basename "$TARBALL" .tar.xz)          # tolka-1.0
version=${name#tolka-}
orig=tolka_$version.orig.tar.xz
run apt-update.log apt-get update
# xz unpacks the tarball (dpkg-dev, which the build brings, needs it too).
run apt-xz.log apt-get install -y --no-install-recommends xz-utils
cp "$TARBALL" "/build/first/$orig"
cd /build/first
tar -xf "$orig"
[ -d "$name/packaging/debian" ] || { echo "FAIL: $TARBALL holds no packaging/debian"; exit 1; }
cp -a "$name/packaging/debian" "$name/debian"

# Only what debian/control asks (apt adds build-essential, which Debian
# assumes); a build dependency missing from it makes the build fail.
run build-dep.log apt-get build-dep -y "./$name" \
  && pass "build dependencies from debian/control installed" \
  || { echo "FAIL: apt-get build-dep"; exit 1; }

SOURCE_DATE_EPOCH=$(cd "$name" && dpkg-parsechangelog -STimestamp)
export SOURCE_DATE_EPOCH
debversion=$(cd "$name" && dpkg-parsechangelog -SVersion)
arch=$(dpkg --print-architecture)
echo "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH (from debian/changelog, $debversion)"

if (cd "$name" && run dpkg-buildpackage-1.log dpkg-buildpackage -us -uc -j2); then
  pass "dpkg-buildpackage -us -uc in /build/first/$name"
else
  echo "FAIL: dpkg-buildpackage"
  exit 1
fi
changes=tolka_${debversion}_$arch.changes
deb=tolka_${debversion}_$arch.deb
# The upload: the .changes and every file it lists (the debug symbols too).
cp "$changes" $(awk '/^Files:/ { f = 1; next } /^[^ ]/ { f = 0 } f { print $5 }' "$changes") \
  /results/

# lintian, as a reviewer runs it: no error, no warning. The one exception:
# an initial upload closes its ITP bug, whose number exists only once a
# Debian developer files it.
run apt-lintian.log apt-get install -y --no-install-recommends lintian
if run lintian.log lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs \
   "$changes"; then
  pass "lintian $changes: no error, no warning"
else
  fail "lintian $changes"
fi
cat /results/lintian.log

# The tests of debian/tests on the package just built, installed here.
run apt-autopkgtest.log apt-get install -y --no-install-recommends autopkgtest
status=0
autopkgtest --output-dir /results/autopkgtest "$deb" "$name/" -- null \
  >/results/autopkgtest.log 2>&1 || status=$?
sed -n '/@@@@ summary$/,$p' /results/autopkgtest.log | grep -E '^[^ ]+ +(PASS|FAIL|SKIP|FLAKY)'
[ "$status" = 0 ] && pass "autopkgtest: every test passed" \
  || { tail -n 40 /results/autopkgtest.log; fail "autopkgtest (exit $status)"; }

# The same source package built again in another directory, from the .dsc
# as a distribution's builder unpacks it: the same bytes.
cp "tolka_$debversion.dsc" "tolka_$debversion.debian.tar.xz" "$orig" /build/second/
cd /build/second
run dpkg-source.log dpkg-source -x "tolka_$debversion.dsc" "$name-rebuilt"
if (cd "$name-rebuilt" && run dpkg-buildpackage-2.log dpkg-buildpackage -us -uc -b -j2); then
  for built in *.deb; do
    if cmp -s "/build/first/$built" "$built"; then
      pass "reproducible: $built built twice is identical ($(sha256sum <"$built" | cut -c1-16)...)"
    else
      cp "$built" "/results/second-$built"
      fail "not reproducible: $built differs between the two builds (/results/second-$built)"
    fi
  done
else
  fail "second dpkg-buildpackage"
fi

echo "$failures check(s) failed"
[ "$failures" = 0 ]
