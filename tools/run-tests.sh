#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
# The Debian package: built, linted, installed, started and purged.
../tools/ci-package.sh .
# Then once more under the sanitizers, with the fuzz targets.
cd .. && ./tools/ci-sanitizers.sh
