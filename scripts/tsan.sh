#!/usr/bin/env bash
# Builds the tests with the thread sanitizer into build-tsan/ and runs those that use threads:
# the scanner, entering (also from the window) and the explorer's copy jobs.
#   scripts/tsan.sh [CTEST-REGEX]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVORO_TSAN=ON \
  "${launcher[@]}" > build-tsan.log 2>&1 || { cat build-tsan.log; exit 1; }
cmake --build build-tsan --target kavoro_core_tests kavoro_gui_tests
cd build-tsan
# Qt is not built with the sanitizer: what its libraries allocate and free across their own
# threads is left out (tests/tsan.supp).
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../tests/tsan.supp"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 \
  -R "${1:-Scanner|Entering|FileCopy|FileOperations|Explorer}"
