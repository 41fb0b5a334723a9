#!/bin/sh
# End to end on Windows: qz2.exe plays the default show under Wine in a virtual display, shows the first scene,
# runs through all nine scenes with Escape held, exits with 0 and leaves no data directory behind.
# Usage: WINEPREFIX=DIR e2e_wine_show.sh SHOW_DIR QZ2_TOOL; runs inside xvfb-run with an 800x600 screen.
#   SHOW_DIR: the Windows build's folder of qz2.exe, Start.Dll and PACK.ZUL, copied as a user would copy it.
#   QZ2_TOOL: the Linux qz2-tool, whose renders of the first scenes tell what the screen shows.
set -u
show=$(realpath "$1")
tool=$(realpath "$2")
. "$(dirname "$0")/wine_env.sh"
. "$(dirname "$0")/nearest_scene.sh"
work=$(mktemp -d)
trap 'xdotool keyup Escape 2>/dev/null; wine_done; rm -rf "$work"' EXIT
cp "$show/qz2.exe" "$show/Start.Dll" "$show/PACK.ZUL" "$work/"
mkdir "$work/tmp"
cd "$work"
# Wine takes TMP from its own registry; cmd hands the program ours, as the Windows path of $work/tmp.
tmp_windows="Z:$(echo "$work/tmp" | tr / '\\')"

fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null
  exit 1
}

# The screen into shown.png, and its mean luma (black is 16).
grab() {
  ffmpeg -v error -y -f x11grab -video_size 800x600 -i "$DISPLAY+0,0" -frames:v 1 shown.png &&
    ffmpeg -v error -i shown.png -vf signalstats,metadata=mode=print:key=lavfi.signalstats.YAVG:file=- -f null - |
    sed -n 's/.*YAVG=\([0-9.]*\).*/\1/p'
}
lit() { awk -v l="${1:-0}" 'BEGIN { exit !(l > 24) }'; }

start=$(date +%s)
$wine cmd /c "set TMP=$tmp_windows&& qz2.exe" &
pid=$!

# The first scene is up once the full-screen picture is no longer black.
luma=0
for _ in $(seq 1 120); do
  kill -0 "$pid" 2>/dev/null || fail "qz2.exe ended before it showed anything"
  luma=$(grab)
  lit "$luma" && break
  sleep 0.5
done
lit "$luma" || fail "the screen stayed black (mean luma $luma)"
shown=$(nearest_scene "$tool" PACK.ZUL "$PWD/shown.png" "1 2" "0.5 1 2 3 4 6 8")
[ "$shown" = 1 ] || fail "the first picture is nearest to scene $shown, not scene 1"

# Keys go to the window under the pointer: no window manager gives focus here.
xdotool mousemove 400 300 keydown Escape
status=timeout
for _ in $(seq 1 120); do
  if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    break
  fi
  sleep 0.5
done
xdotool keyup Escape
elapsed=$(($(date +%s) - start))

[ "$status" = 0 ] || fail "the show ended with exit code $status"
[ -z "$(ls -A tmp)" ] || fail "the data directory is still there: $(ls -A tmp)"
echo "qz2.exe showed scene 1 and ran through in $elapsed s"
