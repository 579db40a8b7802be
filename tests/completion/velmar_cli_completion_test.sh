#!/usr/bin/env bash
# velmar_cli_completion_test.sh COMPLETION CLI: the bash completion of velmar-cli offers the
# words each command line expects.
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
cli=$2

failed=0
expect() {
  local line=$1 expected=$2
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$cli
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _velmar_cli
  local actual
  actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  if [ "$actual" != "$expected " ]; then
    printf 'completion of "%s": got "%s", expected "%s "\n' "$line" "$actual" "$expected" >&2
    failed=1
  fi
}

expect "velmar-cli se" "setup"
expect "velmar-cli ho" "hours"
expect "velmar-cli he" "help"
expect "velmar-cli setup u" "upload"
expect "velmar-cli hours " "powered reset run"
expect "velmar-cli --yes faults config s" "save set show"
expect "velmar-cli --port 2 --db x.db db " "extract list setup version"
expect "velmar-cli --po" "--port"
expect "velmar-cli --q" "--quiet"
expect "velmar-cli --port " "1 2 3 4"
expect "velmar-cli help fa" "faults"
expect "velmar-cli setup show /nonexistent-velmar" ""
exit "$failed"
