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
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
exe=${exec_line%% *}
test -x "$usr/bin/$exe" || { echo "Exec=$exec_line: $exe is not installed in bin/" >&2; exit 1; }
test "$exec_line" = "$exe %f" || { echo "Exec=$exec_line does not pass the file opened (%f)" >&2; exit 1; }

# The session files' type: installed for update-mime-database, named by the
# desktop entry, and known by its glob once the database is built.
mime_type=application/x-marvane-session
test -f "$usr/share/mime/packages/marvane.xml" || { echo "no shared-mime-info file" >&2; exit 1; }
grep -qx "MimeType=$mime_type;" "$desktop" || { echo "the desktop entry names no $mime_type" >&2; exit 1; }
cp -r "$usr/share/mime" "$scratch/mime"
update-mime-database "$scratch/mime" >/dev/null 2>&1 || { echo "update-mime-database failed" >&2; exit 1; }
grep -q "^[0-9]*:$mime_type:\*\.marvane" "$scratch/mime/globs2" ||
  { echo "update-mime-database gives *.marvane no $mime_type" >&2; exit 1; }
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
# its menu, or with the session it was given, until the timeout ends it
# (status 124). Any other end is a fault. A file that is no session ends it
# at once with status 2, said on standard error.
"$usr/bin/marvane" --version | grep -q '^marvane '
"$usr/bin/marvane" --help | grep -q 'FILE.marvane'
cat > "$scratch/work.marvane" <<'SESSION'
{"format": "marvane-session", "formatVersion": 1, "form": "Quant",
 "boxes": {"bx": "0.5", "bz": "0.25", "bxz": "0.125", "a": "2", "stdz": "2", "stdx": "4"},
 "steps": [{"button": "Command1", "boxes": {"bx": "0.5", "bz": "0.25", "bxz": "0.125", "a": "2", "stdz": "2", "stdx": "4"}}],
 "plot": {"open": true, "settings": {"xTitle": "Weight"}}}
SESSION
echo '{"format": "something else"}' > "$scratch/other.marvane"
export XDG_DATA_HOME="$scratch/data"
for args in "" "$scratch/work.marvane"; do
  set +e
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/marvane" $args
  status=$?
  set -e
  if [ "$status" -ne 124 ]; then echo "the unpacked program ($args) ended with status $status" >&2; exit 1; fi
done
set +e
QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/marvane" "$scratch/other.marvane" 2> "$scratch/said"
status=$?
set -e
if [ "$status" -ne 2 ] || ! grep -q 'not a Marvane session' "$scratch/said"; then
  echo "a file that is no session ended the program with status $status: $(cat "$scratch/said")" >&2; exit 1
fi
echo "package $(basename "$deb"): file list, desktop entry, MIME type, metainfo, icons and start-up checked"
