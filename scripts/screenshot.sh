#!/usr/bin/env bash
# Takes a screenshot of the running program under Xvfb.
# Usage: scripts/screenshot.sh BINARY OUT.png [xdotool-free driver: a command run with DISPLAY set]
set -euo pipefail
bin=$1; out=$2; shift 2
export DISPLAY=:97
Xvfb :97 -screen 0 1280x1024x24 -dpi 96 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
"$bin" &
app=$!
sleep 2
if [ $# -gt 0 ]; then "$@"; sleep 1; fi
import -window root "$out"
kill $app 2>/dev/null || true
