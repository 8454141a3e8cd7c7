#!/usr/bin/env bash
# The main job on a built-in default: installs what is missing, builds the native target,
# synthesises a dry test signal and renders it through the load-time settings and a few
# factory presets. Prints where the dry and wet files are.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target lreverb_tool >/dev/null
./build/native/bin/lreverb demo out/demo
