#!/bin/sh
# The layer check passes on this tree and fails on each kind of back-include planted in a copy of it.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/check-layers" "$top"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for plant in scene:driver/show.h render/renderer.cpp:scene/world.h music:start/unrar.h core:render/renderer.h; do
  file=${plant%%:*}
  target=${plant#*:}
  rm -rf "$work/tree" && mkdir -p "$work/tree"
  cp -R "$top/core" "$top/render" "$top/scene" "$top/music" "$work/tree/"
  case $file in *.cpp) path=$work/tree/$file ;; *) path=$work/tree/$file/planted.cpp ;; esac
  echo "#include \"$target\"" >> "$path"
  if out=$("$top/scripts/check-layers" "$work/tree"); then
    echo "not caught: $file includes $target" >&2
    exit 1
  fi
  if ! echo "$out" | grep -q "includes \"$target\" from a layer above its own"; then
    echo "unclear report: $out" >&2
    exit 1
  fi
done
