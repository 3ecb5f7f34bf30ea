#!/usr/bin/env bash
# Renders frames of every movie in assets/movies into one picture, a row per movie.
#   tools/contact-sheet.sh [BUILD_DIR] [OUT.png]
# BUILD_DIR holds numbali-swf-render and numbali-swf-author (default: build).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-contact-sheet.png}
frames=(1 15 30 45 60)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
images=()
for movie in "$here"/assets/movies/*.swf; do
  name=$(basename "$movie" .swf)
  for f in "${frames[@]}"; do
    png="$work/$name-$f.png"
    "$build/numbali-swf-render" "$movie" "$f" "$png"
    images+=("$png")
  done
done
"$build/numbali-swf-author" --sheet "$out" "${#frames[@]}" "${images[@]}"
echo "contact sheet: $out"
