#!/usr/bin/env bash
# Makes the Debian package from a Release build and checks what it holds, with
# lintian (no error or warning, pedantic notes shown) and appstreamcli:
#   scripts/check-package.sh [BUILD]        (BUILD defaults to build)
# The package is left in BUILD/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cache=$build/CMakeCache.txt
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$cache" || { echo "$build is not a Release build" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
deb=$build/package/ovelsk_${version}_$(dpkg --print-architecture).deb

rm -f "$deb"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$PWD/$build/package" >&2
[ -f "$deb" ] || { echo "cpack made no $deb" >&2; exit 1; }

failures=0
fail() { echo "$deb: $*" >&2; failures=$((failures + 1)); }

expected="./usr/bin/ovelsk
./usr/bin/ovelsk-decode
./usr/lib/systemd/user/ovelsk.service
./usr/share/applications/ovelsk.desktop
./usr/share/doc/ovelsk/README.md.gz
./usr/share/doc/ovelsk/UI-View32.ini.example
./usr/share/doc/ovelsk/changelog.gz
./usr/share/doc/ovelsk/copyright
./usr/share/icons/hicolor/16x16/apps/ovelsk.png
./usr/share/icons/hicolor/32x32/apps/ovelsk.png
./usr/share/icons/hicolor/48x48/apps/ovelsk.png
./usr/share/icons/hicolor/scalable/apps/ovelsk.svg
./usr/share/man/man1/ovelsk-decode.1.gz
./usr/share/man/man1/ovelsk.1.gz
./usr/share/metainfo/io.github.ovelsk.Ovelsk.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected" ] || fail "holds other files than expected:
$(diff <(echo "$expected") <(echo "$files") || true)"

[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "section is not hamradio"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libgeographic* ]] || fail "dependencies not found by shlibdeps: '$depends'"

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
for program in ovelsk ovelsk-decode; do
  file "$contents/usr/bin/$program" | grep -q ', stripped' || fail "/usr/bin/$program is not stripped"
done
desktop-file-validate "$contents/usr/share/applications/ovelsk.desktop" || fail "the desktop entry is not valid"
grep -q 'Permission is hereby granted' "$contents/usr/share/doc/ovelsk/copyright" || fail "copyright lacks the licence"
grep -qx 'ExecStart=/usr/bin/ovelsk --headless' "$contents/usr/lib/systemd/user/ovelsk.service" ||
  fail "the user unit does not start /usr/bin/ovelsk --headless"
appstreamcli validate --no-net "$contents/usr/share/metainfo/io.github.ovelsk.Ovelsk.metainfo.xml" >&2 ||
  fail "the AppStream metadata is not valid"
readme=$(zcat "$contents/usr/share/doc/ovelsk/README.md.gz")
if grep -nE 'build/|scripts/|<!--|`(app|aprs|feeds|gateway|host|radar|stations|standin|status)/`|beside the program' <<<"$readme" >&2; then
  fail "the README speaks of a checkout"
fi
grep -q 'ovelsk.service' <<<"$readme" || fail "the README does not name ovelsk.service"
lintian --pedantic --fail-on error,warning "$deb" >&2 || fail "lintian reports errors or warnings"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb"): holds what it should"
