#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the program need and is missing.
# Sourced by run.sh and test.sh; quick when everything is present.
set -euo pipefail

PL4120_PACKAGES=(
  g++ cmake ninja-build git clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcups2-dev  # the print service's client library
  cups-ipp-utils dbus-daemon cups-daemon cups-client cups  # the tests' own printer and service
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils openbox imagemagick
  fonts-dejavu-core
  # Qt's own texts in Russian; validating the desktop entry and the metainfo; the .deb
  qt6-translations-l10n desktop-file-utils appstream dpkg-dev file
  # reading back the preview's PDF in its tests
  poppler-utils
)

# The fuzz targets need clang with its libFuzzer runtime; without them test.sh skips fuzzing.
PL4120_FUZZ_PACKAGES=(clang libclang-rt-dev)

# Prints those of the given packages (all of PL4120_PACKAGES without arguments) that are not
# installed.
pl4120_missing_packages() {
  local pkg
  if [ $# -eq 0 ]; then
    set -- "${PL4120_PACKAGES[@]}"
  fi
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$pkg"
    fi
  done
}

# Installs those of the given packages (all of PL4120_PACKAGES without arguments) that are
# missing.
pl4120_install_deps() {
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "deps: this is not a Debian/Ubuntu system; install by hand: ${*:-${PL4120_PACKAGES[*]}}" >&2
    return 1
  fi
  local missing
  missing=$(pl4120_missing_packages "$@" | tr '\n' ' ')
  if [ -z "${missing// /}" ]; then
    return 0
  fi
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "deps: missing packages ($missing) and no root rights to install them" >&2
      return 1
    fi
  fi
  echo "deps: installing: $missing"
  "${sudo[@]}" apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends $missing
}
