#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every file that git tracks its licence header the REUSE way, in the
# comment syntax of its kind, where it lacks one: two SPDX lines, the
# copyright holder and the licence (GPL-3.0-or-later; CC0-1.0 for AppStream
# metadata). Idempotent: a file that already names its licence near its top,
# or that .reuse/dep5 covers (what cannot carry a comment), is left alone. A
# file of a kind it does not know is named, and the exit status is 1: give
# it a header by hand or a line in .reuse/dep5. `reuse lint` checks the lot.
#   bash scripts/add-spdx-headers.sh [FILE...]    (default: every tracked file)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$TOLKA_ROOT"

holder="$(date -u +%Y) the Tolka developers"
# Written in two pieces so that reuse does not read this script's own code
# as a header.
tag_copyright="SPDX-FileCopyrightText"
tag_licence="SPDX-License-""Identifier"

# The Files patterns of .reuse/dep5 (a * there matches a / too, as in [[ ]]).
mapfile -t covered < <(sed -n 's/^Files: *//p' .reuse/dep5 | tr ' ' '\n' | grep .)
is_covered() {
  local pattern
  for pattern in "${covered[@]}"; do
    # shellcheck disable=SC2053
    [[ $1 == $pattern ]] && return 0
  done
  return 1
}

# The comment syntax of a path: "line PREFIX" or "block OPEN CLOSE"; empty
# when unknown.
syntax() {
  case $1 in
  *.cpp | *.cc | *.h | *.hpp) echo "line //" ;;
  CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.bash | *.bash-completion | *.py | \
    *.supp | .gitignore | */.gitignore | *.desktop | *.po | *.toml | *.yml | *.yaml) echo "line #" ;;
  *.[1-8]) echo 'line .\"' ;;
  *.xml | *.svg | *.md | *.html) echo "block <!-- -->" ;;
  *) head -c 2 "$1" | grep -q '^#!' && echo "line #" ;;
  esac
}

# The lines that must stay first: a #! line (and a Python coding line), an
# XML declaration, a man page's preprocessor line ('\" t).
keep_first() {
  awk 'NR == 1 && (/^#!/ || /^<\?xml/ || /^'"'"'\\"/) { n = 1; next }
       NR == 2 && n == 1 && /^#.*coding[:=]/ { n = 2; next }
       { exit } END { print n + 0 }' "$1"
}

add_header() {
  local path=$1 kind open close licence=GPL-3.0-or-later first tmp
  read -r kind open close <<<"$(syntax "$path")"
  [ -n "$kind" ] || return 1
  case $path in *.metainfo.xml) licence=CC0-1.0 ;; esac
  first=$(keep_first "$path")
  tmp=$(mktemp)
  {
    head -n "$first" "$path"
    if [ "$kind" = line ]; then
      printf '%s %s: %s\n%s %s: %s\n' "$open" "$tag_copyright" "$holder" "$open" "$tag_licence" \
        "$licence"
    else
      printf '%s %s: %s %s\n%s %s: %s %s\n' "$open" "$tag_copyright" "$holder" "$close" "$open" \
        "$tag_licence" "$licence" "$close"
    fi
    # A blank line apart, except in a catalogue, where the header's comments
    # must stay with the entry below them.
    case $path in *.po) ;; *) [ "$kind" = line ] && [ "$open" = '.\"' ] || echo ;; esac
    tail -n "+$((first + 1))" "$path"
  } >"$tmp"
  # Keep the file's mode (scripts stay executable).
  cat "$tmp" >"$path"
  rm -f "$tmp"
}

# In a function, read whole before it runs: the script may be among the
# files it rewrites.
main() {
  if [ $# -gt 0 ]; then files=("$@"); else mapfile -t files < <(git ls-files); fi
  added=0 unknown=0
  for path in "${files[@]}"; do
    [ -f "$path" ] && [ ! -L "$path" ] || continue
    case $path in COPYING | LICENSES/* | .reuse/*) continue ;; esac
    is_covered "$path" && continue
    [[ $(head -n 20 "$path") == *"$tag_licence:"* ]] && continue
    if add_header "$path"; then
      added=$((added + 1))
    else
      echo "add-spdx-headers: no comment syntax known for $path: add a header by hand or" \
           "a line to .reuse/dep5" >&2
      unknown=$((unknown + 1))
    fi
  done
  echo "add-spdx-headers: $added header(s) added, $unknown file(s) of an unknown kind"
  [ "$unknown" = 0 ]
}

main "$@"; exit
