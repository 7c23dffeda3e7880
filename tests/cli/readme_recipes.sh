#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The README's pipelines that paste tolka-cli's results beside their input,
# run as written on files with CRLF line ends: the rows come out whole, with
# no carriage return left inside them. readme_recipes.sh PROGRAM README
set -euo pipefail
cli=$(realpath "$1")
readme=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir bin
ln -s "$cli" bin/tolka-cli
export PATH="$work/bin:$PATH"
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# The README's indented command lines that use paste: a line ending in | is
# joined to the next, and the prompt is dropped.
mapfile -t recipes < <(awk '/^    / { line = line substr($0, 5); if (line ~ /\|$/) next
                                       if (line ~ /paste/) print line }
                            { line = "" }' "$readme" | sed 's/^\$ //')
[ "${#recipes[@]}" = 2 ] || fail "${#recipes[@]} paste recipes in the README, not 2"

printf 'name,call,lat,lon\r\nParis,F1AAA,48.81056,2.28722\r\nSydney,VK2AAA,-33.8688,151.2093\r\n' \
  >stations.csv
printf 'FN30AS\r\nJN18DT\r\n' >locators.txt
for recipe in "${recipes[@]}"; do
  # The header line is refused: exit status 1.
  bash -c "$recipe" >stdout 2>/dev/null || true
  case $recipe in
  *stations.csv*)
    out=$(cat stations-with-locators.csv)
    want=$'name,call,lat,lon,\nParis,F1AAA,48.81056,2.28722,JN18DT\nSydney,VK2AAA,-33.8688,151.2093,QF56OD'
    ;;
  *locators.txt*)
    out=$(cat stdout)
    want=$'FN30AS 5843.579 291.86 34189.475 111.86 5828.16 5829\nJN18DT 0.000 180.00 40007.863 0.00 0.00 1'
    ;;
  *) fail "a recipe this test does not know: $recipe"; continue ;;
  esac
  [ "$out" = "$want" ] || fail "$recipe gave: $(printf '%s' "$out" | od -c | head -5)"
done

[ "$failures" = 0 ] && echo "README recipes: all passed"
[ "$failures" = 0 ]
