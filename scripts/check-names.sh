#!/usr/bin/env bash
# Checks the names in telvora/ with clang-tidy's readability-identifier-naming
# (rules in .clang-tidy, explained in docs/NAMING.md).
#   scripts/check-names.sh BUILD_DIR     (BUILD_DIR holds compile_commands.json)
# A source file is checked again only when it, a project header it includes
# (directly or not) or .clang-tidy changed: a passed check leaves a stamp in
# BUILD_DIR/names-checked/. The first run checks every file (about two
# minutes of CPU time); later runs only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} == --one ]]; then
  # --one BUILD_DIR STAMP SOURCE: one file, stamped when it passes.
  clang-tidy -p "$2" --quiet "$4" 2>/dev/null && touch "$3"
  exit
fi

build=${1:?usage: scripts/check-names.sh BUILD_DIR}
stamps=$build/names-checked
mkdir -p "$stamps"

# The file and every project header it includes, one per line.
closure() {
  local -A seen=()
  local queue=("$1") file include
  while ((${#queue[@]})); do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    [[ -n ${seen[$file]:-} || ! -f $file ]] && continue
    seen[$file]=1
    echo "$file"
    while read -r include; do
      queue+=("$include")
    done < <(sed -nE 's/^#include "((telvora|tests)\/[^"]+)".*/\1/p' "$file")
  done
}

jobs=()
while read -r source; do
  key=$({ cat .clang-tidy; closure "$source" | sort | xargs cat; } | sha1sum | cut -c1-40)
  [[ -e $stamps/$key ]] || jobs+=("$stamps/$key" "$source")
done < <(find telvora -name '*.cpp' | sort)

((${#jobs[@]})) || exit 0
echo "Checking names in $((${#jobs[@]} / 2)) files" >&2
printf '%s\0' "${jobs[@]}" | xargs -0 -n2 -P"$(nproc)" "$0" --one "$build"
