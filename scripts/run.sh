#!/usr/bin/env bash
# Builds Oskal and starts it in a program folder of its own (build/demo) on a ready catalog.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
mkdir -p build/demo
cp -a build/Oskal/. build/demo/
if [ ! -f build/demo/QIRData.mdb ]; then
  build/bench/oskal-gencatalog build/demo/QIRData.mdb --records 400 --sections 4 --pictures 40
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting Oskal under a virtual X server (xvfb-run)."
  exec xvfb-run -a build/demo/Oskal "$@"
fi
exec build/demo/Oskal "$@"
