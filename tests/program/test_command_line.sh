#!/usr/bin/env bash
# The program's command line, run as a user runs it from a terminal without any display:
# --help and --version print and end at once, in Russian, without opening a window; a wrong
# argument gives a Russian error on standard error and exit code 1; Qt's own options are let
# through to the window.
#
# Usage: test_command_line.sh path/to/pl4120 VERSION
set -uo pipefail

BIN=${1:?usage: test_command_line.sh path/to/pl4120 VERSION}
VERSION=${2:?usage: test_command_line.sh path/to/pl4120 VERSION}

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -m 700 "$WORK/runtime" "$WORK/config"
failures=0

# Runs the program with no display at all (a GUI start would abort), within a time limit.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" \
    timeout 20 "$BIN" "$@" >"$WORK/out" 2>"$WORK/err"
}

fail() {
  echo "FAIL: $*" >&2
  echo "  stdout: $(cat "$WORK/out")" >&2
  echo "  stderr: $(cat "$WORK/err")" >&2
  failures=$((failures + 1))
}

# One case: the arguments (one string, split at blanks), the exit code, a fixed string that
# standard output must contain and one that standard error must contain; "-" for an output
# that must stay empty.
check() {
  local args=$1 code=$2 out=$3 err=$4
  # shellcheck disable=SC2086
  run $args
  local got=$?
  [[ $got -eq $code ]] || fail "pl4120 $args: exit code $got, expected $code"
  if [[ $out == - ]]; then
    [[ ! -s $WORK/out ]] || fail "pl4120 $args: standard output is not empty"
  else
    grep -qF -- "$out" "$WORK/out" || fail "pl4120 $args: standard output lacks \"$out\""
  fi
  if [[ $err == - ]]; then
    [[ ! -s $WORK/err ]] || fail "pl4120 $args: standard error is not empty"
  else
    grep -qF -- "$err" "$WORK/err" || fail "pl4120 $args: standard error lacks \"$err\""
  fi
}

#     arguments                   exit  standard output                      standard error
check "--help"                    0     "Использование: pl4120 [параметры]"   -
check "-h"                        0     "показать версию программы и выйти"   -
check "--version"                 0     "pl4120 $VERSION"                     -
check "-v"                        0     "pl4120 $VERSION"                     -
check "-platform offscreen --help" 0    "--version"                           -
check "--style fusion -v"         0     "pl4120 $VERSION"                     -
check "--bogus"                   1     -   "pl4120: неизвестный параметр «--bogus»."
check "-x"                        1     -   "неизвестный параметр «-x»."
check "--bogus --help"            1     -   "Справка: pl4120 --help"
check "--version=2"               1     -   "параметр «--version» не принимает значения."
check "-style"                    1     -   "у параметра «-style» нет значения."
check "text.txt"                  1     -   "лишний аргумент «text.txt»"

# The whole help and the version line, exactly.
run --version
[[ $(cat "$WORK/out") == "pl4120 $VERSION" ]] || fail "--version prints more than its line"
run --help
for line in "  -h, --help     показать эту справку и выйти" \
            "  -v, --version  показать версию программы и выйти"; do
  grep -qxF -- "$line" "$WORK/out" || fail "--help lacks the line \"$line\""
done
# Apart from the option names and a few proper names, no Latin words.
english=$(sed -e 's/--\?[a-z]\+//g' -e 's/pl4120\|ESC\/P\|Qt//g' "$WORK/out" | grep -o '[A-Za-z]\{2,\}')
[[ -z $english ]] || fail "--help holds English words: $english"

# Qt's own options reach the window: with an offscreen platform given on the command line the
# program starts and keeps running until it is stopped.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" \
  timeout 3 "$BIN" -platform offscreen >"$WORK/out" 2>"$WORK/err"
code=$?
[[ $code -eq 124 ]] || fail "pl4120 -platform offscreen ended by itself with exit code $code"

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "command line: every check passed"
