#!/usr/bin/env bash
# The satellite problem file's neighbours, at every step of an update: run A
# is paused after each system call of its update (strace injects SIGSTOP;
# from the opening of its arc-split report to its first write), and there
#   rename   an editor saves the file by renaming a new one over it (one
#            hand-made line added),
#   inplace  the same edit is written into the file itself,
#   switch   the folder link through which the runs name the file is
#            switched to another folder,
#   second   run B (another satellite) updates the file,
# then A goes on. After each: every run ends with status 0, and its record
# is once in the file its results name (records_written 1, durable), its
# arc-split report says so; the hand edit is kept; the old lines are kept in
# their order; the other folder's file is byte for byte as it was; nothing is
# left beside either file.
#
#   outside_writers.sh FITCHK
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
source "$here/lib.sh"
set +e
command -v strace > /dev/null || { echo "no strace (scripts/install_deps.sh --tests)"; exit 77; }
strace -o /dev/null -e inject=getpid:error=EIO:when=1 true 2> /dev/null ||
  { echo "strace cannot inject here"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_neighbours_XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC
hand='   31         3         2       2013-04-01 00:00:00  2013-04-01 06:00:00 HAND EDIT'

# The case folder $1: runs A (satellite 7) and B (9) naming the file through
# the folder link LINK -> STA; STA2 holds another file. A copy of the
# folder "first" (made once, never run) with input files of its own.
setup() {
  local d=$1 r
  if [ -d "$work/first" ]; then
    cp -a "$work/first" "$d"
  else
    mkdir -p "$d/STA" "$d/STA2" "$d/A" "$d/B"
    ln -s STA "$d/LINK"
    protocol_with_outlier "$d/A/ORBIT.PRT" 7
    protocol_with_outlier "$d/B/ORBIT.PRT" 9
    big_problem_file "$d/STA/SATCRUX.CRX" 300 20
    big_problem_file "$d/STA2/SATCRUX.CRX" 200 10
    cp "$d/STA/SATCRUX.CRX" "$d/ORIG"
    cp "$d/STA2/SATCRUX.CRX" "$d/ORIG2"
  fi
  for r in A B; do
    input_file "$d/$r/FITCHK.INP" ORBIT.PRT '${P}/LINK/SATCRUX.CRX' "$d"
    echo 'JSONFIL 1 "RESULTS.JSON"' >> "$d/$r/FITCHK.INP"
  done
}

# The hand edit of file $1: the line $hand before the blank line behind the records.
edited() { awk -v h="$hand" 'NR > 6 && !done && $0 ~ /^ *$/ { print h; done = 1 } { print }' "$1"; }

# What the neighbour does in case folder $1.
act() {
  local d=$1 action=$2
  case $action in
    rename) edited "$d/STA/SATCRUX.CRX" > "$d/STA/.SATCRUX.CRX.swp" &&
            mv -f "$d/STA/.SATCRUX.CRX.swp" "$d/STA/SATCRUX.CRX" ;;
    inplace) edited "$d/STA/SATCRUX.CRX" > "$d/edit" && cat "$d/edit" > "$d/STA/SATCRUX.CRX" ;;
    switch) ln -s STA2 "$d/LINK.new" && mv -T "$d/LINK.new" "$d/LINK" ;;
    second) (cd "$d/B" && exec timeout 60 "$fitchk" FITCHK.INP > /dev/null 2>&1; echo $? > "$d/B/.status") &
            local k
            for k in $(seq 30); do [ -f "$d/B/.status" ] && break; sleep 0.01; done ;;  # or B waits for the lock
  esac
}

# A results value of run folder $1: records_written or durable.
result() { sed -n "s/^ *\"$2\": \\([a-z0-9]*\\),*\$/\\1/p" "$1/RESULTS.JSON"; }
opened() { sed -n 's/^ *"satellite_problem_file_opened": "\(.*\)",*$/\1/p' "$1/RESULTS.JSON"; }
records() { grep -c "^ *$2         4         0       2013 05 07 00 00 00 *\$" "$1"; }
# File $2 is file $1 with lines added: records of the split day and the hand edit.
keeps_lines() {
  diff -q <(sed 's/ *$//' "$1") <(sed 's/ *$//' "$2" | grep -v -e '         4         0       2013 05 07 00 00 00$' \
    -e 'HAND EDIT$') > /dev/null
}

# One case: action $1 after occurrence $3 of call $2. Prints FAIL lines.
one() {
  local action=$1 call=$2 n=$3 d=$work/$1_$2_$3 what="$1 after $2#$3" spid pid k paused=0 st r f
  setup "$d"
  (cd "$d/A" && exec timeout 60 strace -f -qq -o "$d/.trace" -e trace="$call" \
     -e signal=SIGSTOP -e inject="$call:signal=SIGSTOP:when=$n" "$fitchk" FITCHK.INP > /dev/null 2>&1) &
  spid=$!
  for k in $(seq 3000); do
    grep -qs 'stopped by SIGSTOP' "$d/.trace" && { paused=1; break; }
    kill -0 "$spid" 2> /dev/null || break
    sleep 0.01
  done
  if [ "$paused" = 1 ]; then
    pid=$(awk '/stopped by SIGSTOP/ { print $1; exit }' "$d/.trace")
    act "$d" "$action"
    kill -CONT "$pid"
  else
    echo "FAIL $what: the run was not paused"
  fi
  wait "$spid"
  echo $? > "$d/A/.status"
  wait
  for r in A B; do
    [ -f "$d/$r/.status" ] || continue
    st=$(cat "$d/$r/.status") f=$(opened "$d/$r")
    [ "$st" = 0 ] || { echo "FAIL $what: run $r status $st"; continue; }
    [ "$(result "$d/$r" records_written)" = 1 ] && [ "$(result "$d/$r" durable)" = true ] ||
      echo "FAIL $what: run $r results: $(result "$d/$r" records_written) $(result "$d/$r" durable)"
    grep -q '^Arc splitting for  1 sat' "$d/$r/ASPLIT.OUT" || echo "FAIL $what: run $r report"
    [ "$(records "$f" "$([ $r = A ] && echo 7 || echo 9)")" = 1 ] ||
      echo "FAIL $what: run $r record not once in $f"
  done
  case $action in
    rename | inplace)
      [ "$(grep -c 'HAND EDIT$' "$d/STA/SATCRUX.CRX")" = 1 ] || echo "FAIL $what: hand edit lost" ;;
  esac
  if [ "$action" = switch ] && [ "$(opened "$d/A")" = "$(cd "$d/STA2" && pwd -P)/SATCRUX.CRX" ]; then
    cmp -s "$d/ORIG" "$d/STA/SATCRUX.CRX" || echo "FAIL $what: STA touched"
    keeps_lines "$d/ORIG2" "$d/STA2/SATCRUX.CRX" || echo "FAIL $what: STA2 lines lost"
  else
    cmp -s "$d/ORIG2" "$d/STA2/SATCRUX.CRX" || echo "FAIL $what: STA2 touched"
    keeps_lines "$d/ORIG" "$d/STA/SATCRUX.CRX" || echo "FAIL $what: STA lines lost"
  fi
  for f in STA STA2; do
    [ "$(ls -A "$d/$f")" = SATCRUX.CRX ] || echo "FAIL $what: left in $f: $(ls -A "$d/$f" | tr '\n' ' ')"
  done
  rm -rf "$d"
}

# The calls of run A's update, each with its occurrence since the start.
setup "$work/first"
setup "$work/clean"
(cd "$work/clean/A" && strace -f -qq -o "$work/trace" "$fitchk" FITCHK.INP > /dev/null 2>&1) ||
  { echo "the clean run failed"; exit 1; }
awk '{ sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name) }
     name == "" || name ~ /^(---|\+\+\+)/ { next }
     { seen[name]++ }
     /"ASPLIT.OUT", O_WRONLY\|O_CREAT/ { on = 1; fd = $0; sub(/.*= /, "", fd); next }
     on && name == "write" && index($0, "write(" fd ",") == 1 { exit }
     on { print name, seen[name] }' "$work/trace" > "$work/calls"
while read -r call n; do
  for action in rename inplace switch second; do echo "$action $call $n"; done
done < "$work/calls" > "$work/list"
echo "$(wc -l < "$work/list") cases: 4 neighbours after each of $(wc -l < "$work/calls") calls"
export -f one setup edited act result opened records keeps_lines protocol_with_outlier input_file \
  big_problem_file
export fitchk work hand data
# Cases wait most of their time (a run paused, a second run waiting for the
# lock), so twice as many as there are cores run at a time, the waiting
# "second" cases spread among the others.
xargs -P "$((2 * $(nproc)))" -L 1 bash -c 'one "$@"' _ < "$work/list" > "$work/fails"
sort "$work/fails"
failed=$(wc -l < "$work/fails")
echo "outside writers: $(($(wc -l < "$work/list") - failed)) cases passed, $failed failures"
[ "$failed" -eq 0 ]
