#!/usr/bin/env bash
# Renews the README's pictures of the window: starts the built program on a virtual display
# with a window manager (which maximises it as on a desktop) and photographs both pages, the
# open dialog and the editor's context menu.
#   docs/screenshot-text.png      the text page, shown at start
#   docs/screenshot-settings.png  the settings page
#   docs/screenshot-open-dialog.png   the open dialog of "Чтение текста", in Russian
#   docs/screenshot-context-menu.png  the editor's context menu, in Russian
#   docs/screenshot-preview.png   "Просмотр печати" of docs/preview-sample.txt at 10 cpi; the
#                                 same at 12 cpi and condensed go to build/screenshots/
# Build first (cmake --preset release && cmake --build --preset release); the first argument
# may name another build of the program (its build tree holds tests/e2e/pl4120_geometry, which
# says where the window lays out its controls).
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/release/app/pl4120}
geometry=$(dirname "$program")/../tests/e2e/pl4120_geometry
for built in "$program" "$geometry"; do
  if [ ! -x "$built" ]; then
    echo "screenshots: $built is not built" >&2
    exit 1
  fi
done
for tool in xvfb-run openbox import xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
mkdir -p docs

# The steps on the virtual display; the window starts on the text page with the focus on the
# tab strip, so the Left key brings up the settings page to its left.
# shellcheck disable=SC2016
steps='
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$0" &
  app=$!
  for _ in $(seq 50); do
    xdotool search --name "ПЛ 4120" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1.5
  import -window root docs/screenshot-text.png
  xdotool key Left
  sleep 0.5
  import -window root docs/screenshot-settings.png
  xdotool key Right
  sleep 0.5
  # "Чтение текста" stands at the top of the panel at the right edge of the maximised window.
  xdotool mousemove 743 82 click 1
  sleep 1.5
  import -window root docs/screenshot-open-dialog.png
  xdotool key Escape
  sleep 0.5
  # Some text, all of it selected, so that the menu offers its commands.
  xdotool mousemove 300 250 click 1
  xdotool type --delay 80 "Пробный текст"
  sleep 0.3
  xdotool key ctrl+a
  sleep 1
  xdotool click 3
  sleep 1
  import -window root docs/screenshot-context-menu.png
  xdotool key Escape
  kill "$app" "$wm"
  wait "$app" "$wm" 2>/dev/null || true
'
# A configuration folder of its own: the pictures show the defaults, whatever is stored.
XDG_RUNTIME_DIR=$(mktemp -d) XDG_CONFIG_HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 800x600x24" bash -euc "$steps" "$program"

# The preview, on a larger screen: the sample read with "Чтение текста", then for each pitch
# the settings page set and "Просмотр" pressed; the preview window photographed and closed.
mkdir -p build/screenshots
# shellcheck disable=SC2016
preview_steps='
  program=$1 geometry=$2 sample=$3
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  "$program" &
  app=$!
  win=
  for _ in $(seq 50); do
    win=$(xdotool search --onlyvisible --name "ПЛ 4120" | head -n 1) && [ -n "$win" ] && break
    sleep 0.2
  done
  sleep 1.5
  "$geometry" >build/screenshots/layout
  info=$(xwininfo -id "$win")
  wx=$(sed -n "s/.*Absolute upper-left X: *//p" <<<"$info")
  wy=$(sed -n "s/.*Absolute upper-left Y: *//p" <<<"$info")
  width=$(sed -n "s/.*Width: *//p" <<<"$info")
  where() {
    awk -v name="$1" "\$1 == name { print \$2, \$3, \$4, \$5 }" build/screenshots/layout
  }
  # The layout is that of the restored window; the button panel keeps to the right edge.
  read -r panel _ panelWidth _ < <(where pnTextBt)
  shift=$((width - panel - panelWidth))
  click() {
    local x y w h
    read -r x y w h < <(where "$1")
    [ -n "${h:-}" ] || { echo "screenshots: no control $1" >&2; exit 1; }
    [ "$x" -lt "$panel" ] || x=$((x + shift))
    xdotool mousemove --sync $((wx + x + 6)) $((wy + y + h / 2)) click 1
    sleep 0.3
  }
  click btLoadTx
  sleep 1.5
  xdotool type --delay 5 "$sample"
  xdotool key Return
  sleep 1.5
  for mode in 10cpi 12cpi condensed; do
    click tab:PageSets
    case $mode in
      10cpi) click Wid10smb ;;
      12cpi) click Wid12smb ;;
      condensed) click Wid10smb && click WidElite ;;
    esac
    click tab:pgTxtEdt
    click btViewTx
    sleep 1.5
    preview=$(xdotool search --onlyvisible --name "^Просмотр печати$" | head -n 1) || true
    [ -n "$preview" ] || { echo "screenshots: no window \"Просмотр печати\"" >&2; exit 1; }
    import -frame -window "$preview" "build/screenshots/preview-$mode.png"
    xdotool windowactivate --sync "$preview" key Escape
    sleep 0.5
  done
  kill "$app" "$wm"
  wait "$app" "$wm" 2>/dev/null || true
'
XDG_RUNTIME_DIR=$(mktemp -d) XDG_CONFIG_HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -euc "$preview_steps" screenshots "$program" "$geometry" "$PWD/docs/preview-sample.txt"
cp build/screenshots/preview-10cpi.png docs/screenshot-preview.png

# Small files for the repository: the pictures need few colours.
shots=(docs/screenshot-text.png docs/screenshot-settings.png docs/screenshot-open-dialog.png
  docs/screenshot-context-menu.png docs/screenshot-preview.png)
for shot in "${shots[@]}"; do
  convert "$shot" -colors 64 -strip "PNG8:$shot"
done
echo "screenshots: wrote ${shots[*]}"
