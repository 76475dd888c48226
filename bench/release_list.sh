# Sourced by the benchmarks: sets $list to a kavoro-list built in release mode (build-bench/),
# or to $KAVORO_LIST when that names one already built. Run from the source folder.
[ -x /usr/bin/time ] || apt-get install -y -qq time
list=${KAVORO_LIST:-}
if [ -z "$list" ]; then
  bash scripts/setup.sh
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVORO_TESTS=OFF >/dev/null
  cmake --build build-bench --target kavoro-list >/dev/null 2>&1
  list=$PWD/build-bench/kavoro-list
fi
