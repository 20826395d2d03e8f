#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors) and runs every test with ctest.
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
