#!/usr/bin/env bash
# Builds fitchk and the history benchmark (build-bench/, Release) and times
# fitchk --history over 25 years of daily results against python3 loading
# them (bench/history_bench.cpp).
#
#   history_bench.sh [runs=N] [dir=FOLDER] [table=1] [keep=1]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCH=ON -DFITCHK_TESTS=OFF > /dev/null
cmake --build build-bench -j2 --target fitchk history_bench > /dev/null
build-bench/bench/history_bench "$@"
