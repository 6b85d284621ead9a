#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# The speed gate: instruction counts, which a busy machine does not change.
#
#   scripts/instructions.sh            runs the scenarios and compares
#   scripts/instructions.sh --update   runs them and rewrites the baseline
#
# Each scenario of bench/instructions.cpp (tl_instructions --list: the main
# grid filled and drawn, the eFile window, Comment Selection, the phrase
# library load, start-up with the dictionary, a mark typed with Ready for the
# Office open) runs ONCE under valgrind's callgrind; only the scenario itself
# is counted (CALLGRIND_START/STOP_INSTRUMENTATION with --instr-atstart=no),
# not its set-up. Its instruction count (Ir) is compared with
# scripts/instructions.baseline, one line per scenario: name, tab, count.
#
# It fails, naming the scenario, its count, the baseline and the growth, when
# a scenario grows by more than TL_INSTRUCTIONS_LIMIT percent (5 by default);
# also when a scenario fails or has no baseline line, or when the baseline
# names a scenario that no longer exists. Otherwise it prints a table.
#
# The rule: a change that makes a scenario grow past the limit, on purpose,
# runs --update and commits scripts/instructions.baseline IN THE SAME COMMIT
# as the change, and says in the commit message which scenario grew, by how
# much and why. So does a change that adds or removes a scenario. A change that
# makes one faster may update it too, so that the gate holds the gain.
#
# The counts depend on the compiler, Qt, valgrind and the other libraries:
# the baseline's header records the versions it was made with, and a baseline
# is made on the project's machine (Debian 12) from the Release build in
# build-bench/ (TL_INSTRUCTIONS_BUILD names another). The script configures
# and builds tl_instructions there when needed. Each scenario's callgrind file
# stays in build-bench/instructions/ for callgrind_annotate.
set -euo pipefail
cd "$(dirname "$0")/.."

update=false
case "${1:-}" in
  "") ;;
  --update) update=true ;;
  *)
    echo "usage: scripts/instructions.sh [--update]" >&2
    exit 2
    ;;
esac

source scripts/deps.sh
tl_install_deps

baseline=scripts/instructions.baseline
limit=${TL_INSTRUCTIONS_LIMIT:-5}
build=${TL_INSTRUCTIONS_BUILD:-build-bench}

# The Release build of the benchmarks; the counts of another build type mean nothing here.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DTL_BUILD_BENCH=ON -DTL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
bench_on=$(sed -n 's/^TL_BUILD_BENCH:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ "$build_type" != Release ] || [ "$bench_on" != ON ]; then
  echo "instructions: $build is a ${build_type:-plain} build with TL_BUILD_BENCH=${bench_on:-OFF};"
  echo "  the counts are made with: cmake -S . -B $build -DTL_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release"
  exit 1
fi
cmake --build "$build" -j"$(nproc)" --target tl_instructions >/dev/null
driver=$build/bench/tl_instructions

# What the counts are made with, for the baseline's header.
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
toolchain="$(valgrind --version), $("${cxx:-c++}" --version | head -n 1), Qt $qt_version"

mapfile -t scenarios < <("$driver" --list)
if [ ${#scenarios[@]} -eq 0 ]; then
  echo "instructions: $driver lists no scenarios"
  exit 1
fi

out=$build/instructions
rm -rf "$out"
mkdir -p "$out/runtime"
chmod 700 "$out/runtime"

# One scenario under callgrind; prints its count, or fails with the end of its log.
count() {
  local name=$1 file=$out/$1.callgrind log=$out/$1.log
  # The same environment whoever runs it: offscreen, one locale, no user settings.
  if ! env -i PATH="$PATH" HOME="$out/runtime" XDG_RUNTIME_DIR="$out/runtime" \
    LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$file" \
    "$driver" "$name" >"$log" 2>&1; then
    echo "instructions: scenario $name failed; the end of $log:" >&2
    tail -n 20 "$log" >&2
    return 1
  fi
  local total
  total=$(sed -n 's/^totals: *\([0-9][0-9]*\).*/\1/p' "$file")
  if [ -z "$total" ] || [ "$total" -eq 0 ]; then
    echo "instructions: scenario $name counted nothing (see $log)" >&2
    return 1
  fi
  echo "$total"
}

declare -A counted
started=$SECONDS
for name in "${scenarios[@]}"; do
  counted[$name]=$(count "$name") || exit 1
done
elapsed=$((SECONDS - started))

if $update; then
  tmp=$(mktemp "$baseline.XXXXXX")
  {
    echo "# Instruction counts (callgrind's Ir) of the scenarios of bench/instructions.cpp,"
    echo "# each run once: name, tab, count. Made by scripts/instructions.sh --update from"
    echo "# the Release build; scripts/instructions.sh fails when a scenario grows by more"
    echo "# than $limit percent. Commit it with the change that made a scenario grow, and say"
    echo "# why in the commit message."
    echo "# Made with: $toolchain"
    for name in "${scenarios[@]}"; do
      printf '%s\t%s\n' "$name" "${counted[$name]}"
    done
  } >"$tmp"
  mv "$tmp" "$baseline"
  echo "instructions: $baseline rewritten (${#scenarios[@]} scenarios, ${elapsed}s):"
  for name in "${scenarios[@]}"; do
    printf '  %-18s %15s\n' "$name" "${counted[$name]}"
  done
  exit 0
fi

if [ ! -f "$baseline" ]; then
  echo "instructions: no $baseline; make it with scripts/instructions.sh --update and commit it"
  exit 1
fi

# The baseline's lines, checked: name, tab, a whole number, each name once.
declare -A base
problems=()
notes=()
while IFS= read -r line || [ -n "$line" ]; do
  [[ -z $line || $line == \#* ]] && continue
  if [[ ! $line =~ ^([A-Za-z0-9_]+)$'\t'([0-9]+)$ ]]; then
    problems+=("$baseline has a line that is not \"name<TAB>count\": $line")
    continue
  fi
  if [ -n "${base[${BASH_REMATCH[1]}]:-}" ]; then
    problems+=("$baseline names ${BASH_REMATCH[1]} twice")
    continue
  fi
  base[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
done <"$baseline"

# The table, and every scenario past the limit.
printf '%-18s %15s %15s %9s\n' scenario baseline count change
for name in "${scenarios[@]}"; do
  if [ -z "${base[$name]:-}" ]; then
    printf '%-18s %15s %15s %9s\n' "$name" - "${counted[$name]}" -
    continue
  fi
  change=$(awk -v c="${counted[$name]}" -v b="${base[$name]}" 'BEGIN { printf "%+.2f", (c - b) * 100 / b }')
  printf '%-18s %15s %15s %8s%%\n' "$name" "${base[$name]}" "${counted[$name]}" "$change"
  if awk -v c="${counted[$name]}" -v b="${base[$name]}" -v l="$limit" 'BEGIN { exit !((c - b) * 100 > l * b) }'; then
    problems+=("scenario $name grew by $change% (more than $limit%): ${counted[$name]} instructions against a baseline of ${base[$name]}; callgrind_annotate $out/$name.callgrind shows where")
  elif awk -v c="${counted[$name]}" -v b="${base[$name]}" -v l="$limit" 'BEGIN { exit !((b - c) * 100 > l * b) }'; then
    notes+=("$name fell by more than $limit%: scripts/instructions.sh --update, committed with the change, keeps the gain")
  fi
done
echo "(${#scenarios[@]} scenarios under callgrind in ${elapsed}s; the limit is +$limit%)"
[ ${#notes[@]} -eq 0 ] || printf 'note: %s\n' "${notes[@]}"

# A scenario without a baseline line, or a line without a scenario.
for name in "${scenarios[@]}"; do
  [ -n "${base[$name]:-}" ] ||
    problems+=("scenario $name has no line in $baseline (a new scenario: run scripts/instructions.sh --update and commit the baseline with it)")
done
declare -A known
for name in "${scenarios[@]}"; do known[$name]=1; done
for name in "${!base[@]}"; do
  [ -n "${known[$name]:-}" ] ||
    problems+=("$baseline has a line for $name, which tl_instructions does not run (a scenario removed or renamed: run scripts/instructions.sh --update)")
done

if [ ${#problems[@]} -ne 0 ]; then
  echo
  echo "instructions: the speed gate FAILED:"
  printf '  %s\n' "${problems[@]}"
  made_with=$(sed -n 's/^# Made with: //p' "$baseline")
  if [ -n "$made_with" ] && [ "$made_with" != "$toolchain" ]; then
    echo "  note: the baseline was made with $made_with;"
    echo "        this run used $toolchain, which alone can change the counts."
  fi
  echo "A growth that the change means: scripts/instructions.sh --update, and commit"
  echo "$baseline in the same commit as the change, saying why in its message."
  exit 1
fi
echo "instructions: every scenario within $limit% of $baseline"
