#!/bin/sh
# End to end: the real program plays the default show in a virtual display with Escape held,
# goes through all nine scenes, exits with 0 and leaves no data directory behind.
# Usage: e2e_show.sh PROGRAM (beside it: Start.Dll and PACK.ZUL). Runs inside xvfb-run.
set -u
program=$1
work=$(mktemp -d)
trap 'xdotool keyup Escape 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/tmp"
cp "$(dirname "$program")/PACK.ZUL" "$work/"
cd "$work"

start=$(date +%s)
TMP="$work/tmp" "$program" &
pid=$!
# Hold Escape once the window is up: every scene then draws one frame.
sleep 2
xdotool keydown Escape
status=0
wait "$pid" || status=$?
elapsed=$(( $(date +%s) - start ))

if [ "$status" -ne 0 ]; then
  echo "FAIL: the show ended with exit code $status" >&2
  exit 1
fi
if [ -n "$(ls -A "$work/tmp")" ]; then
  echo "FAIL: the data directory is still there: $(ls -A "$work/tmp")" >&2
  exit 1
fi
# Played through without Escape the show lasts well over a minute.
if [ "$elapsed" -gt 40 ]; then
  echo "FAIL: Escape did not skip the scenes ($elapsed s)" >&2
  exit 1
fi
echo "the show ran through in $elapsed s"
