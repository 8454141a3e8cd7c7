#!/usr/bin/env bash
# Installs what is missing, builds the native and Win32 targets (plus sanitizer builds) and runs
# every test: native unit tests, sanitizer runs, and the cross-built tests and DLL contract
# tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

for preset in native win32 asan tsan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

for preset in native asan tsan win32; do
  echo "== $preset: tests"
  ctest --preset "$preset"
done
echo "All tests passed."
