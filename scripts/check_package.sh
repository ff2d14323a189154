#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, checks that it
# holds exactly what `cmake --install` installs, validates the desktop entry,
# the metainfo and (where lintian is installed) the package, and starts the
# unpacked program offscreen far enough to show its menu.
set -euo pipefail
build=${1:-build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

rm -f "$build"/marvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/marvane_*.deb)

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
dpkg-deb -x "$deb" "$scratch/deb"
(cd "$scratch/prefix" && find . -type f | sort) > "$scratch/installed"
(cd "$scratch/deb/usr" && find . -type f | sort) > "$scratch/packaged"
if ! diff -u "$scratch/installed" "$scratch/packaged"; then
  echo "package file list differs from the installed files" >&2; exit 1
fi

usr="$scratch/deb/usr"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$usr"/share/metainfo/*.metainfo.xml)
desktop="$usr/share/applications/$id.desktop"
test -f "$desktop" || { echo "no desktop entry named after the id $id" >&2; exit 1; }
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null
exe=$(sed -n 's/^Exec=//p' "$desktop")
test -x "$usr/bin/$exe" || { echo "Exec=$exe is not installed in bin/" >&2; exit 1; }
icon=$(sed -n 's/^Icon=//p' "$desktop")
test "$icon" = "$id" || { echo "Icon=$icon is not the id $id" >&2; exit 1; }
for size in 16 32 48 64 128 256; do
  test -f "$usr/share/icons/hicolor/${size}x${size}/apps/$id.png" || { echo "no $size px icon" >&2; exit 1; }
done
test -f "$usr/share/icons/hicolor/scalable/apps/$id.svg"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation2' || { echo "no font dependency" >&2; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no Qt dependency" >&2; exit 1; }

if command -v lintian >/dev/null; then
  # lintian itself ends with a failure status when it reports an error; under
  # pipefail that status, not grep's, decided the test, and errors passed.
  findings=$(lintian "$deb" 2>/dev/null || true)
  if grep '^E:' <<<"$findings"; then echo "lintian reports errors" >&2; exit 1; fi
fi

# --version prints without a display; the program itself keeps running with
# its menu until the timeout ends it (status 124). Any other end is a fault.
"$usr/bin/marvane" --version | grep -q '^marvane '
set +e
QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/marvane"
status=$?
set -e
if [ "$status" -ne 124 ]; then echo "the unpacked program ended with status $status" >&2; exit 1; fi
echo "package $(basename "$deb"): file list, desktop entry, metainfo, icons and start-up checked"
