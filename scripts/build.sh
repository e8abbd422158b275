#!/usr/bin/env bash
# Builds both trees: build/native (core, tests, companion, demo-data generator, benchmarks)
# and build/win (the Windows programs and the core tests as .exe files).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
bash "$root/scripts/setup.sh"
werror=${BTL_WERROR:-$([ -n "${CI:-}" ] && echo ON || echo OFF)}
# BTL_NATIVE_UNIT_TESTS=OFF (the test command) leaves the native unit tests to the sanitizer tree.
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBTL_WERROR="$werror" \
  -DBTL_UNIT_TESTS="${BTL_NATIVE_UNIT_TESTS:-ON}" >/dev/null
cmake --build "$build/native"
cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBTL_WERROR="$werror" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBTL_MINGW_PREFIX="$build/deps/mingw" \
  -DCMAKE_PREFIX_PATH="$build/deps/mingw" >/dev/null
cmake --build "$build/win"
