#!/bin/sh
# Prints a digest of every frame of every movie in a folder, at the stage size and at two
# player sizes (one of them odd), for a fixed number of frames (long enough to loop each
# shipped movie at least once). Two builds whose lists are equal draw the movies alike to
# the pixel:
#   tools/frame-digests.sh build assets/movies > before.txt
#   ... change, rebuild ...
#   tools/frame-digests.sh build assets/movies | diff before.txt -
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR MOVIE_DIR [FRAMES]" >&2
    exit 2
fi
render="$1/numbali-swf-render"
frames="${3:-330}"
for movie in "$2"/*.swf; do
    name=$(basename "$movie")
    for size in stage 317x233 1024x768; do
        if [ "$size" = stage ]; then
            QT_QPA_PLATFORM=offscreen "$render" "$movie" --digests "$frames"
        else
            QT_QPA_PLATFORM=offscreen "$render" "$movie" --digests "$frames" --size "$size"
        fi | sed "s|^|$name $size |"
    done
done
