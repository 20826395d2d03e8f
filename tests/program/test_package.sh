#!/usr/bin/env bash
# Builds the Debian package from the built project with CPack, into a temporary folder, and
# checks its control data and contents: the name and version, the run-time dependencies
# (the libraries found by dpkg-shlibdeps and Qt's platform plugins) and the installed files.
#
# Usage: test_package.sh CPACK CPACK_CONFIG VERSION
# Exit code 77 (skipped) when dpkg-deb or dpkg-shlibdeps is not installed.
set -uo pipefail

CPACK=${1:?usage: test_package.sh CPACK CPACK_CONFIG VERSION}
CONFIG=${2:?usage}
VERSION=${3:?usage}

for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (packages dpkg, dpkg-dev)"
    exit 77
  fi
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! "$CPACK" -G DEB --config "$CONFIG" -B "$WORK" >"$WORK/cpack.log" 2>&1; then
  cat "$WORK/cpack.log" >&2
  echo "FAIL: cpack -G DEB failed" >&2
  exit 1
fi
mapfile -t debs < <(find "$WORK" -maxdepth 1 -name '*.deb')
if [[ ${#debs[@]} -ne 1 ]]; then
  echo "FAIL: expected one .deb, found ${#debs[@]}" >&2
  exit 1
fi
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == pl4120 ]] || fail "Package is \"$(field Package)\""
[[ $(field Version) == "$VERSION" ]] || fail "Version is \"$(field Version)\", expected $VERSION"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] ||
  fail "Architecture is \"$(field Architecture)\""
depends=$(field Depends)
depends_on() { [[ ", $depends," == *", $1"[\ ,]* ]]; }
depends_on qt6-qpa-plugins || fail "Depends lacks Qt's platform plugins: $depends"
# Every shared library that the packaged program needs comes from a package it depends on.
dpkg-deb -x "$deb" "$WORK/root"
mapfile -t needed < <(readelf -d "$WORK/root/usr/bin/pl4120" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[[ ${#needed[@]} -gt 0 ]] || fail "the packaged program needs no library at all?"
# The libraries of this architecture, not those of another one installed beside it (lib32).
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
for library in "${needed[@]}"; do
  owner=$(dpkg -S "*/$triplet/$library" 2>/dev/null | head -n 1 | cut -d: -f1)
  if [[ -z $owner ]]; then
    fail "no installed package holds $library"
  elif ! depends_on "$owner"; then
    fail "the program needs $library from $owner, which Depends lacks: $depends"
  fi
done
[[ $(field Recommends) == *qt6-translations-l10n* ]] ||
  fail "Recommends lacks the Russian Qt texts: $(field Recommends)"
[[ $(field Recommends) == *fonts-dejavu-core* ]] ||
  fail "Recommends lacks the fonts of the window and the preview: $(field Recommends)"

dpkg-deb -c "$deb" | awk '{print $6}' >"$WORK/contents"
for file in ./usr/bin/pl4120 \
            ./usr/share/applications/org.pl4120.pl4120.desktop \
            ./usr/share/metainfo/org.pl4120.pl4120.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/org.pl4120.pl4120.svg \
            ./usr/share/icons/hicolor/256x256/apps/org.pl4120.pl4120.png \
            ./usr/share/doc/pl4120/LICENSE; do
  grep -qxF "$file" "$WORK/contents" || fail "the package lacks $file"
done

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package: every check passed"
dpkg-deb -I "$deb"
