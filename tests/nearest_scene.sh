# Sourced by the end-to-end scripts: which scene a screenshot shows.
# nearest_scene TOOL PACK SHOWN "SCENES" "TIMES": extracts PACK beside SHOWN, renders each scene at each time
# with TOOL, and prints the scene whose render has the best PSNR against SHOWN.
nearest_scene() {
  dir=$(dirname "$3")
  pack=$(realpath "$2")
  mkdir -p "$dir/data" && (cd "$dir/data" && bsdtar xf "$pack")
  best=0
  nearest=none
  for scene in $4; do
    for time in $5; do
      "$1" render "$dir/data" --scene "$scene" --time "$time" --out "$dir/render.png" >/dev/null
      psnr=$(ffmpeg -i "$3" -i "$dir/render.png" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.]*\).*/\1/p')
      if awk -v a="$psnr" -v b="$best" 'BEGIN { exit !(a > b) }'; then
        best=$psnr
        nearest=$scene
      fi
    done
  done
  echo "$nearest"
}
