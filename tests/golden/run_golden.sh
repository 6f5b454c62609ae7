#!/usr/bin/env bash
# Runs every case folder below this one through fitchk and compares the whole
# result byte for byte with the case's expected/ folder.
#
#   run_golden.sh FITCHK GOLDEN_DIR [CASE...]   compare
#   UPDATE=1 run_golden.sh FITCHK GOLDEN_DIR    rewrite expected/ for review
#
# A case folder holds input/ (copied into a fresh temporary folder, where the
# program runs), args (the command line, one argument per line; missing: no
# argument), optionally setup.sh (run in the temporary folder before the
# program; its exit status 77 skips the case, with its last output line as
# the reason), run.sh (runs the program in its place: called with the program
# and its arguments, e.g. to set a file-size limit), teardown.sh (run after
# the program, before the folder is compared), and expected/: every file of
# the folder after the run, plus expected/.console (standard output) and
# expected/.status (exit status).
# Only the title block's date line, the run title's date and time, the
# CPU/real-time line and the run's start in the picture and the results are
# masked: their digits become 9 and the month's name Mmm (MMM), so that the
# cases pass in every month; the temporary folder in a quoted absolute name
# (the results' names as opened) becomes /WORK.
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
golden=$(cd "$2" && pwd)
shift 2
export LC_ALL=C TZ=UTC

mask() {
  sed -E -e '/^ Date           : /{s/[0-9]/9/g;s/-[A-Z][a-z]{2}-/-Mmm-/;}' \
         -e '/^>>> CPU\/Real time/s/[0-9]/9/g' \
         -e '/^  "run_start": "/s/[0-9]/9/g' \
         -e '/^<text [^>]*class="run-date"/s/[0-9]/9/g' \
         -e 's/ [0-9]{2}-[A-Z]{3}-[0-9]{2} [0-9]{2}:[0-9]{2}$/ 99-MMM-99 99:99/' \
         -e 's#"[^"]*/fitchk_golden_[A-Za-z0-9]{6}(/|")#"/WORK\1#g' "$1"
}

run_case() {
  local case=$1 name work out
  name=$(basename "$case")
  work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_golden_XXXXXX")
  out=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_result_XXXXXX")
  [ -d "$case/input" ] && cp -a "$case/input/." "$work/"
  local args=()
  [ -f "$case/args" ] && mapfile -t args < "$case/args"
  if [ -f "$case/setup.sh" ]; then
    local note setup_rc=0
    note=$(cd "$work" && bash "$case/setup.sh") || setup_rc=$?
    if [ "$setup_rc" -ne 0 ]; then
      [ -f "$case/teardown.sh" ] && (cd "$work" && bash "$case/teardown.sh")
      rm -rf "$work" "$out"
      if [ "$setup_rc" -eq 77 ]; then
        echo "skip $name: ${note##*$'\n'}"
        return 77
      fi
      echo "FAIL $name: setup.sh ended with status $setup_rc"
      return 1
    fi
  fi
  local runner=()
  [ -f "$case/run.sh" ] && runner=(bash "$case/run.sh")
  (cd "$work" && "${runner[@]}" "$fitchk" "${args[@]}" > "$out/.console" < /dev/null)
  echo $? > "$out/.status"
  if [ -f "$case/teardown.sh" ]; then (cd "$work" && bash "$case/teardown.sh"); fi
  (cd "$work" && find . -type f -print0 | xargs -0 -r cp --parents -t "$out")
  local f
  while IFS= read -r -d '' f; do mask "$f" > "$f.masked" && mv "$f.masked" "$f"; done \
    < <(find "$out" -type f -print0)
  local rc=0
  if [ "${UPDATE:-0}" = 1 ]; then
    rm -rf "$case/expected" && mkdir -p "$case/expected" && cp -a "$out/." "$case/expected/"
    echo "updated $name"
  elif ! diff -r "$case/expected" "$out" > "$out.diff" 2>&1; then
    echo "FAIL $name"
    cat "$out.diff"
    rc=1
  else
    echo "ok   $name"
  fi
  rm -rf "$work" "$out" "$out.diff"
  return $rc
}

failed=0 passed=0 skipped=0
cases=("$@")
[ ${#cases[@]} -eq 0 ] && cases=("$golden"/*/)
for c in "${cases[@]}"; do
  c=${c%/}
  [ -d "$c" ] || c="$golden/$c"
  rc=0
  run_case "$c" || rc=$?
  case $rc in
    0) passed=$((passed + 1)) ;;
    77) skipped=$((skipped + 1)) ;;
    *) failed=$((failed + 1)) ;;
  esac
done
echo "golden: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
