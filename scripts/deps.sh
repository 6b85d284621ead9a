# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian packages the project needs when any is missing.
# Sourced by run.sh and test.sh. valgrind: callgrind and valgrind/callgrind.h
# for the instruction-count gate (scripts/instructions.sh, bench/instructions.cpp).
# libquazip1-qt6-dev: the zip container of the XLSX and ODS markbooks.
tl_packages=(cmake make g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
             libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation locales
             libhunspell-dev hunspell-en-ca valgrind libquazip1-qt6-dev)
# Building, validating and starting the Debian package (scripts/package_check.sh).
tl_packaging_packages=(dpkg-dev desktop-file-utils appstream xvfb xauth xdotool)

tl_install_deps() {
  local missing=()
  for p in "${tl_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# A comma-decimal locale for the tests that read numbers under the user's locale.
tl_generate_test_locale() {
  locale -a 2>/dev/null | grep -qi '^fr_CA\.utf-\?8$' && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i fr_CA -f UTF-8 fr_CA.UTF-8
}
