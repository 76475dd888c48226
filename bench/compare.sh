#!/usr/bin/env bash
# Times `kavoro-list --compare` of a saved list (details, whole paths) with its folder against
# `kavoro-list -r -d` listing the same folder, side by side on one warm tree, and prints seconds,
# peak memory and the ratio last.
# usage: bench/compare.sh TREE   (make a tree with: bench/gen_tree.py TREE 200000)
# KAVORO_LIST=path/to/kavoro-list uses a program already built instead of a Release build.
set -euo pipefail
tree=$(realpath "$1")
runs=${RUNS:-3}
cd "$(dirname "$0")/.."

source bench/release_list.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

find "$tree" -type f >/dev/null  # warm the cache
entries=$(find "$tree" -type f | wc -l)
"$list" -r -d -p --save "$out/liste" "$tree"

# "seconds peak_kb" of one run; the compare's exit status 0 or 1 both mean it worked.
measure() {
  local status=0
  /usr/bin/time -f '%e %M' -o "$out/time" "$@" >/dev/null 2>"$out/err" || status=$?
  if [ "$status" -gt 1 ]; then cat "$out/err" >&2; exit 1; fi
  cat "$out/time"
}

# The two alternate, so that both meet the same state of the cache; medians of each.
listing=() comparing=()
for _ in $(seq "$runs"); do
  listing+=("$(measure "$list" -r -d "$tree")")
  comparing+=("$(measure "$list" --compare "$out/liste" "$tree" -r)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$0} END {print a[int((NR+1)/2)]}'; }
t_list=$(median "${listing[@]%% *}")
t_compare=$(median "${comparing[@]%% *}")
m_list=$(median "${listing[@]##* }")
m_compare=$(median "${comparing[@]##* }")

# What the program needs for no entries at all, to tell the cost of one entry.
mkdir "$out/empty"
"$list" -r -d -p --save "$out/leer" "$out/empty"
base_kb=$(measure "$list" --compare "$out/leer" "$out/empty" -r)
base_kb=${base_kb##* }

echo "entries=$entries runs=$runs list_bytes=$(cat "$out"/liste.mpl* | wc -c)"
echo "listing -r -d: ${t_list}s peak_mb=$((m_list / 1024))"
echo "compare:       ${t_compare}s peak_mb=$((m_compare / 1024))"
awk -v c="$t_compare" -v l="$t_list" 'BEGIN {printf "compare_vs_listing=%.2f\n", c / l}'
awk -v m="$m_compare" -v b="$base_kb" -v n="$entries" \
  'BEGIN {per = (m - b) * 1024 / n
          printf "compare_bytes_per_entry=%d over %d MB for none (at 1,000,000 entries about %d MB)\n",
          per, b / 1024, (b * 1024 + per * 1000000) / 1048576}'
