#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka-cli follow on a recorded track (track.nmea: two sentences or more a
# second, crossing square edges, losing its fix and finding it again, then
# jumping to other hemispheres), from standard input and through the real
# gpsd that gpsfake replays it to. follow.sh PROGRAM GROUP
set -euo pipefail
cli=$1
group=$2
track=$(dirname "$0")/track.nmea
work=$(mktemp -d)
gpsfake_pid=
# Ends gpsfake: SIGINT makes it end its gpsd too; if it has not gone by the
# deadline, its children (the gpsd) and then it are killed by their ids.
stop_gpsfake() {
  local pid=$gpsfake_pid deadline=$((SECONDS + 10)) children
  gpsfake_pid=
  kill -INT "$pid" 2>/dev/null || return 0
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    children=$(ps -o pid= --ppid "$pid" || true)
    [ -z "$children" ] || kill -KILL $children 2>/dev/null || true
    kill -KILL "$pid" 2>/dev/null || true
  fi
  wait "$pid" 2>/dev/null || true
}
cleanup() {
  [ -z "$gpsfake_pid" ] || stop_gpsfake
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# The cells of the track's fixes (worked out from their degrees and minutes
# by hand), each at the first fix inside it.
expected='JN18DT 2026-12-07T10:15:00Z 48.810500 2.286667
JN18ET 2026-12-07T10:15:02.5Z 48.810500 2.335000
JN18EU 2026-12-07T10:15:04Z 48.835000 2.350000
JN18FU 2026-12-07T10:15:09Z 48.835000 2.416683
QF56OD 2026-12-07T10:15:10Z -33.868833 151.209167
FN20XR 2026-12-07T10:15:11Z 40.712833 -74.006000'
lost_and_back='tolka-cli: the fix is lost
tolka-cli: the fix is back'

# poll SECONDS COMMAND...: until the command succeeds, or false at the deadline.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

case $group in
stdin)
  status=0
  "$cli" follow - <"$track" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 0 ] || fail "exit status $status"
  [ "$(cat "$work/out")" = "$expected" ] || fail "standard input gave: $(cat "$work/out")"
  [ "$(cat "$work/err")" = "$lost_and_back" ] || fail "messages: $(cat "$work/err")"
  "$cli" follow --every - <"$track" >"$work/every" 2>/dev/null
  [ "$(wc -l <"$work/every")" = 10 ] || fail "--every: $(cat "$work/every")" # the fixes of ten seconds
  status=0
  "$cli" follow --gpsd 127.0.0.1:1 >/dev/null 2>"$work/err" || status=$?
  [ "$status" = 1 ] &&
    [ "$(cat "$work/err")" = 'tolka-cli: cannot reach gpsd at 127.0.0.1:1: nothing accepts connections there' ] ||
    fail "no gpsd: status $status, $(cat "$work/err")"
  status=0
  "$cli" follow --gpsd localhost - </dev/null 2>/dev/null || status=$?
  [ "$status" = 2 ] || fail "gpsd and standard input both: exit status $status"
  ;;
gpsd)
  export PATH=$PATH:/usr/sbin # where gpsfake finds gpsd
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  # -i: each sentence waits for a line on gpsfake's input, so that nothing is
  # fed before both followers watch; -D 4 logs their watch requests.
  mkfifo "$work/feed"
  gpsfake -1 -l -i -D 4 -P "$port" "$track" <"$work/feed" >/dev/null 2>"$work/gpsd.log" &
  gpsfake_pid=$!
  exec 3>"$work/feed"
  poll 30 grep -q "listening on port $port" "$work/gpsd.log" || fail "gpsd did not start"
  "$cli" follow --gpsd "127.0.0.1:$port" >"$work/out" 2>"$work/err" &
  follower=$!
  "$cli" follow --every --gpsd "127.0.0.1:$port" >"$work/every" 2>/dev/null &
  every=$!
  watching() { [ "$(grep -c '?WATCH' "$work/gpsd.log")" -ge 2 ] && grep -q 'activated GPS' "$work/gpsd.log"; }
  poll 30 watching || fail "the followers did not connect"
  for _ in $(seq "$(grep -c . "$track")"); do echo >&3; done
  poll 30 grep -q FN20XR "$work/out" || fail "gpsd gave no last fix"
  poll 10 grep -q FN20XR "$work/every" || true
  exec 3>&-
  stop_gpsfake
  status=0
  wait "$follower" || status=$?
  [ "$status" = 1 ] || fail "gpsd going away: exit status $status"
  wait "$every" || true
  [ "$(cat "$work/out")" = "$expected" ] || fail "gpsd gave: $(cat "$work/out")"
  printf '%s\n%s\n' "$lost_and_back" "tolka-cli: gpsd at 127.0.0.1:$port went away" >"$work/want"
  diff "$work/want" "$work/err" >&2 || fail "messages differ"
  "$cli" follow --every - <"$track" 2>/dev/null | diff - "$work/every" >&2 ||
    fail "--every: gpsd and standard input differ"
  ;;
*)
  echo "unknown group $group" >&2
  exit 2
  ;;
esac
if [ "$failures" != 0 ] && [ -f "$work/gpsd.log" ]; then
  echo "the end of gpsfake's log:"
  tail -n 40 "$work/gpsd.log"
fi
[ "$failures" = 0 ]
