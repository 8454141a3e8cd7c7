#!/usr/bin/env bash
# Renders the same host session through the native build and through lreverb.zqp under Wine and
# checks that the two outputs are identical, bit for bit.
set -euo pipefail
native=$1 wine_run=$2 win32=$3
if [[ ! -x $native ]]; then
  echo "native session renderer missing: $native (build the native preset first)"
  exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$native" "$out/native.f32"
(cd "$(dirname "$win32")" && "$wine_run" "$win32" "$(winepath -w "$out/dll.f32" 2>/dev/null || echo "Z:$out/dll.f32")")
if cmp "$out/native.f32" "$out/dll.f32"; then
  echo "identical: $(stat -c %s "$out/native.f32") bytes"
else
  exit 1
fi
