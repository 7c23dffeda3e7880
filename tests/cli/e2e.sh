#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The built tolka-cli end to end, as a shell pipeline runs it: exit statuses,
# one output line per input line, messages on standard error naming the
# line, a very long line, negative numbers as operands, and a result shown
# before the next line is typed. e2e.sh PROGRAM GROUP
set -euo pipefail
cli=$1
group=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# check NAME STATUS STDOUT STDERR INPUT ARGUMENT...: runs the program on INPUT
# and compares its exit status and both outputs (STDERR: a pattern).
check() {
  local name=$1 want_status=$2 want_out=$3 want_err=$4 input=$5 status=0
  shift 5
  # Input from a process substitution: a program that reads none of it and
  # ends first must not fail the check through printf's broken pipe.
  "$cli" "$@" < <(printf '%b' "$input") >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = "$want_status" ] || fail "$name: exit status $status, expected $want_status"
  [ "$(cat "$work/out"; echo .)" = "$(printf '%b' "$want_out"; echo .)" ] ||
    fail "$name: standard output was '$(cat "$work/out")'"
  # shellcheck disable=SC2053
  [[ "$(cat "$work/err")" == $want_err ]] || fail "$name: standard error was '$(cat "$work/err")'"
}

case $group in
statuses)
  check "every line converted" 0 'JN18DTKK78\n\nRR99XXXX99\n' '' '48.81056 2.28722\n\n90 180\n' encode
  check "a line refused" 1 'JN18\n\n' 'tolka-cli: line 2: latitude 91 is out of range (-90 to 90)' \
    '48 2\n91 0\n' encode --precision 4
  check "unknown command" 2 '' 'tolka-cli: unknown command transmogrify'$'\n''Usage: *' '' transmogrify
  check "precision 3" 2 '' 'tolka-cli: precision 3 is not 2, 4, 6, 8 or 10'$'\n''Usage: *' '' \
    encode --precision 3
  status=0
  "$cli" encode </ >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 1 ] || fail "a read error: exit status $status"
  grep -q '^tolka-cli: cannot read the input: ' "$work/err" || fail "a read error: $(cat "$work/err")"
  # Standard output and error on one file (2>&1): each message in its place.
  printf '48 2\n91 0\n48 2\n' | "$cli" encode --precision 2 >"$work/both" 2>&1 || true
  [ "$(cat "$work/both")" = "JN"$'\n\n'"tolka-cli: line 2: latitude 91 is out of range (-90 to 90)"$'\n'"JN" ] ||
    fail "2>&1: $(cat "$work/both")"
  "$cli" --help >"$work/out" || fail "help: exit status $?"
  head -n 1 "$work/out" | grep -q '^Usage: tolka-cli encode' || fail "help: $(head -n 1 "$work/out")"
  status=0
  "$cli" --help >/dev/full 2>"$work/err" || status=$?
  [ "$status" = 1 ] && grep -q 'cannot write the output' "$work/err" ||
    fail "help on a full disk: exit status $status, '$(cat "$work/err")'"
  ;;
alignment)
  # Good, refused, blank and CRLF lines mixed: one output line for each, in
  # order, and one message for each refused line, naming it.
  : >"$work/in"
  for i in $(seq 1 3000); do
    case $((i % 5)) in
    0) printf '\n' ;;
    1) printf '%d.5 %d.25\r\n' $((i % 90)) $((i % 180)) ;;
    2) printf 'JN18\n' ;;
    3) printf '%d 0 0 S %d 30 0 W\n' $((i % 90)) $((i % 180)) ;;
    4) printf '  -%d,%d  \n' $((i % 90)) $((i % 180)) ;;
    esac
  done >"$work/in"
  status=0
  "$cli" encode --precision 6 <"$work/in" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 1 ] || fail "mixed input: exit status $status"
  [ "$(wc -l <"$work/out")" = 3000 ] || fail "mixed input: $(wc -l <"$work/out") output lines"
  [ "$(grep -c . "$work/out")" = 1800 ] || fail "mixed input: $(grep -c . "$work/out") results"
  [ "$(wc -l <"$work/err")" = 600 ] || fail "mixed input: $(wc -l <"$work/err") messages"
  [ "$(sed -n 2p "$work/err")" = "tolka-cli: line 7: JN18 is not a plain decimal number" ] ||
    fail "mixed input: second message '$(sed -n 2p "$work/err")'"
  # Each result is the one its own line gives alone.
  for n in 1 3 4 2999; do
    line=$(sed -n "${n}p" "$work/in" | tr -d '\r')
    [ "$(sed -n "${n}p" "$work/out")" = "$("$cli" encode --precision 6 -- $line)" ] ||
      fail "mixed input: line $n out of place"
  done
  # paste keeps the columns together: decoding the locators gives back the
  # corners of the cells that hold the positions.
  printf '48.81056 2.28722\n-33.8688 151.2093\n' | "$cli" encode | paste -d' ' - <(printf 'a\nb\n') \
    >"$work/pasted"
  [ "$(cat "$work/pasted")" = "JN18DTKK78 a"$'\n'"QF56ODMD25 b" ] || fail "paste: $(cat "$work/pasted")"
  ;;
operands)
  check "negative numbers" 0 'QF56ODMD25\n' '' '' encode -33.8688 151.2093
  check "negative numbers after options" 0 'QF56\n' '' '' encode --precision 4 -33.8688 -- 151.2093
  check "degrees, minutes, seconds" 0 'JN18DTKK78\n' '' '' encode 48°48\'38\"N 2°17\'14\"E
  check "each locator a line" 1 '48 2\n\n-34 150\n' \
    'tolka-cli: argument 2: character 1 of ZZ must be a letter A-R, not Z' '' decode jn18 ZZ QF56
  check "operands, not input" 0 '48.5 3\n' '' 'ignored\n' decode --centre JN18
  ;;
long-line)
  # A 200 MB line, refused without being stored: the resident memory stays
  # far below the line's size, and the lines around it are converted.
  mkfifo "$work/fifo"
  "$cli" encode <"$work/fifo" >"$work/out" 2>"$work/err" &
  pid=$!
  exec 3>"$work/fifo"
  printf '48 2\n' >&3
  head -c 200000000 /dev/zero | tr '\0' 7 >&3
  printf '\n-90 -180\n' >&3
  # Everything but the pipe's buffer has been read: the peak so far counts.
  peak=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  exec 3>&-
  status=0
  wait "$pid" || status=$?
  [ "$status" = 1 ] || fail "long line: exit status $status"
  [ "$peak" -lt 100000 ] || fail "long line: peak resident memory ${peak} kB"
  [ "$(cat "$work/out")" = "JN18AAAA00"$'\n'$'\n'"AA00AAAA00" ] || fail "long line: output $(cat "$work/out")"
  [ "$(cat "$work/err")" = "tolka-cli: line 2: the line is longer than 1024 bytes" ] ||
    fail "long line: $(cat "$work/err")"
  check "4 KiB line" 1 '\n' 'tolka-cli: line 1: the line is longer than 1024 bytes' \
    "$(head -c 4097 /dev/zero | tr '\0' 1)\n" decode
  ;;
interactive)
  # A result is written before the program waits for the next line.
  coproc CLI { "$cli" decode; }
  printf 'JN18\n' >&"${CLI[1]}"
  read -r -t 10 answer <&"${CLI[0]}" || answer="(nothing within 10 s)"
  [ "$answer" = "48 2" ] || fail "interactive: $answer"
  exec {CLI[1]}>&-
  wait "$CLI_PID" || fail "interactive: exit status $?"
  ;;
distance)
  # Exit statuses, the columns, units and the contest rule; identical and
  # polar points give numbers, never nan.
  paris_nyc='5843.579 291.86 34189.475 111.86'
  check "a pair" 0 "$paris_nyc\n" '' '' distance JN18DT FN30AS
  check "nautical miles" 0 '3155.280 291.86 18460.840 111.86\n' '' '' distance --unit nmi JN18DT fn30as
  check "contest rule" 0 "$paris_nyc 5828.16 5829\n" '' '' distance JN18DT --iaru FN30AS
  check "a square has no subsquare to score" 1 '\n' \
    'tolka-cli: JN18 is shorter than the 6 characters the contest rule needs' '' distance --iaru JN18 JN18DT
  check "same subsquare" 0 '0.391 56.55 40027.824 236.55 0.00 1\n' '' '' \
    distance --iaru 48.81056,2.28722 JN18DT
  check "identical points" 0 '0.000 180.00 24859.733 0.00\n' '' '' \
    distance --unit mi 48.81056,2.28722 48.81056,2.28722
  check "poles and date line" 0 \
    '0.000 60.00 40007.863 240.00\n20003.931 0.00 20003.931 180.00\n131.936 32.15 39883.806 212.15\n' \
    '' '90,0 90,120\n-90,0 90,0\n50,179.5 51,-179.5\n' distance
  messages="tolka-cli: line 1: only one point, JN18: a line holds two, FROM and TO
tolka-cli: line 4: more than two points in 48.8 2.3 FN30AS (a position is written \
LATITUDE,LONGITUDE, with no blank)"
  check "one point, three points" 1 "\n$paris_nyc\n\n\n" "$messages" \
    'JN18\nJN18DT FN30AS\n\n48.8 2.3 FN30AS\n' distance
  # One usage error here; the others and their messages are checked in memory.
  check "one operand" 2 '' \
    'tolka-cli: distance takes 2 operands, or none to read standard input'$'\n''Usage: *' '' distance JN18
  # Good, refused, blank and CRLF lines mixed: one output line for each, in
  # order, each the one its own line gives alone.
  for i in $(seq 1 2000); do
    case $((i % 5)) in
    0) printf '\n' ;;
    1) printf -- '-%d.5,%d.25 JN18DT\r\n' $((i % 90)) $((i % 180)) ;;
    2) printf 'FN30as RR%d9xx\n' $((i % 10)) ;;
    3) printf '%d,%d %d.5,-%d\n' $((i % 90)) $((i % 180)) $((i % 89)) $((i % 179)) ;;
    4) if ((i % 2)); then printf 'zz00 JN18\n'; else printf '\tjn%d8 \n' $((i % 10)); fi ;;
    esac
  done >"$work/in"
  status=0
  "$cli" distance --iaru <"$work/in" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 1 ] || fail "mixed pairs: exit status $status"
  [ "$(wc -l <"$work/out")" = 2000 ] || fail "mixed pairs: $(wc -l <"$work/out") output lines"
  [ "$(grep -c . "$work/out")" = 1200 ] || fail "mixed pairs: $(grep -c . "$work/out") results"
  [ "$(wc -l <"$work/err")" = 400 ] || fail "mixed pairs: $(wc -l <"$work/err") messages"
  [ "$(sed -n 1,2p "$work/err")" = "tolka-cli: line 4: only one point, jn48: a line holds two, FROM and TO
tolka-cli: line 9: character 1 of zz00 must be a letter A-R, not z" ] ||
    fail "mixed pairs: first messages '$(sed -n 1,2p "$work/err")'"
  # Empty, or two distances and bearings, the contest kilometres and points.
  shape='^\(\([0-9]*\.[0-9]\{3\} [0-9]\{1,3\}\.[0-9][0-9] \)\{2\}[0-9]*\.[0-9][0-9] [0-9]*\)\?$'
  odd=$(grep -v "$shape" "$work/out" | head -n 1) || true
  [ -z "$odd" ] || fail "mixed pairs: a line out of shape: $odd"
  for n in 1 2 3 1998; do
    line=$(sed -n "${n}p" "$work/in" | tr -d '\r')
    # shellcheck disable=SC2086
    [ "$(sed -n "${n}p" "$work/out")" = "$("$cli" distance --iaru -- $line 2>/dev/null)" ] ||
      fail "mixed pairs: line $n out of place"
  done
  ;;
edi)
  # Logs read from files and standard input: one that agrees, one with a
  # wrong claim (its corrected log under --write is the first, byte for
  # byte), one missing; then a log by the rings rule, its hint under the
  # default rule, and a rules file refused.
  cd "$work"
  log='[REG1TEST;1]\r\nPWWLo=JN18DT\r\nCQSOP=%s\r\n[QSORecords;1]\r\n'
  log+='260905;1405;DL1ABC;1;59;001;59;012;;JO31LK;%s;;N;N;\r\n'
  # shellcheck disable=SC2059
  printf "$log" 443 443 >good.edi
  # shellcheck disable=SC2059
  printf "$log" 442 442 >bad.edi
  summary() {
    printf 'contacts 1, counted 1, duplicates 0, not counted 0; points claimed %s, by the rule 443; %s' \
      "$1" 'score 443; longest DL1ABC JO31LK 442 km'
  }
  good="good.edi: $(summary 443)"
  bad="bad.edi:5: DL1ABC JO31LK: claimed 442, the rule gives 443 (442.44 km)
bad.edi:3: CQSOP claims 442, the rule gives 443
bad.edi: $(summary 442)"
  missing='tolka-cli: cannot read missing.edi: No such file or directory'
  check "a log that agrees" 0 "$good\n" '' '' edi good.edi
  check "wrong claims" 1 "$bad\n" '' '' edi bad.edi
  check "a missing file" 1 '' "$missing" '' edi missing.edi
  check "a missing file beside a good log" 1 "$good\n" "$missing" '' edi good.edi missing.edi
  check "standard input" 0 "-: $(summary 443)\n" '' "$(cat good.edi)" edi -
  status=0
  "$cli" edi --write bad.edi >fixed.edi 2>report || status=$?
  [ "$status" = 1 ] || fail "--write: exit status $status"
  cmp -s fixed.edi good.edi || fail "--write: the corrected log is not good.edi: $(od -c fixed.edi)"
  [ "$(cat report)" = "$bad" ] || fail "--write: report '$(cat report)'"
  # From JO70FD: JO70GE in the own large square (2 points), JO60XX in the
  # next ring (3); squares JO70 and JO60: 5 x 2 = 10. By the kilometre rule
  # they are 7.53 and 99.17 km: 8 and 100 points.
  act='[REG1TEST;1]\nPWWLo=JO70FD\nTDate=20260118\nCQSOP=%s\nCWWLs=2;0;1\nCToSc=%s\n'
  act+='[QSORecords;2]\n260118;0800;OK1XYZ;1;59;001;59;001;;JO70GE;%s;;;;\n'
  act+='260118;0815;DL0ABC/P;1;59;002;59;002;;JO60XX;%s;;;;\n'
  # shellcheck disable=SC2059
  printf "$act" 5 10 2 3 >act.edi
  # shellcheck disable=SC2059
  printf "$act" 5 10 8 100 >km.edi
  printf 'name = "rings"\npoints = "rings"\nsquare_multiplier = true\n' >rings.toml
  printf 'name = "x"\npoints = "km"\nsquare_bonus = "ten"\n' >bad.toml
  okpa='act.edi: contacts 2, counted 2, duplicates 0, not counted 0; points claimed 5, by the rule 5; score 10 (2 squares); longest DL0ABC/P JO60XX 99 km'
  check "--rules okpa" 0 "$okpa\n" '' '' edi --rules okpa act.edi
  check "a rules file" 0 "$okpa\n" '' '' edi --rules=rings.toml act.edi
  status=0
  "$cli" edi act.edi >out 2>&1 || status=$?
  [ "$status" = 1 ] && [ "$(tail -n 1 out)" = \
    'act.edi: the claimed points follow okpa on 2 of 2 contacts: --rules okpa?' ] ||
    fail "the hint: exit status $status, '$(cat out)'"
  status=0
  "$cli" edi --rules okpa --write km.edi >fixed.edi 2>report || status=$?
  [ "$status" = 1 ] && cmp -s fixed.edi act.edi ||
    fail "--rules okpa --write: exit status $status, $(od -c fixed.edi | head -n 3)"
  [ "$(tail -n 1 report)" = 'km.edi: the claimed points follow iaru on 2 of 2 contacts: --rules iaru?' ] ||
    fail "--rules okpa --write: report '$(cat report)'"
  check "a rules file refused" 2 '' 'tolka-cli: bad.toml:3: square_bonus must be a whole number' \
    '' edi --rules bad.toml act.edi
  check "no such rules" 2 '' \
    'tolka-cli: nothere: not a built-in rule (iaru, okpa), and cannot read the file: No such file or directory' \
    '' edi --rules nothere act.edi
  ;;
adif)
  # A file operand, standard input, a missing file or a directory, --check, a usage
  # error.
  log='<CALL:4>W1AW <GRIDSQUARE:4>FN31 <EOR>\r\n'
  printf '%b' "$log" >"$work/log.adi"
  check "a file" 0 '<CALL:4>W1AW <GRIDSQUARE:4>FN31 <DISTANCE:6>5731.0 <EOR>\r\n' '' '' \
    adif --from JN18DT "$work/log.adi"
  check "standard input" 0 "$log" '' "$log" adif
  check "a missing file" 1 '' "tolka-cli: cannot open $work/none.adi: *" '' adif "$work/none.adi"
  check "a directory" 1 '' "tolka-cli: cannot read $work: Is a directory" '' adif "$work"
  # --replace mends a locator that does not hold the position, and says so.
  check "--replace of a wrong locator" 1 \
    '<CALL:4>W1AW <GRIDSQUARE:6>JN18DT <LAT:11>N048 48.633 <LON:11>E002 17.233 <EOR>\n' \
    'tolka-cli: record 1 (W1AW): GRIDSQUARE JN18EU does not hold LAT N048 48.633 LON E002 17.233: replaced with JN18DT' \
    '<CALL:4>W1AW <GRIDSQUARE:6>JN18EU <LAT:11>N048 48.633 <LON:11>E002 17.233 <EOR>\n' \
    adif --replace
  check "check" 0 '' 'tolka-cli: records read: 1, locators filled: 0, distances filled: 1, problems: 0' \
    "$log" adif --check --from jn18dt
  check "a bad --from" 2 '' 'tolka-cli: --from JN18D is not a locator or LATITUDE,LONGITUDE'$'\n''Usage: *' \
    '' adif --from JN18D
  ;;
*)
  echo "unknown group $group"
  exit 2
  ;;
esac

[ "$failures" = 0 ] && echo "$group: all passed"
[ "$failures" = 0 ]
