#!/usr/bin/env bash
# Builds Kavoro (installing what is missing; warnings are errors), checks that the sources are
# formatted with .clang-format, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/build.sh -DKAVORO_WERROR=ON "$@"
bash scripts/check-format.sh
cd build
QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 300
