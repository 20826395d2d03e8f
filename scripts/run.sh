#!/usr/bin/env bash
# Installs what is missing, builds the release version and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

pl4120_install_deps
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display to show the window on; start it under a virtual one: xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi
exec ./build/release/app/pl4120
