#!/usr/bin/env bash
# Builds Kavoro (installing what is missing) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/build.sh "$@"
cd build
QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 300
