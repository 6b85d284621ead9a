#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks every tracked *.cpp and *.h file against .clang-format with Debian
# 12's clang-format 14, and every tracked source, script and CMake file for the
# licence's SPDX line at its top (scripts/add_spdx.sh); fails with the list of
# files that need either.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tl_install_deps clang-format

format=clang-format-14
command -v "$format" >/dev/null || format=clang-format
version=$("$format" --version)
if [[ $version != *"version 14."* ]]; then
  echo "check_format: needs clang-format 14 (other versions lay code out differently); found: $version"
  exit 1
fi

files=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] && files+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
  echo "check_format: no tracked *.cpp or *.h files found"
  exit 1
fi

unformatted=()
for file in "${files[@]}"; do
  "$format" --style=file "$file" | cmp -s - "$file" || unformatted+=("$file")
done

status=0
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check_format: ${#unformatted[@]} of ${#files[@]} files need clang-format:"
  printf '  %s\n' "${unformatted[@]}"
  echo "Fix with: $format -i <file>..."
  status=1
else
  echo "check_format: ${#files[@]} files formatted as .clang-format says"
fi

scripts/add_spdx.sh --check || status=1
exit $status
