#!/usr/bin/env bash
# Builds fitchk with its tests and runs them all: the normal build (build/),
# the same suite under the address and undefined-behaviour sanitizers
# (build-asan/), then a short run of every fuzz target (scripts/fuzz.sh).
#
#   run_tests.sh [--no-sanitize] [--no-fuzz] [--fuzz-seconds N]   (default 25 s per target)
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=1 fuzz=1 fuzz_seconds=25
while [ $# -gt 0 ]; do
  case $1 in
    --no-sanitize) sanitize=0 ;;
    --no-fuzz) fuzz=0 ;;
    --fuzz-seconds) fuzz_seconds=$2; shift ;;
    *) echo "usage: run_tests.sh [--no-sanitize] [--no-fuzz] [--fuzz-seconds N]" >&2; exit 2 ;;
  esac
  shift
done

# The time of each stage, told at the end.
times=() total=0
minutes() { echo "$(($1 / 60)) min $(($1 % 60)) s"; }
took() { times+=("$1 $(minutes "$SECONDS")"); total=$((total + SECONDS)); SECONDS=0; }

SECONDS=0
bash scripts/install_deps.sh --tests
echo "== normal build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DFITCHK_TESTS=ON > /dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)
took "normal build and tests:"

if [ "$sanitize" = 1 ]; then
  echo "== address and undefined-behaviour sanitizers"
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFITCHK_SANITIZE=ON -DFITCHK_TESTS=ON > /dev/null
  cmake --build build-asan -j2
  (cd build-asan && ctest --output-on-failure -j2)
  took "sanitizers:"
fi

if [ "$fuzz" = 1 ]; then
  echo "== fuzz smoke run"
  bash scripts/fuzz.sh "$fuzz_seconds"
  took "fuzz smoke run:"
fi
echo "== all passed"
printf '  %s\n' "${times[@]}" "whole: $(minutes "$total")"
