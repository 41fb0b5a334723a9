#!/bin/sh
# End to end on Windows: qz2.exe under Wine in a virtual display.
# Usage: WINEPREFIX=DIR e2e_wine_show.sh SHOW_DIR QZ2_TOOL WINDOW_REQUEST [full|window]; runs inside xvfb-run.
#   SHOW_DIR: the Windows build's folder of qz2.exe, Start.Dll and PACK.ZUL, copied as a user would copy it.
#   QZ2_TOOL: the Linux qz2-tool, whose renders of the first scenes tell what the screen shows.
#   WINDOW_REQUEST: the Windows build's tests/window_request.exe, which restores or closes the window from outside.
#   full (the default; an 800x600 screen): full screen, it shows the first scene; switched away from (the X focus
#     taken to the root window) and back (restored from outside), it goes on drawing; then with Escape held it runs
#     through all nine scenes.
#   window (a larger screen): --window, moved with xdotool, shows the picture where its client area now is; resized to
#     1024x600, the 4:3 picture between black bars; closed with a posted WM_CLOSE, it ends within 3 s.
# Each run exits with 0 and leaves no data directory behind.
set -u
show=$(realpath "$1")
tool=$(realpath "$2")
mode=${4:-full}
. "$(dirname "$0")/wine_env.sh"
. "$(dirname "$0")/e2e_helpers.sh"
work=$(mktemp -d)
trap 'xdotool keyup Escape 2>/dev/null; wine_done; rm -rf "$work"' EXIT
cp "$show/qz2.exe" "$show/Start.Dll" "$show/PACK.ZUL" "$work/"
cp "$3" "$work/window_request.exe"
mkdir "$work/tmp"
cd "$work"
# Wine takes TMP from its own registry; cmd hands the program ours, as the Windows path of $work/tmp.
tmp_windows="Z:$(echo "$work/tmp" | tr / '\\')"

fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null
  exit 1
}

# A WxH region of the screen at +X+Y into FILE.
grab() { ffmpeg -v error -y -f x11grab -video_size "$1" -i "$DISPLAY+$2,$3" -frames:v 1 "$4"; }

start=$(date +%s)
options=
[ "$mode" = window ] && options=--window
$wine cmd /c "set TMP=$tmp_windows&& qz2.exe $options" &
pid=$!

if [ "$mode" = window ]; then
  window=$(timeout 60 xdotool search --sync --name "QZ2" | head -n 1)
  [ -n "$window" ] || fail "no window came up"
  sleep 3
  # Without a window manager the X window is the client area. Both pictures are taken before the slow comparisons.
  xdotool windowmove "$window" 200 150
  sleep 1
  grab 800x600 200 150 moved.png || fail "no screenshot"
  xdotool windowsize "$window" 1024 600
  sleep 1
  grab 1024x600 200 150 resized.png || fail "no screenshot"
  $wine window_request.exe close || fail "WM_CLOSE could not be posted"
  asked=$(date +%s.%N)
  wait_for_end 3
  [ "$status" != timeout ] || fail "the show went on for 3 s after WM_CLOSE"
  echo "ended $(awk -v a="$asked" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s after WM_CLOSE"

  ffmpeg -v error -y -f lavfi -i color=black:s=800x600 -frames:v 1 black.png
  ffmpeg -v error -y -i resized.png -vf crop=800:600:112:0 centre.png
  for picture in moved centre; do
    scene=$(nearest_render "$tool" PACK.ZUL "$PWD/$picture.png" 1 "0.5 1 2 3 4 6 8" | cut -d ' ' -f 2)
    dark=$(psnr $picture.png black.png)
    echo "$picture: PSNR $scene against the renders of scene 1, $dark against black"
    awk -v s="$scene" -v d="$dark" 'BEGIN { exit !(s > d + 3) }' || fail "the $picture window does not show the picture"
  done
  left=$(luma resized.png 112:600:0:0)
  right=$(luma resized.png 112:600:912:0)
  echo "resized: bars of mean luma $left and $right"
  lit "$left" || lit "$right" && fail "the bars beside the picture are not black"
else
  # The first scene is up once the full-screen picture is no longer black.
  level=0
  for _ in $(seq 1 120); do
    kill -0 "$pid" 2>/dev/null || fail "qz2.exe ended before it showed anything"
    grab 800x600 0 0 shown.png
    level=$(luma shown.png)
    lit "$level" && break
    sleep 0.5
  done
  lit "$level" || fail "the screen stayed black (mean luma $level)"
  shown=$(nearest_scene "$tool" PACK.ZUL "$PWD/shown.png" "1 2" "0.5 1 2 3 4 6 8")
  [ "$shown" = 1 ] || fail "the first picture is nearest to scene $shown, not scene 1"

  # Switching away loses the full-screen surfaces; back again they are restored and the show draws on.
  window=$(xdotool search --name "QZ2" 2>/dev/null | head -n 1)
  xdotool windowfocus "$window"
  sleep 1
  xdotool windowfocus "$(xdotool search --maxdepth 0 '' 2>/dev/null)"
  sleep 2
  $wine window_request.exe restore >/dev/null 2>&1 || true
  # A scene whose time ran out while away ends at once, and the next one loads: a few dark frames first.
  drawing=no
  for _ in $(seq 1 20); do
    sleep 0.5
    grab 800x600 0 0 back1.png
    sleep 0.5
    grab 800x600 0 0 back2.png
    if lit "$(luma back1.png)" && lit "$(luma back2.png)" && ! cmp -s back1.png back2.png; then
      drawing=yes
      break
    fi
  done
  echo "back: mean luma $(luma back1.png), then $(luma back2.png)"
  [ "$drawing" = yes ] || fail "no lit, moving picture in 20 s after switching back"

  # Keys go to the window under the pointer: no window manager gives focus here.
  xdotool mousemove 400 300 keydown Escape
  wait_for_end 60
  xdotool keyup Escape
fi
elapsed=$(($(date +%s) - start))

[ "$status" = 0 ] || fail "the show ended with exit code $status"
[ -z "$(ls -A tmp)" ] || fail "the data directory is still there: $(ls -A tmp)"
echo "qz2.exe ($mode) ran in $elapsed s"
