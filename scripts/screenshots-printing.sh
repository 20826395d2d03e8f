#!/usr/bin/env bash
# Renews the README's pictures of printing: starts the built program on a virtual display with
# a window manager, next to a private print service with two queues, and photographs
#   docs/screenshot-progress.png         the progress window with "Отмена" while a 300 KB text
#                                        goes to a printer (a FIFO) that takes 10 KB/s
#   docs/screenshot-printer-missing.png  the error box of a printer port that does not exist,
#                                        which names the print service's queues
# Needs root (the private print service), cupsd, lpadmin, Xvfb, openbox, xdotool, ImageMagick.
# Build first (cmake --preset release && cmake --build --preset release); the arguments may
# name another build of the program and of tests/e2e/pl4120_geometry.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/release/app/pl4120}
geometry=${2:-build/release/tests/e2e/pl4120_geometry}
for built in "$program" "$geometry"; do
  [ -x "$built" ] || { echo "screenshots: $built is not built" >&2; exit 1; }
done
for tool in xvfb-run openbox import xdotool xwininfo cupsd lpadmin iconv; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
mkdir -p docs

work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  [ -n "${cupsd_pid:-}" ] && kill "$cupsd_pid" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A print service of its own, on a free port, with two raw queues.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
for sub in spool cache state tmp log; do mkdir -m 755 "$work/$sub"; done
cat >"$work/cups-files.conf" <<EOF
ServerRoot $work
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
SystemGroup root
EOF
cat >"$work/cupsd.conf" <<EOF
Listen 127.0.0.1:$port
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
cupsd_pid=$!
for _ in $(seq 50); do
  lpstat -h "127.0.0.1:$port" -r >/dev/null 2>&1 && break
  sleep 0.1
done
lpadmin -h "127.0.0.1:$port" -p PL4120 -E -v socket://127.0.0.1:9100
lpadmin -h "127.0.0.1:$port" -p Office -E -v socket://127.0.0.1:9101

# A text of 300 KB in code page 866, and a printer that takes 10 KB a second.
for i in $(seq 6000); do
  printf 'Строка %04d: пробный текст для принтера ПЛ 4120.\r\n' "$i"
done | iconv -f UTF-8 -t CP866 >"$work/letter.txt"
mkfifo "$work/printer"

# shellcheck disable=SC2016
steps='
  program=$1 geometry=$2 work=$3
  openbox >/dev/null 2>&1 &
  wm=$!
  trap "kill \$wm \${drain:-} \${app:-} 2>/dev/null || true" EXIT
  sleep 1
  "$geometry" >"$work/layout"
  # Opened for reading and writing: the reader stays even between two writers.
  python3 -c "
import os, sys, time
fd = os.open(sys.argv[1], os.O_RDWR)
while True:
    os.read(fd, 1000)
    time.sleep(0.1)
" "$work/printer" &
  drain=$!
  "$program" &
  app=$!
  for _ in $(seq 50); do
    win=$(xdotool search --onlyvisible --name "^Работа с принтером" 2>/dev/null | head -n 1) && [ -n "$win" ] && break
    sleep 0.2
  done
  sleep 1.5
  info=$(xwininfo -id "$win")
  wx=$(sed -n "s/.*Absolute upper-left X: *//p" <<<"$info")
  wy=$(sed -n "s/.*Absolute upper-left Y: *//p" <<<"$info")
  ww=$(sed -n "s/.*Width: *//p" <<<"$info")
  # The layout is that of the window at its designed size; the panel of the text page keeps
  # to the right edge of the maximised window.
  designed=$(awk "\$1 == \"StatusBar1\" { print \$4 }" "$work/layout")
  click() {
    local x y w h
    read -r x y w h < <(awk -v n="$1" "\$1 == n { print \$2, \$3, \$4, \$5 }" "$work/layout")
    [ "${2:-}" = right ] && x=$((ww - designed + x))
    xdotool mousemove --sync $((wx + x + w / 2)) $((wy + y + h / 2)) click 1
    sleep 0.4
  }
  device() {
    click tab:PageSets
    click PrnName
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
  }

  # "Чтение текста": the file name typed into the open dialog.
  click btLoadTx right
  sleep 1.5
  xdotool type --delay 10 "$work/letter.txt"
  xdotool key Return
  sleep 1.5
  device "$work/printer"
  click tab:pgTxtEdt
  click btPrinTx right
  sleep 2
  import -window root docs/screenshot-progress.png
  # "Отмена" sits in the lower right corner of the progress window.
  progress=$(xdotool search --onlyvisible --name "^Печать$" | head -n 1)
  [ -n "$progress" ] || { echo "screenshots: no progress window" >&2; exit 1; }
  info=$(xwininfo -id "$progress")
  px=$(sed -n "s/.*Absolute upper-left X: *//p" <<<"$info")
  py=$(sed -n "s/.*Absolute upper-left Y: *//p" <<<"$info")
  pw=$(sed -n "s/.*Width: *//p" <<<"$info")
  ph=$(sed -n "s/.*Height: *//p" <<<"$info")
  xdotool mousemove --sync $((px + pw - 50)) $((py + ph - 22)) click 1
  sleep 1
  import -window root "$work/cancelled.png"
  cp "$work/cancelled.png" /tmp/sendui-cancelled.png
  xdotool key Return
  sleep 0.5

  # A printer port that is not there: the box names the queues of the print service.
  device LPT9
  click SetPrint1
  sleep 2
  import -window root docs/screenshot-printer-missing.png
  xdotool key Return
  sleep 0.5
  click QuitNoSv
  timeout 10 tail --pid="$app" -f /dev/null || true
'
mkdir -m 700 "$work/xdg"
CUPS_SERVER="127.0.0.1:$port" XDG_RUNTIME_DIR=$work/xdg timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -euc "$steps" bash "$program" "$geometry" "$work"
# Small files for the repository: the pictures need few colours.
shots=(docs/screenshot-progress.png docs/screenshot-printer-missing.png)
for shot in "${shots[@]}"; do
  convert "$shot" -colors 64 -strip "PNG8:$shot"
done
echo "screenshots: wrote ${shots[*]}"
