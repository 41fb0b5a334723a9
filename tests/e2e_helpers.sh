# Sourced by the end-to-end scripts: what a screenshot shows, and the end of the program under test ($pid).

# The mean luma of an image, or of its W:H:X:Y crop (black is 16).
luma() {
  ffmpeg -v error -i "$1" -vf "crop=${2:-iw:ih:0:0},signalstats,metadata=mode=print:key=lavfi.signalstats.YAVG:file=-" \
    -f null - | sed -n 's/.*YAVG=\([0-9.]*\).*/\1/p'
}
lit() { awk -v l="${1:-0}" 'BEGIN { exit !(l > 24) }'; }

# PSNR of two images of one size (inf when they are the same).
psnr() { ffmpeg -i "$1" -i "$2" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'; }

# nearest_render TOOL PACK SHOWN "SCENES" "TIMES": extracts PACK beside SHOWN, renders each scene at each time
# with TOOL in one run, and prints the scene whose render has the best PSNR against SHOWN, and that PSNR.
nearest_render() {
  dir=$(dirname "$3")
  pack=$(realpath "$2")
  mkdir -p "$dir/data" && (cd "$dir/data" && bsdtar xf "$pack")
  frames=
  for scene in $4; do
    for time in $5; do frames="$frames --scene $scene --time $time --out $dir/render-$scene-$time.png"; done
  done
  # shellcheck disable=SC2086
  "$1" render "$dir/data" $frames >/dev/null
  best=0
  nearest=none
  for scene in $4; do
    for time in $5; do
      psnr=$(psnr "$3" "$dir/render-$scene-$time.png")
      if awk -v a="$psnr" -v b="$best" 'BEGIN { exit !(a > b) }'; then
        best=$psnr
        nearest=$scene
      fi
    done
  done
  echo "$nearest $best"
}
nearest_scene() { nearest_render "$@" | cut -d ' ' -f 1; }

# Waits for the process to end, at most $1 s; sets status (timeout when it did not end).
wait_for_end() {
  status=timeout
  for _ in $(seq 1 $(($1 * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0
      wait "$pid" || status=$?
      return
    fi
    sleep 0.1
  done
}
