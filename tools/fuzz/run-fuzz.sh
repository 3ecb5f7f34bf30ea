#!/usr/bin/env bash
# Builds the movie fuzz target with clang (libFuzzer + AddressSanitizer + UBSan) and runs it.
#   tools/fuzz/run-fuzz.sh [SECONDS] [extra libFuzzer options...]
# Seeds come from the shared SWF corpus beside the checkout when it is there; new inputs
# are kept in the build folder. A crash leaves crash-* / timeout-* / oom-* files in the
# current folder: copy them to tests/movie/fuzz-regressions/ as regression inputs.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
shift || true
out="${FUZZ_BUILD_DIR:-$root/../build-fuzz}"
mkdir -p "$out/obj" "$out/corpus"

cxx="${CXX_FUZZ:-clang++}"
flags=(-std=c++20 -O1 -g -fPIC -fno-omit-frame-pointer -I"$root/base" -I"$root/movie")
read -r -a qtflags <<< "$(pkg-config --cflags Qt6Core Qt6Gui)"
read -r -a qtlibs <<< "$(pkg-config --libs Qt6Core Qt6Gui)"

objects=()
for src in "$root"/base/*.cpp "$root"/movie/*.cpp "$root"/movie/sound/*.cpp; do
  name="$(basename "$src" .cpp)"
  # The player, the mixer and the audio output run no file data of their own and need moc
  # and the audio libraries; the fuzzer reaches the readers and decoders.
  case "$name" in MoviePlayer|MovieSound|OfflinePlayback|AudioThread|Mixer|Mixdown) continue ;; esac
  obj="$out/obj/$name.o"
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/movie" "$root/base" -name '*.h' -newer "$obj")" ]; then
    "$cxx" "${flags[@]}" "${qtflags[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$src" -o "$obj"
  fi
  objects+=("$obj")
done
"$cxx" "${flags[@]}" "${qtflags[@]}" -fsanitize=fuzzer,address,undefined "$here/fuzz_movie.cpp" "${objects[@]}" \
  "${qtlibs[@]}" -lz -llzma -lmpg123 -o "$out/fuzz_movie"

seeds=()
shared="$root/../shared/swf-corpus"
if [ -d "$shared" ]; then
  mkdir -p "$out/seeds"
  n=0
  while IFS= read -r f; do
    cp -f "$f" "$out/seeds/seed-$n.swf"
    n=$((n + 1))
  done < <(find "$shared" -name '*.swf' -size -64k | sort)
  # The program's own movies too: larger, with every kind of shape and sound it makes.
  for f in "$root"/assets/movies/*.swf; do
    cp -f "$f" "$out/seeds/seed-$n.swf"
    n=$((n + 1))
  done
  # Uncompressed copies let the fuzzer mutate the tags directly.
  python3 - "$out/seeds" <<'PY' || true
import lzma, os, struct, sys, zlib
d = sys.argv[1]
for name in sorted(os.listdir(d)):
    data = open(os.path.join(d, name), 'rb').read()
    try:
        if data[:3] == b'CWS':
            body = zlib.decompress(data[8:])
        elif data[:3] == b'ZWS':
            props = data[12:17]
            body = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[lzma._decode_filter_properties(lzma.FILTER_LZMA1, props)]).decompress(data[17:])
        else:
            continue
    except Exception:
        continue
    out = b'FWS' + data[3:4] + struct.pack('<I', len(body) + 8) + body
    open(os.path.join(d, 'plain-' + name), 'wb').write(out)
PY
  seeds+=("$out/seeds")
fi
# Saved regressions are copied, never used in place: libFuzzer may write into corpus folders.
if [ -d "$root/tests/movie/fuzz-regressions" ]; then
  mkdir -p "$out/regressions"
  find "$root/tests/movie/fuzz-regressions" -type f ! -name '*.md' -exec cp -f {} "$out/regressions/" \;
  seeds+=("$out/regressions")
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$out/fuzz_movie" "$out/corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2560 -max_len=262144 -print_final_stats=1 "$@"
