#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors) and runs every test with ctest; then builds
# the fuzz targets with clang and runs each for a few seconds (skipped where clang or its
# libFuzzer cannot be installed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

pl4120_install_deps

echo "== format check"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t sources < <(find printer text ui tests bench -name '*.cpp' -o -name '*.h')
fi
clang-format --dry-run --Werror "${sources[@]}"

echo "== configure and build (asan)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)"

echo "== tests"
ctest --preset asan -j "$(nproc)"

echo "== fuzz smoke run"
if pl4120_install_deps "${PL4120_FUZZ_PACKAGES[@]}" && command -v clang++ >/dev/null 2>&1; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$(nproc)"
  ctest --preset fuzz -j "$(nproc)"
else
  echo "skipped: clang++ with libFuzzer is not available (packages: ${PL4120_FUZZ_PACKAGES[*]})"
fi
