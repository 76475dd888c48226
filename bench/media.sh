#!/usr/bin/env bash
# Times `kavoro-list -r -d -m` over a tree of tagged songs and photos against the same listing
# without -m and against `exiftool -r -fast` reading the same files, and prints seconds and peak
# memory of each (medians of RUNS, warm cache).
# usage: bench/media.sh [TREE]   (made when missing: SONGS=10000 songs, PHOTOS=2000 photos, in
# folders of 100, between them as many text files as songs, which -m must not slow down)
# KAVORO_LIST=path/to/kavoro-list uses a program already built instead of a Release build.
set -euo pipefail
tree=${1:-/tmp/kavoro-media-tree}
runs=${RUNS:-3}
songs=${SONGS:-10000}
photos=${PHOTOS:-2000}
cd "$(dirname "$0")/.."

source bench/release_list.sh
command -v exiftool >/dev/null || apt-get install -y -qq libimage-exiftool-perl >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if [ ! -f "$tree/.complete" ]; then
  rm -rf "$tree"
  mkdir -p "$tree/.templates"
  # A hundred songs of one to four seconds with their own tags, half Ogg Vorbis, half FLAC, and
  # ten photos with a date taken; the tree holds copies of them.
  for i in $(seq 0 99); do
    ext=$([ $((i % 2)) = 0 ] && echo ogg || echo flac)
    sox -n -r 8000 -c 1 --comment "ARTIST=Band $((i % 10))" --add-comment "TITLE=Lied $i" \
      --add-comment "ALBUM=Album $((i % 20))" "$tree/.templates/s$i.$ext" \
      synth $((1 + i % 4)) sine 440
  done
  for i in $(seq 0 9); do
    convert -size $((400 + i))x300 xc:gray "$tree/.templates/p$i.jpg"
    exiv2 -M"set Exif.Photo.DateTimeOriginal 2019:07:1$i 09:30:00" "$tree/.templates/p$i.jpg"
  done
  for i in $(seq 0 $((songs - 1))); do
    folder="$tree/musik/$((i / 100))"
    [ $((i % 100)) = 0 ] && mkdir -p "$folder"
    ext=$([ $((i % 2)) = 0 ] && echo ogg || echo flac)
    cp "$tree/.templates/s$((i % 100)).$ext" "$folder/lied $i.$ext"
    echo "$i" >"$folder/notiz $i.txt"
  done
  for i in $(seq 0 $((photos - 1))); do
    folder="$tree/fotos/$((i / 100))"
    [ $((i % 100)) = 0 ] && mkdir -p "$folder"
    cp "$tree/.templates/p$((i % 10)).jpg" "$folder/bild $i.jpg"
  done
  rm -rf "$tree/.templates"
  touch "$tree/.complete"
fi

find "$tree" -type f -exec cat {} + >/dev/null  # warm the cache

# "seconds peak_kb" of one run.
measure() {
  /usr/bin/time -f '%e %M' -o "$out/time" "$@" >"$out/stdout" 2>"$out/err" ||
    { cat "$out/err" >&2; exit 1; }
  cat "$out/time"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$0} END {print a[int((NR+1)/2)]}'; }

# All three alternate, so that each meets the same state of the cache.
plain=() media=() exif=()
for _ in $(seq "$runs"); do
  plain+=("$(measure "$list" -r -d "$tree")")
  media+=("$(measure "$list" -r -d -m "$tree")")
  exif+=("$(measure exiftool -r -fast -q -Duration -Artist -Title -Album -ImageSize \
    -DateTimeOriginal -ext ogg -ext flac -ext jpg "$tree")")
done
# Only the text files: what -m costs where there is no media file at all.
text_plain=() text_media=()
for _ in $(seq "$runs"); do
  text_plain+=("$(measure "$list" -r -d -e .txt "$tree")")
  text_media+=("$(measure "$list" -r -d -m -e .txt "$tree")")
done

"$list" -r -d -m "$tree" >"$out/listing"
filled=$(grep -c ' -  [0-9]*:[0-9][0-9]  -  Band ' "$out/listing" || true)
pictures=$(grep -c ' × ' "$out/listing" || true)
report() {
  local -n runs_of=$1
  echo "$2 $(median "${runs_of[@]%% *}")s peak_mb=$(($(median "${runs_of[@]##* }") / 1024))"
}
echo "files=$(find "$tree" -type f | wc -l) songs=$songs photos=$photos runs=$runs cores=$(nproc)"
echo "songs with duration and tags: $filled, photos with pixels: $pictures"
report plain "kavoro-list -r -d:           "
report media "kavoro-list -r -d -m:        "
report exif "exiftool -r -fast:           "
report text_plain "kavoro-list -r -d -e .txt:   "
report text_media "kavoro-list -r -d -m -e .txt:"
