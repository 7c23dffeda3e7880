#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs tolka-cli as installed into a scratch prefix (the one the window's
# end-to-end runs use): its files are in place, it finds its French catalogue
# from the prefix and speaks French under fr_FR.UTF-8, and its numbers keep
# the full stop. installed.sh PREFIX COMPLETIONS_DIR (relative to the prefix).
set -euo pipefail
prefix=$1
completions=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

locale -a | grep -qix 'fr_FR.utf8' || { echo "the locale fr_FR.UTF-8 is missing"; exit 1; }

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
for file in bin/tolka-cli share/man/man1/tolka-cli.1.gz share/locale/fr/LC_MESSAGES/tolka-cli.mo \
  "$completions/tolka-cli"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done

cli=$prefix/bin/tolka-cli
status=0
printf '48.81056 2.28722\n91 0\n' | LC_ALL=fr_FR.UTF-8 "$cli" encode >"$work/out" 2>"$work/err" ||
  status=$?
[ "$status" = 1 ] || fail "exit status $status"
[ "$(cat "$work/out"; echo .)" = "JN18DTKK78"$'\n\n.' ] || fail "output: $(cat "$work/out")"
[ "$(cat "$work/err")" = "tolka-cli: ligne 2 : la latitude 91 est hors limites (-90 à 90)" ] ||
  fail "French message: $(cat "$work/err")"

LC_ALL=fr_FR.UTF-8 "$cli" encode --precision 3 2>"$work/err" && fail "usage error accepted"
grep -q "^tolka-cli: la précision 3 n'est pas 2, 4, 6, 8 ou 10$" "$work/err" &&
  grep -q "^Usage : tolka-cli encode" "$work/err" || fail "French usage: $(cat "$work/err")"

# The decimal separator stays '.', in and out.
[ "$(LC_ALL=fr_FR.UTF-8 "$cli" decode --centre JN18DT)" = "48.8125 2.291666666667" ] ||
  fail "decimal separator: $(LC_ALL=fr_FR.UTF-8 "$cli" decode --centre JN18DT)"
[ "$(LC_ALL=C "$cli" encode 91 0 2>&1 >/dev/null)" = "tolka-cli: latitude 91 is out of range (-90 to 90)" ] ||
  fail "English under C: $(LC_ALL=C "$cli" encode 91 0 2>&1 >/dev/null)"

# distance: its numbers too, and its messages in French.
printf 'JN18DT FN30AS\nJN18\n' | LC_ALL=fr_FR.UTF-8 "$cli" distance >"$work/out" 2>"$work/err" || true
[ "$(cat "$work/out"; echo .)" = "5843.579 291.86 34189.475 111.86"$'\n\n.' ] ||
  fail "distance output: $(cat "$work/out")"
[ "$(cat "$work/err")" = "tolka-cli: ligne 2 : un seul point, JN18 : une ligne en porte deux, DÉPART et ARRIVÉE" ] ||
  fail "distance in French: $(cat "$work/err")"

# gpsd out of reach: our own words, not libgps's English.
LC_ALL=fr_FR.UTF-8 "$cli" follow --gpsd 127.0.0.1:1 >/dev/null 2>"$work/err" || true
[ "$(cat "$work/err")" = "tolka-cli: impossible de joindre gpsd à 127.0.0.1:1 : rien n'y accepte de connexion" ] ||
  fail "gpsd in French: $(cat "$work/err")"

[ "$failures" = 0 ] && echo "the installed tolka-cli speaks French from $prefix"
[ "$failures" = 0 ]
