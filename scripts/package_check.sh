#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package in build-package/, lists it, validates its menu
# entry and AppStream metadata, checks that its copyright file and metadata
# give the licence, unpacks it and starts the unpacked program
# through its command's symbolic link on a virtual X display, where xdotool
# answers its windows as a user would:
#  - with the example library beside it, the start-up window appears, Escape
#    proceeds without favourites, the main window appears and File > Exit
#    ends the program with status 0;
#  - without a library, the start-up window is followed by a message box
#    (TL2) and, once it is answered, the program ends with a non-zero status.
# Neither run may write into the unpacked program's folders.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tl_install_deps "${tl_packaging_packages[@]}"

build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTL_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target Tallyleaf tl_man_page
rm -f "$build"/tallyleaf_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/tallyleaf_*.deb)
deb=${debs[0]}

dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "package_check: $*"
  exit 1
}

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/opt/tallyleaf/Tallyleaf
for path in opt/tallyleaf/Tallyleaf/Tallyleaf opt/tallyleaf/data usr/bin/tallyleaf \
  usr/share/applications/tallyleaf.desktop usr/share/metainfo/ca.tallyleaf.tallyleaf.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/tallyleaf.png usr/share/icons/hicolor/scalable/apps/tallyleaf.svg \
  usr/share/man/man1/tallyleaf.1.gz usr/share/doc/tallyleaf/copyright \
  usr/share/doc/tallyleaf/examples/TLPhraseLibrary.csv; do
  [ -e "$root/$path" ] || fail "the package lacks /$path"
done
[ "$(readlink "$root/usr/bin/tallyleaf")" = ../../opt/tallyleaf/Tallyleaf/Tallyleaf ] ||
  fail "/usr/bin/tallyleaf does not link to the program"
[ -z "$(find "$program" -name TLPhraseLibrary.csv)" ] || fail "the package ships a phrase library in the program folder"

copyright=$root/usr/share/doc/tallyleaf/copyright
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
grep -qx 'License: GPL-3+' "$copyright" || fail "the copyright file does not give the GPL-3+ licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$root/usr/share/metainfo/ca.tallyleaf.tallyleaf.metainfo.xml" ||
  fail "the AppStream metadata does not give the project's licence"

desktop-file-validate "$root/usr/share/applications/tallyleaf.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/ca.tallyleaf.tallyleaf.metainfo.xml"
man -l "$root/usr/share/man/man1/tallyleaf.1.gz" >/dev/null 2>&1 || zcat "$root/usr/share/man/man1/tallyleaf.1.gz" |
  grep -q '^\.TH TALLYLEAF 1' || fail "the manual page does not read"

# A virtual display of its own; Xvfb writes the display number it took.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(cat "$work/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# The window's id once a visible window has that exact title, within 30 s.
wait_window() {
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}
press() {
  xdotool windowfocus --sync "$1"
  xdotool key --clearmodifiers "${@:2}"
}
# Waits up to 30 s for the program to end and sets status to its exit status.
# It runs in this shell, never in a command substitution: only the shell that
# started the program can collect its status.
wait_end() {
  for _ in $(seq 300); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
}
start() {
  mkdir -p "$work/home"
  HOME=$work/home XDG_DATA_HOME= "$root/usr/bin/tallyleaf" >"$work/$1.log" 2>&1 &
  app_pid=$!
}
splash="Tallyleaf v3.3 Growing Success"
touch "$work/before"

cp "$root/usr/share/doc/tallyleaf/examples/TLPhraseLibrary.csv" "$program/"
# The library check, as an administrator runs it: the installed command, no
# display, the program folder's library.
checked=$(env -u DISPLAY HOME="$work/home" "$root/usr/bin/tallyleaf" --check-library) ||
  fail "tallyleaf --check-library ended with status $?"
echo "$checked" | tail -n 1 | grep -qE '^0 of [1-9][0-9]* phrases need a look for they/them\.$' ||
  fail "tallyleaf --check-library on the example library said: $checked"
echo "package_check: tallyleaf --check-library read the example library without a display"

start with-library
window=$(wait_window "$splash") || true
[ -n "$window" ] || fail "no start-up window with the example library; $(cat "$work/with-library.log")"
press "$window" Escape
window=$(wait_window "$splash ~ Mark / Phrase Entry") || true
[ -n "$window" ] || fail "no main window with the example library; $(cat "$work/with-library.log")"
press "$window" alt+f x
wait_end
[ "$status" -eq 0 ] || fail "File > Exit ended the program with status $status"
echo "package_check: with the example library the start-up and main windows opened and File > Exit ended it"

rm "$program/TLPhraseLibrary.csv"
start without-library
window=$(wait_window "$splash") || true
[ -n "$window" ] || fail "no start-up window without a library; $(cat "$work/without-library.log")"
press "$window" Escape
window=$(wait_window "Tallyleaf") || true
[ -n "$window" ] || fail "no message without a library; $(cat "$work/without-library.log")"
xdotool search --onlyvisible --name "Mark / Phrase Entry" >/dev/null && fail "the main window opened without a library"
press "$window" Return
wait_end
[ "$status" -ne 0 ] || fail "without a library the program ended with status 0"
echo "package_check: without a library the program showed its message and ended with status $status"

written=$(find "$root" -newer "$work/before" ! -path "$program" ! -path "$program/TLPhraseLibrary.csv")
[ -z "$written" ] || fail "the program wrote into its installed folders: $written"
echo "package_check: $(basename "$deb") builds, validates and starts"
