#!/usr/bin/env bash
# A packager's configuration: no tests, no benchmarks, and neither GoogleTest
# nor Google Benchmark to be found. It must configure, and no compile command
# may turn warnings into errors.
# usage: release_configure.sh SOURCE_DIR
set -euo pipefail
source=${1:?usage: release_configure.sh SOURCE_DIR}
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DKALVERA_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$build/configure.log" 2>&1 \
  || { cat "$build/configure.log" >&2; echo "FAIL: release configuration" >&2; exit 1; }
if grep -q -- '-Werror' "$build/compile_commands.json"; then
  echo "FAIL: a release build turns warnings into errors" >&2
  exit 1
fi
echo "release configuration needs no test libraries and keeps warnings as warnings"
