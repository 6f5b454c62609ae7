#!/usr/bin/env bash
# Builds fitchk and the benchmarks (build-bench/, Release) and times whole
# runs against `wc -l` over the same protocols (bench/fitchk_bench.cpp).
#
#   bench.sh [case=a|b|c|all] [runs=N] [dir=FOLDER] [keep=1]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_BENCH=ON -DFITCHK_TESTS=OFF > /dev/null
cmake --build build-bench -j2 --target fitchk fitchk_bench line_floor > /dev/null
build-bench/bench/fitchk_bench "$@"
