#!/usr/bin/env bash
# The catalogue of saved lists on LISTS lists of ENTRIES entries each (details, whole paths):
# the first indexing with its peak memory, a start with nothing changed, one changed list, and
# searches (first screen and full count), beside `grep -F -i -c` over the same .mpl2 files.
# usage: bench/catalog.sh [LISTS [ENTRIES]]   (default 100 lists of 50,000 entries)
# WORK=folder keeps the generated lists there between runs (default: a temporary folder).
set -euo pipefail
lists=${1:-100}
entries=${2:-50000}
cd "$(dirname "$0")/.."

source bench/release_list.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVORO_TESTS=OFF -DKAVORO_BENCH=ON \
  >/dev/null
cmake --build build-bench --target kavoro_bench_catalog >/dev/null
bench=$PWD/build-bench/bench/kavoro_bench_catalog
work=${WORK:-$(mktemp -d)}
[ -n "${WORK:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists"

# One real list of a generated tree, then copies of it as other discs: the same names under
# other folders, as backups of one collection are.
if [ ! -f "$work/lists/disc000.mpl" ]; then
  python3 bench/gen_tree.py "$work/tree" "$entries" >/dev/null
  "$list" -r -d -p --save "$work/lists/disc000" "$work/tree"
  python3 - "$work" "$lists" <<'PY'
import sys
work, lists = sys.argv[1], int(sys.argv[2])
old = (work + "/tree").encode()
for ext in (".mpl", ".mpl2", ".mpl3"):
    data = open(f"{work}/lists/disc000{ext}", "rb").read()
    for n in range(1, lists):
        open(f"{work}/lists/disc{n:03}{ext}", "wb").write(
            data.replace(old, (f"{work}/disc{n:03}").encode()))
PY
fi
texts=(ärger mp3 4711 Urlaub)
index=$work/catalog.sqlite
rm -f "$index" "$index"-wal "$index"-shm

echo "== $lists lists of $entries entries, $(cat "$work"/lists/*.mpl* | wc -c) bytes of list files"
echo "-- first indexing"
/usr/bin/time -f 'total %e s, peak %M KB' "$bench" "$work/lists" "$index" "${texts[@]}"
echo "-- start with nothing changed"
/usr/bin/time -f 'total %e s, peak %M KB' "$bench" "$work/lists" "$index" "${texts[@]}"
echo "-- one list saved anew"
touch "$work/lists/disc050.mpl2"
/usr/bin/time -f 'total %e s, peak %M KB' "$bench" "$work/lists" "$index" 4711
echo "-- index file: $(du -m "$index" | cut -f1) MB"
echo "-- grep -F -i -c over the .mpl2 files (the naive anchor)"
for text in "${texts[@]}"; do
  start=$(date +%s.%N)
  hits=$(cat "$work"/lists/*.mpl2 | grep -F -i -c "$text" || true)
  end=$(date +%s.%N)
  awk -v t="$text" -v h="$hits" -v s="$start" -v e="$end" \
    'BEGIN {printf "grep %-8s %d lines in %.3f s\n", t, h, e - s}'
done
