#!/usr/bin/env bash
# The built program under a virtual X server with a small window manager, driven from the
# outside like a user would: the window opens maximised with the settings stored by an earlier
# run ("Качественная печать" ticked), "Инициализировать принтер" sends their 16 bytes to the
# device typed into the device field, "Выход без сохранения" ends the program with exit code 0
# and leaves the stored settings as they were. The screenshot taken before the exit stays in
# the working directory (the build tree) as e2e_settings.png.
#
# The positions of the controls come from the program's own layout: pl4120_geometry, run on
# the same display, prints each control's rectangle in the window.
#
# Usage: run_e2e.sh path/to/pl4120 path/to/pl4120_geometry
set -uo pipefail

BIN=${1:?usage: run_e2e.sh path/to/pl4120 path/to/pl4120_geometry}
GEOMETRY=${2:?usage: run_e2e.sh path/to/pl4120 path/to/pl4120_geometry}
SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [[ "${3:-}" != "--inside-x" ]]; then
  for tool in xvfb-run openbox xdotool xprop xwininfo import od; do
    command -v "$tool" >/dev/null || { echo "e2e: FAIL: $tool is not installed" >&2; exit 1; }
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$BIN" "$GEOMETRY" --inside-x
fi

readonly ARTEFACT="$PWD/e2e_settings.png"
readonly DEADLINE=20  # seconds for any one wait
readonly EXPECTED_HEX="1b401b520f12141b4d1b301b451b480d"  # the defaults, but ESC E

WORK=$(mktemp -d)
APP_PID="" WM_PID="" WIN="" WX=0 WY=0

cleanup() {
  [[ -n "$APP_PID" ]] && kill "$APP_PID" 2>/dev/null
  [[ -n "$WM_PID" ]] && kill "$WM_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "e2e: FAIL: $*" >&2
  import -window root "$PWD/e2e_failure.png" 2>/dev/null &&
    echo "e2e: screen at the failure: $PWD/e2e_failure.png" >&2
  exit 1
}

step() { echo "e2e: $*"; }

# Runs a check until it succeeds or the deadline passes.
wait_for() {
  local what=$1
  shift
  local end=$((SECONDS + DEADLINE))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || fail "timed out after ${DEADLINE}s waiting for $what"
    sleep 0.1
  done
}

# Clicks the centre of a control (or of "tab:<page>") where the window lays it out.
click_on() {
  local x y w h
  read -r x y w h < <(awk -v name="$1" '$1 == name { print $2, $3, $4, $5 }' "$WORK/layout")
  [[ -n "${h:-}" ]] || fail "the window has no control named $1"
  x=$((WX + x + w / 2)) y=$((WY + y + h / 2))
  xdotool mousemove --sync "$x" "$y" click 1 || fail "cannot click $1 at $x,$y"
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
maximised() {
  local state
  state=$(xprop -id "$WIN" _NET_WM_STATE) || return 1
  [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}
file_complete() { [[ -f "$1" && $(stat -c %s "$1") -ge $2 ]]; }
app_ended() { ! kill -0 "$APP_PID" 2>/dev/null; }

if [[ -f "$SCRIPT_DIR/../lsan.supp" ]]; then
  export LSAN_OPTIONS="suppressions=$SCRIPT_DIR/../lsan.supp:print_suppressions=0"
fi
export XDG_RUNTIME_DIR="$WORK/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A configuration folder of the run's own, never the user's, holding the settings an earlier
# run stored.
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME/pl4120"
printf '[Printer]\nStQuanty=true\n' >"$XDG_CONFIG_HOME/pl4120/pl4120.ini"
cp "$XDG_CONFIG_HOME/pl4120/pl4120.ini" "$WORK/stored.ini"

step "the window's layout"
"$GEOMETRY" >"$WORK/layout" 2>"$WORK/geometry.log" || {
  cat "$WORK/geometry.log" >&2
  fail "$GEOMETRY did not print the layout"
}

step "window manager"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wait_for "the window manager" wm_running

step "start $BIN"
"$BIN" >"$WORK/app.log" 2>&1 &
APP_PID=$!

find_window() {
  WIN=$(xdotool search --onlyvisible --pid "$APP_PID" --name '^Работа с принтером "ПЛ 4120"$' |
    head -n 1)
  [[ -n "$WIN" ]]
}
wait_for "the window captioned 'Работа с принтером \"ПЛ 4120\"'" find_window
wait_for "the window to be maximised" maximised

# The client area's screen position (xdotool counts the frame twice under a reparenting
# window manager; xwininfo does not).
INFO=$(xwininfo -id "$WIN") || fail "cannot read the window's geometry"
WX=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$INFO")
WY=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$INFO")
WIDTH=$(sed -n 's/.*Width: *//p' <<<"$INFO")
HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$INFO")
read -r SW SH < <(xdotool getdisplaygeometry)
step "window $WIN at $WX,$WY size ${WIDTH}x${HEIGHT} on a ${SW}x${SH} screen"
((WIDTH > SW * 9 / 10)) || fail "the window is ${WIDTH} wide on a ${SW} wide screen"

step "open the settings page"
click_on tab:PageSets

OUT="$WORK/printer.out"
step "type the device name $OUT"
click_on PrnName
xdotool key --clearmodifiers ctrl+a || fail "cannot select the device name"
xdotool type --delay 10 "$OUT" || fail "cannot type the device name"

step "press 'Инициализировать принтер'"
click_on SetPrint1
wait_for "16 bytes in $OUT" file_complete "$OUT" 16
GOT=$(od -An -v -tx1 "$OUT" | tr -d ' \n')
[[ "$GOT" == "$EXPECTED_HEX" ]] || fail "the device got $GOT, expected $EXPECTED_HEX"
import -window root "$ARTEFACT" || fail "cannot take the screenshot"
step "the device got the 16 bytes; screenshot $ARTEFACT"

step "press 'Выход без сохранения'"
click_on QuitNoSv
wait_for "the program to end" app_ended
wait "$APP_PID"
RC=$?
APP_PID=""
((RC == 0)) || { cat "$WORK/app.log" >&2; fail "the program ended with exit code $RC"; }
cmp -s "$WORK/stored.ini" "$XDG_CONFIG_HOME/pl4120/pl4120.ini" ||
  fail "'Выход без сохранения' changed the stored settings"
step "PASS: the program ended with exit code 0"
