#!/usr/bin/env bash
# The Debian package as a user gets it: made by cpack from this build, its control data
# naming Debian's own runtime packages, its files where a desktop finds them.
#   check-package.sh <build dir> <source dir>
set -euo pipefail
build=$1
source=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$(ls "$out"/vemra_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = vemra ] || fail "wrong package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for runtime in libqt6widgets6 libqt6serialport6 libqt6core6 libqcustomplot2.1-qt6 libc6; do
  grep -q "\b$runtime\b" <<<"$depends" || fail "Depends lacks $runtime"
done
grep -q -- "-dev\b" <<<"$depends" && fail "Depends names a development package"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/vemra ./usr/bin/vemra-rig ./usr/share/applications/vemra.desktop \
  ./usr/share/icons/hicolor/scalable/apps/vemra.svg; do
  grep -qx -- "$file" <<<"$contents" || fail "$file is not in the package"
done
desktop-file-validate "$source/packaging/vemra.desktop"
echo "package: $(basename "$deb") is complete"
