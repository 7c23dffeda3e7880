#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka-cli contest on the made contest of LOGS beside logs it cannot use (a
# letter, a band that is no contest band, a file that is not there): the
# messages, the status, the table, the report files, and the map as GDAL
# reads it. contest.sh PROGRAM LOGS
set -euo pipefail
cli=$1
cd "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=1; }

status=0
"$cli" contest --reports "$work/reports" --geojson "$work/map.geojsons" \
  a.edi letter.edi b.edi c.edi d.edi cb.edi e.edi f.edi g.edi missing.edi h.edi \
  >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "status $status, not 1"
for want in "tolka-cli: letter.edi: no PCall, the station's call; the log is left out" \
  "tolka-cli: cb.edi:7: PBand 27 MHz is in no contest band; the log is left out" \
  "tolka-cli: cannot read missing.edi: No such file or directory" \
  "tolka-cli: d.edi:13: "; do
  grep -qF -- "$want" "$work/err" || fail "no '$want' in the messages:"$'\n'"$(cat "$work/err")"
done
[ "$(wc -l <"$work/err")" = 4 ] || fail "not 4 messages:"$'\n'"$(cat "$work/err")"
# Eight logs used: a header and a row each, in rank order within each band.
[ "$(awk '{ print $1 $2, $3 }' "$work/out" | tr '\n' ' ')" = \
  "bandrank call 144MHz 1 144MHz 2 144MHz 3 144MHz 4 144MHz 5 432MHz 1 432MHz 1 432MHz 3 " ] ||
  fail "not the rows expected:"$'\n'"$(cat "$work/out")"

# A report for each log used, by station and band.
[ "$(cd "$work/reports" && ls | tr '\n' ' ')" = "DL1AAA-144MHz.txt DL1AAA-432MHz.txt \
OK1BBB-144MHz.txt OK1BBB-432MHz.txt OM3EEE-144MHz.txt PA3DDD-144MHz.txt SP2CCC-144MHz.txt \
SP2CCC-432MHz.txt " ] || fail "not the report files expected: $(ls "$work/reports")"
cat >"$work/OM3EEE" <<'EOF'
e.edi:10: DL1AAA JO31LK: not in the log of DL1AAA
e.edi: OM3EEE on 144 MHz: rank 3 of 5, score 223 (points 223, squares 2)
e.edi: contacts 2: confirmed 1, not in log 1
EOF
diff "$work/OM3EEE" "$work/reports/OM3EEE-144MHz.txt" || fail "OM3EEE's report differs"
# The line that could not be read is in its place.
cat >"$work/PA3DDD" <<'EOF'
d.edi:10: DL1AAA JO31LK: time beyond the tolerance: logged at 260905 1530, by DL1AAA at 260905 1500
d.edi:11: 9A2KKK JN75: invalid locator: JN75 is not a 6-character locator
d.edi:12: OK1BBB JO32LK: not in the log of OK1BBB
d.edi:13: a contact has its points in the 11th field, after 10 ';'
d.edi: PA3DDD on 144 MHz: rank 5 of 5, score 0 (points 0, squares 1)
d.edi: contacts 3: not in log 1, time beyond the tolerance 1, invalid locator 1
EOF
diff "$work/PA3DDD" "$work/reports/PA3DDD-144MHz.txt" || fail "PA3DDD's report differs"

# The map: a point a log, a line a contact with a valid locator (22).
ogrinfo -ro -so -al "$work/map.geojsons" >"$work/info"
for want in 'GeoJSONSeq' 'Feature Count: 30' \
  'Extent: (6.958333, 48.437500) - (10.041667, 54.437500)'; do
  grep -qF "$want" "$work/info" || fail "no '$want' in:"$'\n'"$(cat "$work/info")"
done
ogrinfo -ro -al -q "$work/map.geojsons" >"$work/features"
verdicts=$(grep -o 'verdict (String) = [a-z_]*' "$work/features" | sed 's/.* = //' | sort | uniq -c |
  awk '{ printf "%s %s ", $2, $1 }')
[ "$verdicts" = "busted_call 1 busted_locator 1 busted_number 1 busted_report 1 confirmed 7 \
duplicate 1 incomplete 1 not_in_log 3 outside 1 time 2 unverified 3 " ] ||
  fail "the lines' verdicts: $verdicts"
# OK1BBB to HB9XYZ, 445 km along the geodesic: a vertex at least every 50 km,
# from one locator's centre to the other's.
awk '/worked \(String\) = HB9XYZ$/ { w = 1 } /call \(String\) = OK1BBB$/ { c = 1 }
  /POINT|LINESTRING/ { if (/LINESTRING/ && w && c) print; w = c = 0 }' "$work/features" >"$work/line"
tr -d 'LINESTRING()' <"$work/line" | tr ',' '\n' | awk '
  { lon[NR] = $1; lat[NR] = $2 }
  function far(a, b) { return (a - b > 1e-9 || b - a > 1e-9) }
  END { if (NR < 10) print "only " NR " vertices"
    if (far(lon[1], 83.5 / 12) || far(lat[1], 52.4375) || far(lon[NR], 83.5 / 12) || far(lat[NR], 48.4375))
      print "from " lon[1] " " lat[1] " to " lon[NR] " " lat[NR] }' | grep . &&
  fail "the line to HB9XYZ: $(cat "$work/line")"

# The table as CSV, and a tighter tolerance making 10 minutes apart a time.
"$cli" contest --csv --tolerance 9 b.edi c.edi >"$work/csv"
[ "$(head -c 30 "$work/csv")" = "band,rank,call,locator,section" ] || fail "no CSV header"
[ "$(awk -F, 'NR > 1 { print $(NF - 8) }' "$work/csv" | tr '\n' ' ')" = "1 1 " ] ||
  fail "--tolerance 9: $(cat "$work/csv")"
# A band's factor names the band however the logs write it: 70cm is their
# "70cm", "435 MHZ" and "432", and not 144 MHz (DL1AAA alone there: all its
# contacts unverified). Rules that cannot be read stop the command.
printf 'name = "uhf"\npoints = "km"\n[band_factor]\n"70cm" = 3\n' >"$work/uhf.toml"
"$cli" contest --csv --rules "$work/uhf.toml" f.edi g.edi h.edi a.edi >"$work/csv" 2>&1 ||
  fail "with uhf.toml: $(cat "$work/csv")"
[ "$(awk -F, 'NR > 1 { print $1 ":" $(NF - 1) }' "$work/csv" | tr '\n' ' ')" = \
  "144 MHz:1116 432 MHz:336 432 MHz:336 432 MHz:0 " ] || fail "band factor: $(cat "$work/csv")"
status=0
printf 'name = "x"\npoints = "miles"\n' >"$work/bad.toml"
"$cli" contest --rules "$work/bad.toml" a.edi >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] && [ ! -s "$work/out" ] && grep -q "bad.toml:2: " "$work/err" ||
  fail "refused rules: status $status, $(cat "$work/err")"
exit $failures
