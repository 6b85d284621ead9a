#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later

# Walks Tallyleaf with the Orca screen reader and prints what Orca says.
#
#   scripts/orca_walk.sh PROGRAM 'KEYS...' [OUT.log]
#
# Stages the demo school beside PROGRAM, starts a virtual screen with openbox,
# a session bus, speech-dispatcher with its dummy output, Orca and then the
# program; presses each xdotool key of KEYS in turn (a word "sleep:N" waits N
# seconds, "type:TEXT" types TEXT) and prints Orca's speech, one line per
# utterance, with a "## key" line before what each key made it say.
# Needs Debian's xvfb xauth openbox xdotool orca speech-dispatcher at-spi2-core
# dbus-x11; not part of the build or the tests.
set -euo pipefail
program=$(realpath "$1"); keys=$2; out=${3:-$(mktemp)}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
mkdir -p "$work/Tallyleaf" "$work/data" "$work/teacher" "$work/home"
cp "$program" "$work/Tallyleaf/Tallyleaf"
cp "$here/demo/TLPhraseLibrary.csv" "$work/Tallyleaf/"
maker=${TL_MAKE_DEMO:-$here/build-bench/demo/tl_make_demo_school}
"$maker" "$work/data/TLStudentInfo.txt" "$work/teacher" >/dev/null
cp "$here"/demo/*.tlf "$work/teacher/"
# No sound card: speech goes to ALSA's null device.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/home/.asoundrc"
# Speech to the dummy module, which says nothing and never waits for a sound card.
mkdir -p "$work/home/.config/speech-dispatcher"
{ grep -v '^Include "clients' /etc/speech-dispatcher/speechd.conf
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\nAudioOutputMethod "libao"\n'
} >"$work/home/.config/speech-dispatcher/speechd.conf"

fd=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE:-1366x768x24}" -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$fd"' EXIT
for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.1; done
export DISPLAY=:$(tr -dc 0-9 <"$fd")
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
log=$work/orca.log
dbus-run-session -- bash -c '
  set -u
  openbox >/dev/null 2>&1 &
  gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true 2>/dev/null || true
  speech-dispatcher -d -t 0 >/dev/null 2>&1 || true
  orca --replace -d braille -d braille-monitor --debug-file="'"$log"'" >/dev/null 2>&1 &
  sleep 6
  cd "'"$work"'/teacher"
  HOME="'"$work"'/teacher" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "'"$work"'/Tallyleaf/Tallyleaf" >/dev/null 2>&1 &
  sleep 6
  for k in '"$keys"'; do
    case "$k" in
      sleep:*) sleep "${k#sleep:}"; continue ;;
    esac
    echo "$(date +%H:%M:%S.%6N) ## $k" >>"'"$work"'/marks"
    case "$k" in
      type:*) xdotool type --delay 80 "${k#type:}" ;;
      *) xdotool key "$k" ;;
    esac
    sleep 1.5
  done
  sleep 2
  pkill -INT -f "[p]ython3 /usr/bin/orca" || true
  sleep 3
  kill %1 %2 2>/dev/null || true
'
# Speech lines with the key that preceded them.
python3 - "$log" "$work/marks" >"$out" <<'PY'
import re, sys
lines = []
stamp = "00"
for line in open(sys.argv[1], errors="replace"):
    m = re.match(r"(\d\d:\d\d:\d\d\.\d+) - ", line)
    if m:
        stamp = m.group(1)
    if "SPEECH OUTPUT: " in line:
        lines.append((stamp, 1, line.split("SPEECH OUTPUT: ", 1)[1].rstrip()))
for line in open(sys.argv[2]):
    t, key = line.rstrip("\n").split(" ", 1)
    lines.append((t, 0, key))
for _, _, text in sorted(lines, key=lambda x: (x[0], x[1])):
    print(text)
PY
cat "$out"
[ -n "${KEEP:-}" ] && cp "$log" "$KEEP"; rm -rf "$work"
