#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one end-to-end scenario of e2e.py against a built or installed program:
#   run-e2e.sh TOLKA close-button|window-manager|language-without-catalogue|french|english
# on a private X server and a private session bus. The accessibility bus and
# registry are started by D-Bus activation inside that session; the driver is
# the child of dbus-run-session, so the bus ends with the driver, and the
# whole session is checked to have ended before this script returns.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

if [ $# -ne 2 ]; then
  echo "usage: $0 TOLKA close-button|window-manager|language-without-catalogue|french|english" >&2
  exit 2
fi
tolka=$1
scenario=$2

SESSION_PID=
# Pids still running in the session led by SESSION_PID (D-Bus activation does
# not leave the session, so the bus launcher and registry are counted). A
# zombie has ended already; reaping it is its parent's business, or init's.
session_members() {
  ps -e -o pid=,sid=,stat= | awk -v sid="$SESSION_PID" '$2 == sid && $3 !~ /^Z/ { print $1 }'
}

cleanup() {
  local pid
  if [ -n "$SESSION_PID" ]; then
    for pid in $(session_members); do kill "$pid" 2>/dev/null || true; done
  fi
  stop_xvfb
}
trap cleanup EXIT

start_xvfb

# Nothing of the caller's desktop may leak in: the driver must reach only the
# buses of this session.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS NO_AT_BRIDGE GTK_MODULES
# Nor the caller's language: e2e.py gives the program the locale of its
# scenario, and the rest of the session runs in this one.
unset LANGUAGE
export LC_ALL=C.UTF-8
# In the sanitizer build, LeakSanitizer would fail the exit status over blocks
# that fontconfig, below the toolkit, keeps to the end once a window is drawn.
# This test is about behaviour; it leaves leaks to the in-process tests.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

# A background job of a non-interactive shell is no group leader, so setsid
# does not fork: $! is the session id.
setsid dbus-run-session -- /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/e2e.py" \
  "$tolka" "$scenario" &
SESSION_PID=$!
status=0
wait "$SESSION_PID" || status=$?

# The bus launcher and the registry notice the end of their bus on their own:
# give them a moment, then report and end any that stay.
deadline=$((SECONDS + 10))
while [ -n "$(session_members)" ] && [ $SECONDS -lt $deadline ]; do
  sleep 0.05
done
strays=$(session_members)
if [ -n "$strays" ]; then
  echo "processes left behind by the session:" >&2
  ps -o pid=,cmd= -p "$(paste -sd, <<<"$strays")" >&2 || true
  status=1
else
  echo "no process of the session is left"
fi
exit "$status"
