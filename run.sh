#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing, builds, stages the demo school and starts Tallyleaf.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
tl_install_deps

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTL_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)"

# The demo school: the program folder with the phrase library, a data folder
# beside it with a fresh enrolment file, and a teacher's home folder.
school=build/demo-school
rm -rf "$school"
mkdir -p "$school/Tallyleaf" "$school/data" "$school/teacher"
cp build/src/Tallyleaf "$school/Tallyleaf/"
cp demo/TLPhraseLibrary.csv "$school/Tallyleaf/"
build/demo/tl_make_demo_school "$school/data/TLStudentInfo.txt" "$school/teacher"
cp demo/*.tlf "$school/teacher/"

# The teacher's home folder is where the file dialogs start.
export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
export HOME=$PWD/$school/teacher
exec "$school/Tallyleaf/Tallyleaf"
