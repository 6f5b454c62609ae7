#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for
# TIME seconds (default 25), starting from fuzz/seeds/ and the test cases,
# as many targets at a time as there are cores.
#
#   scripts/fuzz.sh [TIME] [TARGET...]     targets: input_file protocol satcrux time options results
#
# Any finding (crash, sanitizer report, broken property, timeout, memory
# blow-up) fails the run; its input is kept in build-fuzz/findings/TARGET/
# and can be replayed with build-fuzz/fuzz/fuzz_TARGET FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(input_file protocol satcrux time options results)

bash scripts/install_deps.sh --fuzz
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFITCHK_FUZZ=ON \
  -DFITCHK_TESTS=OFF > /dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}" > build-fuzz/build.log 2>&1 ||
  { cat build-fuzz/build.log; exit 1; }

# Test cases that seed each target besides its own seeds.
seeds_of() {
  case $1 in
    input_file) ls examples/*.INP tests/golden/*/input/*.INP 2>/dev/null ;;
    protocol) ls tests/data/protocols/*.prt ;;
    satcrux) ls tests/data/satcrux/* ;;
    results) find tests/golden -path '*/expected/*' -name '*.JSON' ;;
  esac
}

# A target that stops on a finding leaves its temporary folder: keep them here.
export TMPDIR=$PWD/build-fuzz/tmp
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One target's run: its corpus, its log, its exit status in build-fuzz/status_TARGET.
fuzz_one() {
  local t=$1 corpus=build-fuzz/corpus/$1 findings=build-fuzz/findings/$1 f st=0
  mkdir -p "$corpus" "$findings"
  cp fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  for f in $(seeds_of "$t"); do cp "$f" "$corpus/case_$(basename "$(dirname "$f")")_$(basename "$f")"; done
  ./build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" \
    > "build-fuzz/fuzz_$t.log" 2>&1 || st=$?
  echo "$st" > "build-fuzz/status_$t"
}

# Each target runs on one core: as many at a time as there are cores.
echo "fuzz: ${targets[*]}, ${seconds}s each, $(nproc) at a time"
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  rm -f "build-fuzz/status_$t"
  fuzz_one "$t" &
done
wait
failed=()
for t in "${targets[@]}"; do
  log=build-fuzz/fuzz_$t.log findings=build-fuzz/findings/$t
  if [ "$(cat "build-fuzz/status_$t" 2>/dev/null)" = 0 ]; then
    echo "fuzz_$t: $(grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -1 || true)"
  else
    echo "FINDING in fuzz_$t (input in $findings/):"
    grep -E -A25 'ERROR|runtime error|property violated|Timeout|out-of-memory' "$log" | head -60 ||
      tail -n 20 "$log" || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no findings"
