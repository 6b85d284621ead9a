#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# TL_FUZZ_SECONDS (60 by default) on seeds made from the demo and test files
# and fuzz/seeds/.
# A crash, a leak, a sanitizer report or a hang fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tl_install_deps clang-14 libclang-rt-14-dev

seconds=${TL_FUZZ_SECONDS:-60}
root=$PWD
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DTL_FUZZ=ON -DCMAKE_BUILD_TYPE= \
  -DCMAKE_CXX_FLAGS="-O1 -g"
cmake --build build-fuzz -j"$(nproc)" --target tl_readers_fuzz tl_pipeline_fuzz tl_markbook_fuzz

# Seeds go into a temporary corpus; what the fuzzer adds to it is thrown away.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/readers" "$work/pipeline" "$work/markbook"
i=0
while IFS= read -r -d '' file; do
  i=$((i + 1))
  cp "$file" "$work/readers/$i-$(basename "$file")"
done < <(find demo tests/data fuzz/seeds -type f ! -name '*.cpp' ! -name CMakeLists.txt -print0 | sort -z)

# The markbooks of the tests and the XML parts of some of them.
for file in tests/data/markbook/*.* fuzz/seeds/markbook/*.xml; do
  case $file in *.md | *.py) continue ;; esac
  cp "$file" "$work/markbook/"
done

# A pipeline input is a phrase library, a class file and an enrolment file
# joined by NUL bytes.
n=0
pipeline_seed() {
  n=$((n + 1))
  { cat "$1"; printf '\0'; cat "$2"; printf '\0'; cat "$3"; } >"$work/pipeline/seed$n"
}
# The sample class with the whole demo library and with a short one that
# holds the codes the class uses, against two enrolment files.
codes=$(cut -d, -f20-24 tests/data/sample_class.tlc | tr ',' '\n' | grep -E '^[0-9]+$' |
  sed 's/^0*//' | sort -u | paste -sd'|')
{
  head -n 40 demo/TLPhraseLibrary.csv
  grep -E "^0*($codes)," demo/TLPhraseLibrary.csv
} >"$work/short_library.csv"
for library in "$work/short_library.csv" demo/TLPhraseLibrary.csv; do
  for enrolment in fuzz/seeds/enrolment_eng2d1.txt tests/data/sample_master.txt; do
    pipeline_seed "$library" tests/data/sample_class.tlc "$enrolment"
  done
done
# Each golden case folder and each seed case folder (inputs that once broke an
# invariant), with the demo library or the seed enrolment file where it has
# none of its own.
for case in tests/data/golden/*/ fuzz/seeds/cases/*/; do
  [ -f "$case/class.tlc" ] || continue
  library=$case/TLPhraseLibrary.csv
  [ -f "$library" ] || library=demo/TLPhraseLibrary.csv
  enrolment=$case/TLStudentInfo.txt
  [ -f "$enrolment" ] || enrolment=fuzz/seeds/enrolment_eng2d1.txt
  pipeline_seed "$library" "$case/class.tlc" "$enrolment"
done

# The targets at once; each writes a crashing input into
# build-fuzz/artifacts/ and its log into build-fuzz/<target>.log.
rm -rf build-fuzz/artifacts
mkdir -p build-fuzz/artifacts
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
declare -A pids
for target in readers pipeline markbook; do
  echo "Fuzzing tl_${target}_fuzz for ${seconds} s"
  (cd "$work" && "$root/build-fuzz/fuzz/tl_${target}_fuzz" -max_total_time="$seconds" \
    -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/artifacts/${target}-" "$work/$target" \
    >"$root/build-fuzz/${target}.log" 2>&1) &
  pids[$target]=$!
done

failed=()
for target in readers pipeline markbook; do
  if wait "${pids[$target]}"; then
    grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units)' "build-fuzz/${target}.log" |
      sed "s/^/tl_${target}_fuzz: /" || true
  else
    failed+=("tl_${target}_fuzz")
    echo "tl_${target}_fuzz failed; the end of build-fuzz/${target}.log:"
    tail -n 60 "build-fuzz/${target}.log"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing FAILED: ${failed[*]} (inputs in build-fuzz/artifacts/)"
  exit 1
fi
echo "Fuzzing passed: tl_readers_fuzz, tl_pipeline_fuzz and tl_markbook_fuzz ran ${seconds} s each without a crash, leak or sanitizer report"
