#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS seconds
# (default 60), starting from the seed inputs in tests/fuzz/corpus/<target>/. Inputs that
# reach new code are kept in build-fuzz/corpus/<target>/ for the next run; an input that
# breaks a target is written to build-fuzz/crash-<target>-* and the script fails.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 3600 fuzz_list_files
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_list_files fuzz_options_file fuzz_catalog fuzz_html_unescape fuzz_sort_keys)
fi

bash scripts/setup.sh fuzz
launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# -O1 with line tables: quick to build, fast enough to run, readable stacks; asserts stay on.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_FLAGS_FUZZ="-O1 -g1" \
  -DCMAKE_CXX_COMPILER=clang++-16 -DKAVORO_FUZZ=ON -DKAVORO_TESTS=OFF "${launcher[@]}" \
  > build-fuzz.log 2>&1 || { cat build-fuzz.log; exit 1; }
cmake --build build-fuzz --target "${targets[@]}"

export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-16/bin/llvm-symbolizer
# The targets write their inputs to files: a memory file system spares the disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
failed=()
for t in "${targets[@]}"; do
  echo "== $t: ${seconds} s"
  mkdir -p "build-fuzz/corpus/$t"
  if ! "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/crash-$t-" \
      "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" > "build-fuzz/$t.log" 2>&1; then
    tail -n 60 "build-fuzz/$t.log"
    failed+=("$t")
  else
    grep -E '^stat::number_of_executed_units|^Done' "build-fuzz/$t.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that failed: ${failed[*]} (inputs in build-fuzz/crash-*)"
  exit 1
fi
