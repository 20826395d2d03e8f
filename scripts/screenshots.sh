#!/usr/bin/env bash
# Renews the README's pictures of the window: starts the built program on a virtual display
# with a window manager (which maximises it as on a desktop) and photographs both pages, the
# open dialog and the editor's context menu.
#   docs/screenshot-text.png      the text page, shown at start
#   docs/screenshot-settings.png  the settings page
#   docs/screenshot-open-dialog.png   the open dialog of "Чтение текста", in Russian
#   docs/screenshot-context-menu.png  the editor's context menu, in Russian
# Build first (cmake --preset release && cmake --build --preset release); the first argument
# may name another build of the program.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/release/ui/pl4120}
if [ ! -x "$program" ]; then
  echo "screenshots: $program is not built" >&2
  exit 1
fi
for tool in xvfb-run openbox import xdotool; do
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
# Small files for the repository: the pictures need few colours.
shots=(docs/screenshot-text.png docs/screenshot-settings.png docs/screenshot-open-dialog.png
  docs/screenshot-context-menu.png)
for shot in "${shots[@]}"; do
  convert "$shot" -colors 64 -strip "PNG8:$shot"
done
echo "screenshots: wrote ${shots[*]}"
