#!/usr/bin/env bash
# Times kavoro-list against fdfind and find on one warm tree and prints the ratios last.
# usage: bench/run.sh TREE   (make a tree with: bench/gen_tree.py TREE 200000)
set -euo pipefail
tree=$(realpath "$1")
runs=${RUNS:-5}
cd "$(dirname "$0")/.."

command -v fdfind >/dev/null || { apt-get update -qq && apt-get install -y -qq fd-find; }
source bench/release_list.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Median wall time in seconds of a command over $runs runs.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=("$(( end - start ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.4f", a[int((NR+1)/2)]/1e9}'
}

find "$tree" -type f -printf '%s %p\n' >/dev/null  # warm the cache
entries=$(find "$tree" -type f | wc -l)
t_fd=$(median fdfind -H -u -t f . "$tree")
t_find=$(median find "$tree" -type f -printf '%s %p\n')
t_names=$(median "$list" -r --txt "$out/names.txt" "$tree")
t_stdout=$(median "$list" -r "$tree")  # the text view to standard output (here /dev/null)
t_details=$(median "$list" -r -d --txt "$out/details.txt" "$tree")

empty=$(mktemp -d -p "$out")
rss_tree=$(/usr/bin/time -f %M "$list" -r -d --txt "$out/r.txt" "$tree" 2>&1 >/dev/null | tail -1)
rss_empty=$(/usr/bin/time -f %M "$list" -r -d --txt "$out/e.txt" "$empty" 2>&1 >/dev/null | tail -1)

# One PDF of the whole listing with details: seconds and peak memory (not a ratio: find and fd
# have nothing like it).
pdf=$(/usr/bin/time -f '%e %M' "$list" -r -d --pdf "$out/l.pdf" "$tree" 2>&1 >/dev/null | tail -1)
pdf_pages=$(pdfinfo "$out/l.pdf" | awk '/^Pages:/ {print $2}')

echo "entries=$entries runs=$runs"
echo "fdfind=${t_fd}s find=${t_find}s kavoro_names=${t_names}s kavoro_stdout=${t_stdout}s" \
  "kavoro_details=${t_details}s"
echo "peak_rss_kb tree=$rss_tree empty=$rss_empty"
awk -v a="$t_names" -v b="$t_fd" 'BEGIN {printf "names_vs_fd=%.2f\n", a / b}'
awk -v a="$t_stdout" -v b="$t_fd" 'BEGIN {printf "stdout_names_vs_fd=%.2f\n", a / b}'
awk -v a="$t_details" -v b="$t_find" 'BEGIN {printf "details_vs_find=%.2f\n", a / b}'
echo "$pdf" | awk -v p="$pdf_pages" '{printf "pdf_seconds=%s pdf_peak_mb=%d pdf_pages=%s\n", $1, $2 / 1024, p}'
awk -v t="$rss_tree" -v e="$rss_empty" -v n="$entries" \
  'BEGIN {printf "bytes_per_entry=%d\n", (t - e) * 1024 / n}'
