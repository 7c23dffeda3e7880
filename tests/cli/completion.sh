#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The bash completion of tolka-cli, sourced into this shell and asked as bash
# asks it: completion.sh FILE
set -euo pipefail
source "$1"
complete -p tolka-cli | grep -q -- '-F _tolka_cli' || { echo "no completion for tolka-cli"; exit 1; }

status=0
# expect "WORDS OFFERED" ARGUMENT... (the last argument is the word completed)
expect() {
  local want=$1
  shift
  COMP_WORDS=(tolka-cli "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _tolka_cli || true # compgen fails when nothing matches
  if [ "${COMPREPLY[*]}" != "$want" ]; then
    echo "tolka-cli $*<TAB>: offered '${COMPREPLY[*]}', expected '$want'"
    status=1
  fi
}
expect "encode decode distance edi convert adif follow contest --help --version" ""
expect "encode" en
expect "--help" --h
expect "--precision --maidenhead --extended --help" encode --
expect "--centre --dms --geojson --maidenhead --extended --help" decode ""-
expect "--centre" decode JN18 --c
expect "2 4 6 8 10" encode --precision ""
expect "" encode -33
expect "" decode jn
expect "--iaru --maidenhead --extended --unit --help" distance JN18 -
expect "km mi nmi" distance --unit ""
expect "nmi" distance --iaru --unit n
expect "--every" follow --e
expect "2 4 6 8 10" follow --precision ""
expect "maidenhead extended" convert --to ""
expect "--from --precision --replace --check --help" adif --
expect "" adif --from ""
expect "$(dirname "$0")/completion.sh" adif "$(dirname "$0")/completion.s"
expect "--write" edi --w
expect "--rules --write --help" edi -
expect "okpa" edi --rules ok
expect "--rules --tolerance --csv --reports --geojson --help" contest --
expect "okpa" contest --rules ok
expect "" contest --tolerance ""
# edi completes file names.
cd "$(dirname "$1")"
expect "$(basename "$1")" edi --write "$(basename "$1" | cut -c1-12)"
exit "$status"
