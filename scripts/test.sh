#!/usr/bin/env bash
# Installs what is missing, builds the native and Windows targets (plus sanitizer builds) and
# runs every test: native unit tests, sanitizer runs, and the cross-built tests and DLL contract
# tests under Wine. The Windows tests run on the 32-bit build; on a kernel that cannot execute
# 32-bit programs they run on the 64-bit build of the same sources instead.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

# Whether this kernel executes 32-bit x86 programs: builds and runs a tiny i386 program that
# only exits. Built under build/ because a temporary folder may be mounted noexec.
runs_32bit_programs() {
  mkdir -p build
  local dir rc=0
  dir=$(mktemp -d build/probe-i386.XXXXXX)
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  if ! as --32 -o "$dir/exit.o" "$dir/exit.s" || ! ld -m elf_i386 -o "$dir/exit" "$dir/exit.o"; then
    echo "cannot build the 32-bit probe program" >&2
    exit 1
  fi
  "$dir/exit" 2>/dev/null || rc=$?
  rm -rf "$dir"
  return "$rc"
}

for preset in native win32 win64 asan tsan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

windows=win32
if ! runs_32bit_programs; then
  echo "== 32-bit programs cannot run on this kernel, so the Windows tests run on the 64-bit build (win64)"
  windows=win64
fi

for preset in native asan tsan "$windows"; do
  echo "== $preset: tests"
  ctest --preset "$preset"
done
echo "All tests passed."
