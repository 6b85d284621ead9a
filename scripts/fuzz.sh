#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for
# TL_FUZZ_SECONDS (60 by default) on seeds made from the demo and test files.
# A crash, a leak, a sanitizer report or a hang fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tl_install_deps clang-14 libclang-rt-14-dev

seconds=${TL_FUZZ_SECONDS:-60}
root=$PWD
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DTL_FUZZ=ON -DCMAKE_BUILD_TYPE= \
  -DCMAKE_CXX_FLAGS="-O1 -g"
cmake --build build-fuzz -j"$(nproc)" --target tl_readers_fuzz tl_pipeline_fuzz

# Seeds go into a temporary corpus; what the fuzzer adds to it is thrown away.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/readers" "$work/pipeline"
cp demo/TLPhraseLibrary.csv demo/*.tlf tests/data/* fuzz/seeds/* "$work/readers/"

# A pipeline input is a phrase library, a class file and an enrolment file
# joined by NUL bytes. The short library holds the codes the sample class uses.
codes=$(cut -d, -f20-24 tests/data/sample_class.tlc | tr ',' '\n' | grep -E '^[0-9]+$' |
  sed 's/^0*//' | sort -u | paste -sd'|')
{
  head -n 40 demo/TLPhraseLibrary.csv
  grep -E "^0*($codes)," demo/TLPhraseLibrary.csv
} >"$work/short_library.csv"
n=0
for library in "$work/short_library.csv" demo/TLPhraseLibrary.csv; do
  for enrolment in fuzz/seeds/enrolment_eng2d1.txt tests/data/sample_master.txt; do
    n=$((n + 1))
    { cat "$library"; printf '\0'; cat tests/data/sample_class.tlc; printf '\0'; cat "$enrolment"; } \
      >"$work/pipeline/seed$n"
  done
done

# Both targets at once, one per core; each writes a crashing input into
# build-fuzz/artifacts/ and its log into build-fuzz/<target>.log.
mkdir -p build-fuzz/artifacts
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
declare -A pids
for target in readers pipeline; do
  echo "Fuzzing tl_${target}_fuzz for ${seconds} s"
  (cd "$work" && "$root/build-fuzz/fuzz/tl_${target}_fuzz" -max_total_time="$seconds" \
    -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/artifacts/${target}-" "$work/$target" \
    >"$root/build-fuzz/${target}.log" 2>&1) &
  pids[$target]=$!
done

failed=()
for target in readers pipeline; do
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
echo "Fuzzing passed: tl_readers_fuzz and tl_pipeline_fuzz ran ${seconds} s each without a crash, leak or sanitizer report"
