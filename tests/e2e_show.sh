#!/bin/sh
# End to end: the real program plays the default show in a virtual display and exits with 0,
# leaving no data directory behind.
# Usage: e2e_show.sh PROGRAM escape|untouched|window [QZ2_TOOL] (beside PROGRAM: Start.Dll and PACK.ZUL);
# runs inside xvfb-run.
#   escape:    Escape is held once the window is up, so every scene draws one frame: done in seconds.
#   untouched: no key at all, so every scene plays until its camera track runs out (110 s in all).
#   window:    started with --window --scene 4, it opens an 800 x 600 window showing the fourth scene (its
#              picture is nearer to QZ2_TOOL's renders of scene 4 than to those of scene 1); then as escape.
set -u
. "$(dirname "$0")/nearest_scene.sh"
program=$1
mode=$2
work=$(mktemp -d)
trap 'xdotool keyup Escape 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/tmp"
# A session's runtime directory, as a desktop has: without one the sound system's client keeps its own
# files under TMP, beside the data directory.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
cp "$(dirname "$program")/PACK.ZUL" "$work/"
cd "$work"

# The scene (1 or 4) whose renders, at a few times, come nearest to the window's picture now.
scene_shown() {
  ffmpeg -v error -y -f x11grab -video_size 800x600 -i "$DISPLAY+50,50" -frames:v 1 "$work/shown.png"
  nearest_scene "$1" "$work/PACK.ZUL" "$work/shown.png" "1 4" "0.5 1 1.5 2 2.5"
}

options=
[ "$mode" = window ] && options="--window --scene 4"
start=$(date +%s)
# shellcheck disable=SC2086
TMP="$work/tmp" "$program" $options &
pid=$!
if [ "$mode" != untouched ]; then
  sleep 2
  if [ "$mode" = window ]; then
    geometry=$(xdotool search --name "QZ2" getwindowgeometry | sed -n 's/.*Geometry: //p')
    if [ "$geometry" != 800x600 ]; then
      echo "FAIL: --window opened a window of '$geometry', not 800x600" >&2
      kill "$pid"
      exit 1
    fi
    shown=$(scene_shown "$3")
    if [ "$shown" != 4 ]; then
      echo "FAIL: --scene 4 shows a picture nearest to scene $shown" >&2
      kill "$pid"
      exit 1
    fi
  fi
  # Timed from the key on: the renders above take long on a busy machine.
  pressed=$(date +%s)
  xdotool keydown Escape
fi
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
if [ "$mode" != untouched ] && [ $(( $(date +%s) - pressed )) -gt 40 ]; then
  echo "FAIL: Escape did not skip the scenes ($(( $(date +%s) - pressed )) s)" >&2
  exit 1
fi
if [ "$mode" = untouched ] && [ "$elapsed" -lt 110 ]; then
  echo "FAIL: the scenes ended before their camera tracks ($elapsed s of 110)" >&2
  exit 1
fi
echo "the show ran through in $elapsed s"
