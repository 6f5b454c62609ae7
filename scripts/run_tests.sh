#!/usr/bin/env bash
# Builds fitchk with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh --tests
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DFITCHK_TESTS=ON > /dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)
