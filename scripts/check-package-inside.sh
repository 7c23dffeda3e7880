#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs inside the fresh chroot that scripts/check-package.sh makes (not by
# hand elsewhere: it installs and purges packages). Argument: the .deb.
# Installs it as a user would, checks the programs, purges it, and checks
# that nothing of it is left. Every check that fails is named; exit 1 then.
set -euo pipefail
DEB=$1
export DEBIAN_FRONTEND=noninteractive
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

apt-get update -qq
# What a user types: dependencies come from the archive, with their
# recommended packages, as apt gives them by default.
apt-get install -y -qq "$DEB" >/tmp/install.log 2>&1 \
  || { cat /tmp/install.log; echo "FAIL: apt-get install $DEB"; exit 1; }
dpkg-query -W -f='${Status}' tolka | grep -q 'install ok installed' \
  && pass "apt-get install $(basename "$DEB") ($(dpkg-query -W -f='${Depends}' tolka))" \
  || fail "tolka is not installed"

mapfile -t files < <(dpkg -L tolka | grep -vx '/\.')
for program in $(printf '%s\n' "${files[@]}" | grep '^/usr/bin/'); do
  if ldd "$program" | grep -q 'not found'; then
    fail "$program lacks libraries: $(ldd "$program" | grep 'not found' | tr -s ' \t\n' ' ')"
  else
    pass "$program finds every library"
  fi
done

if [ -x /usr/bin/tolka-cli ]; then
  out=$(tolka-cli encode 48.81056 2.28722) || true
  [ "$out" = JN18DTKK78 ] && pass "tolka-cli encode 48.81056 2.28722 prints $out" \
    || fail "tolka-cli encode 48.81056 2.28722 printed '$out', not JN18DTKK78"
  # The geodesic comes from GeographicLib's shared library, which Depends
  # must have brought in.
  out=$(tolka-cli distance --iaru JN18DT FN30AS) || true
  want="5843.579 291.86 34189.475 111.86 5828.16 5829"
  [ "$out" = "$want" ] && pass "tolka-cli distance --iaru JN18DT FN30AS prints $out" \
    || fail "tolka-cli distance --iaru JN18DT FN30AS printed '$out', not $want"
else
  echo "skipped: this package holds no tolka-cli"
fi

# The window on a private X server, traced: it must still be running after a
# few seconds (so it started), and must have opened its English catalogue
# (LANGUAGE needs a locale other than C: C.UTF-8 is built in) and its icon
# from /usr.
apt-get install -y -qq --no-install-recommends xvfb strace >/tmp/tools.log 2>&1 \
  || { cat /tmp/tools.log; echo "FAIL: installing xvfb and strace"; exit 1; }
rm -f /tmp/display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display >/tmp/xvfb.log 2>&1 &
XVFB_PID=$!
trap 'kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s /tmp/display ] && break; sleep 0.1; done
[ -s /tmp/display ] || { cat /tmp/xvfb.log; echo "FAIL: Xvfb did not start"; exit 1; }
status=0
DISPLAY=":$(head -1 /tmp/display)" LANGUAGE=en LC_ALL=C.UTF-8 \
  strace -f -e trace=openat -o /tmp/tolka.trace timeout 5 tolka >/tmp/tolka.log 2>&1 || status=$?
[ "$status" = 124 ] && pass "tolka was still running after 5 s" \
  || { cat /tmp/tolka.log; fail "tolka ended with status $status before 5 s"; }
opened() { grep -m1 -E "openat\(AT_FDCWD, \"$1\", [^)]*\) = [0-9]+" /tmp/tolka.trace || true; }
catalogue=$(opened '/usr/share/locale/en/LC_MESSAGES/locx\.mo')
[ -n "$catalogue" ] && pass "tolka opened its catalogue: $catalogue" \
  || fail "tolka did not open /usr/share/locale/en/LC_MESSAGES/locx.mo"
icon=$(opened '/usr/share/icons/hicolor/[^"]*/apps/tolka\.(png|svg)')
[ -n "$icon" ] && pass "tolka opened its icon: $icon" || fail "tolka did not open its icon"

apt-get purge -y -qq tolka >/tmp/purge.log 2>&1 || { cat /tmp/purge.log; fail "apt-get purge tolka"; }
dpkg-query -W -f='${Status}' tolka 2>/dev/null | grep -q 'installed' \
  && fail "tolka is still known to dpkg after purge" || pass "apt-get purge tolka"
left=0
for path in "${files[@]}"; do
  if [ -d "$path" ]; then
    # A directory may stay where another package owns it too.
    dpkg -S "$path" >/dev/null 2>&1 || { fail "left behind: $path/"; left=1; }
  elif [ -e "$path" ] || [ -L "$path" ]; then
    fail "left behind: $path"; left=1
  fi
done
[ "$left" = 0 ] && pass "none of the package's ${#files[@]} paths is left behind"

echo "$failures check(s) failed"
[ "$failures" = 0 ]
