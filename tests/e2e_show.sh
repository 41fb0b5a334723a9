#!/bin/sh
# End to end: the real program plays the default show in a virtual display and exits with 0,
# leaving no data directory behind.
# Usage: e2e_show.sh PROGRAM MODE QZ2_TOOL SEND_CLOSE (beside PROGRAM: Start.Dll and PACK.ZUL); runs inside xvfb-run.
#   escape:    Escape is held once the window is up, so every scene draws one frame: done in seconds.
#   untouched: no key at all, so every scene plays until its camera track runs out (110 s in all).
#   window:    started with --window --scene 4, it opens an 800 x 600 window showing the fourth scene (its
#              picture is nearer to QZ2_TOOL's renders of scene 4 than to those of scene 1); then as escape.
#   close:     --window, closed mid-scene as a window manager closes it (SEND_CLOSE's WM_DELETE_WINDOW).
#   sigterm:   --window, sent SIGTERM mid-scene.
#   pause:     --window, paused with P: under 0.25 s of CPU in 5 s; then closed while paused.
# A close ends the show within 3 s: its data directory is gone by then, and the process exits with 0.
set -u
. "$(dirname "$0")/e2e_helpers.sh"
program=$1
mode=$2
tool=$3
send_close=$4
work=$(mktemp -d)
trap 'xdotool keyup Escape 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/tmp"
# A session's runtime directory, as a desktop has: without one the sound system's client keeps its own
# files under TMP, beside the data directory.
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
cp "$(dirname "$program")/PACK.ZUL" "$work/"
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null
  exit 1
}

# The window's picture now, into shown.png.
grab_window() { ffmpeg -v error -y -f x11grab -video_size 800x600 -i "$DISPLAY+50,50" -frames:v 1 "$work/shown.png"; }

# The scene (1 or 4) whose renders, at a few times, come nearest to the window's picture now.
scene_shown() {
  grab_window
  nearest_scene "$tool" "$work/PACK.ZUL" "$work/shown.png" "1 4" "0.5 1 1.5 2 2.5"
}

# CPU time of the whole process so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }

options="--window"
case $mode in
  untouched | escape) options= ;;
  window) options="--window --scene 4" ;;
  # A sanitized build's leak scan at exit takes seconds of its own; the escape run scans the same end.
  *) export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" ;;
esac
start=$(date +%s)
# shellcheck disable=SC2086
TMP="$work/tmp" "$program" $options &
pid=$!
if [ "$mode" != untouched ]; then
  window=$(timeout 30 xdotool search --sync --name "QZ2" | head -n 1)
  [ -n "$window" ] || fail "no window came up"
  sleep 2
fi
case $mode in
  close | sigterm | pause)
    # Mid-scene: the set-up before the first frame takes its time on a busy machine.
    for _ in $(seq 1 60); do
      grab_window
      lit "$(luma "$work/shown.png")" && break
      sleep 0.5
    done
    ;;
esac
case $mode in
  window)
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$geometry" = 800x600 ] || fail "--window opened a window of '$geometry', not 800x600"
    shown=$(scene_shown)
    [ "$shown" = 4 ] || fail "--scene 4 shows a picture nearest to scene $shown"
    ;;
  pause)
    # Held across a few frames: the keyboard is read once a frame.
    xdotool keydown p sleep 0.3 keyup p
    sleep 0.5
    before=$(cpu_ticks)
    sleep 5
    used=$(($(cpu_ticks) - before))
    hz=$(getconf CLK_TCK)
    echo "paused: $used ticks of CPU in 5 s ($hz a second)"
    [ $((used * 100)) -lt $((hz * 25)) ] || fail "a paused show used $used ticks of CPU in 5 s"
    ;;
esac
case $mode in
  close | pause) "$send_close" "$window" || fail "the close request could not be sent" ;;
  sigterm) kill -TERM "$pid" ;;
  escape | window)
    # Escape is timed alone: the comparison of pictures above takes its own time.
    start=$(date +%s)
    xdotool keydown Escape
    ;;
esac
case $mode in
  close | pause | sigterm)
    asked=$(date +%s.%N)
    # Removing its data directory is the show's last step. The system's tear-down of a sanitized process (its
    # vast mappings) can then take seconds more on a busy machine, so the exit is awaited apart.
    for _ in $(seq 1 30); do
      [ -z "$(ls -A "$work/tmp")" ] && break
      sleep 0.1
    done
    [ -z "$(ls -A "$work/tmp")" ] || fail "the show went on for 3 s after the close request"
    echo "ended $(awk -v a="$asked" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s after the close request"
    wait_for_end 30
    [ "$status" != timeout ] || fail "the process was still there 30 s after the show ended"
    ;;
  *)
    status=0
    wait "$pid" || status=$?
    ;;
esac
elapsed=$(($(date +%s) - start))

[ "$status" -eq 0 ] || fail "the show ended with exit code $status"
[ -z "$(ls -A "$work/tmp")" ] || fail "the data directory is still there: $(ls -A "$work/tmp")"
case $mode in
  escape | window) [ "$elapsed" -le 40 ] || fail "Escape did not skip the scenes ($elapsed s)" ;;
  untouched) [ "$elapsed" -ge 110 ] || fail "the scenes ended before their camera tracks ($elapsed s of 110)" ;;
esac
echo "the show ($mode) ran $elapsed s (after Escape, when held)"
