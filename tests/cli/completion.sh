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
expect "encode decode distance --help --version" ""
expect "encode" en
expect "--help" --h
expect "--precision --maidenhead --help" encode --
expect "--centre --dms --maidenhead --help" decode ""-
expect "--centre" decode JN18 --c
expect "2 4 6 8 10" encode --precision ""
expect "" encode -33
expect "" decode jn
expect "--iaru --maidenhead --unit --help" distance JN18 -
expect "km mi nmi" distance --unit ""
expect "nmi" distance --iaru --unit n
exit "$status"
