#!/usr/bin/env bash
# Installs the dependencies, builds Tenvoria and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
exec ./build/src/app/tenvoria
