#!/usr/bin/env bash
# Installs the built project into a temporary prefix, as `cmake --install` does for a user, and
# checks what a desktop finds there: the program, a desktop entry and an AppStream metainfo
# file that their validators accept, the icon in the hicolor theme at the sizes its folders
# promise, and that the three agree with each other (the entry starts an installed program
# and names an installed icon; the metainfo launches the entry and carries the project's
# version and licence).
#
# Usage: test_install.sh CMAKE BUILD_DIR VERSION [CONFIG]
# Exit code 77 (skipped) when a validator is not installed.
set -uo pipefail

CMAKE=${1:?usage: test_install.sh CMAKE BUILD_DIR VERSION [CONFIG]}
BUILD=${2:?usage}
VERSION=${3:?usage}
CONFIG=${4:-}

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (packages desktop-file-utils, appstream)"
    exit 77
  fi
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

config_args=()
[[ -n $CONFIG ]] && config_args=(--config "$CONFIG")
if ! "$CMAKE" --install "$BUILD" --prefix "$PREFIX" "${config_args[@]}" >"$WORK/install.log" 2>&1; then
  cat "$WORK/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi

# The program, and that it runs from where it was installed.
[[ -x $PREFIX/bin/pl4120 ]] || fail "bin/pl4120 is not installed"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$PREFIX/bin/pl4120" --version)
[[ $version == "pl4120 $VERSION" ]] || fail "the installed program says \"$version\""
[[ -f $PREFIX/share/doc/pl4120/LICENSE ]] || fail "the licence is not installed"

# The desktop entry: valid without errors or warnings (hints are advice only).
mapfile -t entries < <(find "$PREFIX/share/applications" -name '*.desktop' 2>/dev/null)
if [[ ${#entries[@]} -ne 1 ]]; then
  fail "expected one desktop entry, found ${#entries[@]}"
  exit 1
fi
entry=${entries[0]}
id=$(basename "$entry" .desktop)
if ! desktop-file-validate "$entry" >"$WORK/desktop.log" 2>&1 ||
  grep -qE '(error|warning):' "$WORK/desktop.log"; then
  fail "desktop-file-validate: $(cat "$WORK/desktop.log")"
fi
key() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
[[ $(key Name) == "ПЛ 4120" ]] || fail "the entry's Name is \"$(key Name)\""
[[ $(key Comment) == *[А-Яа-я]* ]] || fail "the entry's Comment is not Russian: \"$(key Comment)\""
[[ ";$(key Categories)" == *";Utility;"* && ";$(key Categories)" == *";Printing;"* ]] ||
  fail "the entry's categories are \"$(key Categories)\""
exec_name=$(key Exec | cut -d' ' -f1)
[[ -x $PREFIX/bin/$exec_name ]] || fail "the entry starts \"$exec_name\", which is not installed"

# The icon it names: the scalable one, and every PNG as large as its folder says.
icon=$(key Icon)
[[ -f $PREFIX/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
  fail "no scalable icon $icon.svg in hicolor"
mapfile -t pngs < <(find "$PREFIX/share/icons/hicolor" -path "*/apps/$icon.png")
[[ ${#pngs[@]} -ge 1 ]] || fail "no PNG icon $icon.png in hicolor"
for png in "${pngs[@]}"; do
  folder=$(basename "$(dirname "$(dirname "$png")")")
  # Width and height: the big-endian words at offsets 16 and 20 of a PNG.
  size=$(od -An -tu1 -j16 -N8 "$png" | awk '{printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [[ $size == "$folder" ]] || fail "$png is $size, in folder $folder"
done

# The metainfo: valid for appstreamcli, and about this entry, this program and this version.
metainfo=$PREFIX/share/metainfo/$id.metainfo.xml
if [[ ! -f $metainfo ]]; then
  fail "no metainfo $id.metainfo.xml"
else
  appstreamcli validate --no-net "$metainfo" >"$WORK/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$WORK/appstream.log")"
  grep -qF "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
  grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
  grep -qF "<project_license>MIT</project_license>" "$metainfo" || fail "no MIT project licence"
  binary=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
  [[ -x $PREFIX/bin/$binary ]] || fail "the metainfo provides \"$binary\", which is not installed"
  newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
  [[ $newest == "$VERSION" ]] ||
    fail "the metainfo's newest release is \"$newest\", the project's version $VERSION"
  grep -q '<name xml:lang="ru">ПЛ 4120</name>' "$metainfo" || fail "no Russian name"
  grep -q '<summary xml:lang="ru">' "$metainfo" || fail "no Russian summary"
  grep -q '<p xml:lang="ru">' "$metainfo" || fail "no Russian description"
fi

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install: every check passed (prefix $PREFIX)"
