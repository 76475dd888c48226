#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source differs from what .clang-format makes of it.
# Format them with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" > /dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted with .clang-format (clang-format -i FILE):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
