#!/usr/bin/env bash
# Renders frames of every movie in assets/movies into one picture, a row per movie: five
# frames at the movie's stage size, then frame 30 as the widest and as the narrowest of the
# players that show it (120 pixels high) see it.
#   tools/contact-sheet.sh [BUILD_DIR] [OUT.png]
# BUILD_DIR holds numbali-swf-render and numbali-swf-author (default: build).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-contact-sheet.png}
frames=(1 15 30 45 60)
# The widest and the narrowest player rectangle of each movie, scaled to 120 pixels high.
declare -A players=(
  [ADIOS]="235x120 59x120"   [Alegria]="89x120 89x120"   [acuario2]="197x120 197x120"
  [f_romp1]="207x120 54x120" [f_romp2]="389x120 46x120"  [f_romp3]="198x120 61x120"
  [f_romp4]="207x120 61x120" [f_romp5]="120x120 53x120"  [feliz1]="120x120 89x120"
  [feliz2]="116x120 95x120"  [feliz3]="191x120 90x120"   [feliz4]="99x120 90x120"
  [feliz5]="105x120 95x120"  [tit1]="423x120 423x120"    [tit2]="120x120 120x120"
  [tit3]="218x120 218x120"   [tit5]="120x120 120x120"
)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
images=()
columns=$((${#frames[@]} + 2))
for movie in "$here"/assets/movies/*.swf; do
  name=$(basename "$movie" .swf)
  for f in "${frames[@]}"; do
    png="$work/$name-$f.png"
    "$build/numbali-swf-render" "$movie" "$f" "$png"
    images+=("$png")
  done
  for size in ${players[$name]:-120x120 120x120}; do
    png="$work/$name-$size.png"
    "$build/numbali-swf-render" "$movie" 30 "$png" --size "$size"
    images+=("$png")
  done
done
"$build/numbali-swf-author" --sheet "$out" "$columns" "${images[@]}"
echo "contact sheet: $out"
