#!/usr/bin/env bash
# The man pages tell the truth about the programs: every option that a
# program's --help (and, for telvora-cli, each command's --help) names is in
# its man page, every page has the usual sections, and man renders it
# without a warning.
#   man_pages_test.sh PROGRAM_FOLDER SOURCE_DIR
set -euo pipefail
bin=$1 source=$2
export QT_QPA_PLATFORM=offscreen
status=0

page_of() {
  case $1 in
    vervia*) echo "$source/vervia/desktop/man/$1.1" ;;
    *) echo "$source/telvora/desktop/man/$1.1" ;;
  esac
}

for program in vervia vervia-cli telvora telvora-cli telvora-phonesim; do
  page=$(page_of "$program")
  help=$("$bin/$program" --help)
  case $program in
    telvora-cli)
      for command in $(printf '%s\n' "$help" | awk '/^Commands:/{on=1; next} on && /^$/{exit} on && /^  [a-z]/{print $1}'); do
        help+=$'\n'$("$bin/$program" "$command" --help)
      done
      ;;
    vervia-cli)
      for command in conjugate tenses table irregular practice; do
        help+=$'\n'$("$bin/$program" "$command" --help)
      done
      ;;
  esac
  # Qt's own --help-all is not the program's.
  for option in $(printf '%s\n' "$help" | grep -o -- '--[a-z][a-z-]*' | sort -u | grep -vx -- '--help-all'); do
    roff=${option//-/\\-}
    if ! grep -qF -- "$roff" "$page"; then
      echo "FAIL: $program: $option is in --help but not in $(basename "$page")"
      status=1
    fi
  done
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES FILES; do
    if ! grep -q "^\.SH \"\?$section\"\?$" "$page"; then
      echo "FAIL: $(basename "$page") has no section $section"
      status=1
    fi
  done
  if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
    if [[ -n $warnings ]]; then
      echo "FAIL: $(basename "$page"): $warnings"
      status=1
    fi
  fi
done
exit $status
