# bash completion for velmar-cli: its options, then the words of its commands as its own --help
# lists them, then file names.
_velmar_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  case $prev in
    --port)
      mapfile -t COMPREPLY < <(compgen -W "1 2 3 4" -- "$cur")
      return
      ;;
    --baud)
      mapfile -t COMPREPLY < <(compgen -W "19200 9600 38400" -- "$cur")
      return
      ;;
  esac
  local help
  help=$("${COMP_WORDS[0]}" --help 2>/dev/null) || return
  # The words typed after the options that come before the command (and their values), and
  # after "help".
  local -a typed=()
  local i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if ((${#typed[@]} == 0)); then
      case $word in
        --device | --port | --baud | --db)
          ((i++))
          continue
          ;;
        -* | help) continue ;;
      esac
    fi
    typed+=("$word")
  done
  local candidates
  if ((${#typed[@]} == 0)) && [[ $cur == -* ]]; then
    candidates=$(sed -n '/^Options/,/^$/p' <<<"$help" | grep -o -- '--[a-z][a-z-]*' | sort -u)
    candidates+=" -h"
  else
    # A command's name is the leading lower-case words of its line in the command table.
    candidates=$(sed -n '/^Commands:/,$p' <<<"$help" | awk -v typed="${typed[*]}" \
      -v count=${#typed[@]} '/^  [a-z]/ {
        words = ""
        for (f = 1; f <= NF && $f ~ /^[a-z][a-z-]*$/; f++) words = words (f > 1 ? " " : "") $f
        n = split(words, w, " ")
        if (n <= count) next
        prefix = ""
        for (k = 1; k <= count; k++) prefix = prefix (k > 1 ? " " : "") w[k]
        if (prefix == typed) print w[count + 1]
      }' | sort -u)
    if ((${#typed[@]} == 0)); then
      candidates+=" help"
    fi
  fi
  if [[ -n ${candidates// /} ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$candidates" -- "$cur")
  else
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  fi
}
complete -F _velmar_cli velmar-cli
