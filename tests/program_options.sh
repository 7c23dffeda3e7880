#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka --help and --version answer without a display and open no window;
# an unknown option, an operand or a failed write is an error; both are
# written in the locale's own encoding.
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
# A usage error names what was wrong and gives the usage; the window takes
# no operand, which it would otherwise ignore.
for args in --no-such-option extra-argument; do
  err=$("$tolka" $args 2>&1 >/dev/null); rc=$?
  [ $rc = 2 ] && grep -q -- "$args" <<<"$err" && grep -q "tolka \[OPTION" <<<"$err" ||
    fail "tolka $args exited $rc: $err"
done
# Answers in the locale's own encoding: "degrés" of the summary in Latin-1
# bytes for a Latin-1 terminal, in UTF-8 for a UTF-8 one.
latin1=$(LC_ALL=fr_FR.ISO-8859-1 "$tolka" --help | LC_ALL=C od -An -tx1 | tr -d ' \n')
[[ $latin1 == *64656772e973* && $latin1 != *c3a9* ]] ||
  fail "--help under fr_FR.ISO-8859-1 is not Latin-1"
utf8=$(LC_ALL=fr_FR.UTF-8 "$tolka" --help | LC_ALL=C od -An -tx1 | tr -d ' \n')
[[ $utf8 == *64656772c3a973* ]] || fail "--help under fr_FR.UTF-8 is not UTF-8"
err=$("$tolka" --version 2>&1 >/dev/full); rc=$?
[ $rc = 1 ] && [ -n "$err" ] || fail "--version to a full disk exited $rc with '$err'"
# The C library's messages are French with the rest, the toolkit's start
# over: its catalogue is kept away only while the toolkit prepares.
err=$(env -u LANGUAGE LC_ALL=C.UTF-8 "$tolka" --version 2>&1 >/dev/full)
[ "$err" = "tolka: Aucun espace disponible sur le périphérique" ] ||
  fail "the C library's message is not French: '$err'"
exit $status
