#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka --help and --version answer without a display and open no window;
# an unknown option or a failed write is an error.
set -uo pipefail
tolka=$1
status=0
fail() { echo "FAIL: $*"; status=1; }
unset DISPLAY

out=$("$tolka" --version) && [ "$out" = "tolka $2" ] || fail "--version printed '$out'"
out=$(LC_ALL=C "$tolka" --help) || fail "--help exited $?"
for option in --help --version --display --class; do
  grep -q -- "$option" <<<"$out" || fail "--help does not list $option"
done
err=$("$tolka" --no-such-option 2>&1 >/dev/null); rc=$?
[ $rc = 2 ] && grep -q "no-such-option" <<<"$err" || fail "an unknown option exited $rc: $err"
err=$("$tolka" --version 2>&1 >/dev/full); rc=$?
[ $rc = 1 ] && [ -n "$err" ] || fail "--version to a full disk exited $rc with '$err'"
# The C library's messages are French with the rest, the toolkit's start
# over: its catalogue is kept away only while the toolkit prepares.
err=$(env -u LANGUAGE LC_ALL=C.UTF-8 "$tolka" --version 2>&1 >/dev/full)
[ "$err" = "tolka: Aucun espace disponible sur le périphérique" ] ||
  fail "the C library's message is not French: '$err'"
exit $status
