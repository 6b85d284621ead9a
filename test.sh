#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
tl_install_deps
tl_generate_test_locale

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTL_SANITIZE=ON -DTL_BUILD_TESTS=ON
cmake --build build-test -j"$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
