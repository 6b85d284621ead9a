#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the licence's SPDX line at the top of every tracked source, script and
# CMake file: "// SPDX-License-Identifier: GPL-3.0-or-later" in C++ files and
# "# SPDX-License-Identifier: GPL-3.0-or-later" in shell, Python and CMake
# files, as the first line or right after a "#!" line, followed by a blank
# line. Files that have it are left alone, so it can run again at any time.
# Data files, Markdown and files outside git are not touched.
#
#   scripts/add_spdx.sh           adds the line where it is missing
#   scripts/add_spdx.sh --check   only lists the files without it (status 1)
#
# A file with an SPDX line somewhere else is listed and left for a person.
set -euo pipefail
cd "$(dirname "$0")/.."

identifier="SPDX-License-Identifier: GPL-3.0-or-later"
check=false
case "${1:-}" in
  "") ;;
  --check) check=true ;;
  *)
    echo "usage: scripts/add_spdx.sh [--check]" >&2
    exit 2
    ;;
esac

# The comment marker of a file that carries the line, or nothing.
marker() {
  local file=$1 mode=$2
  case "$file" in
    *.cpp | *.cc | *.h | *.hpp) echo "//" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py) echo "#" ;;
    *)
      # Other scripts: executable files that start with "#!".
      if [ "$mode" = 100755 ] && [ "$(head -c 2 "$file" | tr -d '\0')" = "#!" ]; then echo "#"; fi
      ;;
  esac
}

# The file's text with the line inserted: after a "#!" line or at the top,
# with the file's own line ending and one blank line before the rest.
insert_line() {
  local file=$1 line=$2
  awk -v line="$line" '
    NR == 1 {
      eol = /\r$/ ? "\r" : ""
      if (/^#!/) { print; shebang = 1; next }
    }
    NR == 1 || (NR == 2 && shebang) {
      printf "%s%s\n", line, eol
      if ($0 != "" && $0 != "\r") printf "%s\n", eol
      done = 1
    }
    { print }
    END { if (!done) printf "%s%s\n", line, eol }
  ' "$file"
}

# The whole run is one function, read before it starts: the script may
# rewrite itself.
main() {
  scratch=$(mktemp)
  trap 'rm -f "$scratch"' EXIT
  missing=()
  elsewhere=()
  count=0
  while IFS= read -r -d '' entry; do
    mode=${entry%% *}
    file=${entry#*$'\t'}
    [ -f "$file" ] && [ ! -L "$file" ] || continue
    comment=$(marker "$file" "$mode")
    [ -n "$comment" ] || continue
    count=$((count + 1))
    line="$comment $identifier"

    first=$(head -n 2 "$file" | tr -d '\r')
    if [[ $first == "#!"* ]]; then
      at=$(sed -n 2p <<<"$first")
    else
      at=$(head -n 1 <<<"$first")
    fi
    [ "$at" = "$line" ] && continue

    if grep -Eq '^[[:space:]]*(//|#|/\*)[[:space:]]*SPDX-License-Identifier:' "$file"; then
      elsewhere+=("$file")
    elif $check; then
      missing+=("$file")
    else
      insert_line "$file" "$line" >"$scratch"
      cat "$scratch" >"$file"
      echo "add_spdx: $file"
    fi
  done < <(git ls-files -s -z)

  status=0
  if [ ${#missing[@]} -ne 0 ]; then
    echo "add_spdx: ${#missing[@]} of $count source, script and CMake files lack \"$identifier\" as their first line" \
      "(after a #! line):"
    printf '  %s\n' "${missing[@]}"
    echo "Add it with: scripts/add_spdx.sh"
    status=1
  fi
  if [ ${#elsewhere[@]} -ne 0 ]; then
    echo "add_spdx: ${#elsewhere[@]} files have an SPDX line that is not \"$identifier\" as their first line" \
      "(after a #! line); correct them by hand:"
    printf '  %s\n' "${elsewhere[@]}"
    status=1
  fi
  if [ $status -eq 0 ] && $check; then
    echo "add_spdx: all $count source, script and CMake files carry \"$identifier\""
  fi
  exit $status
}

main; exit
