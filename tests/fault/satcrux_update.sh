#!/usr/bin/env bash
# Whole runs that update one satellite problem file as processing chains do:
# names written through variables, links and "..", failures during the
# rewrite, many runs at once, runs killed at random moments. Afterwards the
# file is always the old one or the complete new one, every record is there
# once, and nothing is left beside it.
#
#   satcrux_update.sh FITCHK
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
source "$here/lib.sh"
set +e
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_update_XXXXXX")
trap 'chattr -R -i "$work" 2> /dev/null; rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC


# True when folder $1 holds exactly the names $2...
holds_only() {
  local dir=$1; shift
  [ "$(cd "$dir" && ls -A | sort | tr '\n' ' ')" = "$(printf '%s\n' "$@" | sort | tr '\n' ' ')" ]
}

# True when file $2 holds every line of $1 in order (blanks at the end
# ignored), plus exactly the records of satellites $3... dated 2013-05-07.
updated_from() {
  local old=$1 new=$2; shift 2
  local s n
  for s in "$@"; do
    n=$(grep -c "^ *$s         4         0       2013 05 07 00 00 00 *\$" "$new")
    [ "$n" = 1 ] || { echo "  satellite $s: $n records"; return 1; }
  done
  diff -q <(sed 's/ *$//' "$old") \
    <(sed 's/ *$//' "$new" | grep -v '         4         0       2013 05 07 00 00 00$') > /dev/null
}

run_in() { (cd "$1" && shift && timeout 120 "$@" "$fitchk" FITCHK.INP > /dev/null 2>&1); }

# --- every name a menu writes, with and without failures ---
names=('STA/SATCRUX.CRX' '${P}/STA/SATCRUX.CRX' '$P/STA/SATCRUX.CRX' 'STA/../STA/SATCRUX.CRX'
       '${P}/LINKDIR/SATCRUX.CRX' 'LINK.CRX')
name_case() {  # $1 name, $2 fault: none, size, readonly
  local d=$work/name_$3 name=$1 fault=$2 rc
  rm -rf "$d"; mkdir -p "$d/STA"
  protocol_with_outlier "$d/ORBIT.PRT" 7
  input_file "$d/FITCHK.INP" ORBIT.PRT "$name" "."
  ln -s STA "$d/LINKDIR"; ln -s STA/SATCRUX.CRX "$d/LINK.CRX"
  big_problem_file "$d/STA/SATCRUX.CRX" 19000 992
  chmod 640 "$d/STA/SATCRUX.CRX"
  cp -p "$d/STA/SATCRUX.CRX" "$d/ORIG"
  case $fault in
    size) (cd "$d" && ulimit -f 1024 && timeout 120 "$fitchk" FITCHK.INP > /dev/null 2>&1); rc=$? ;;
    readonly) chattr +i "$d/STA" 2> /dev/null && ! touch "$d/STA/probe" 2> /dev/null || {
                chattr -i "$d/STA" 2> /dev/null; echo "skip readonly folder ($name)"; return; }
              run_in "$d"; rc=$?; chattr -i "$d/STA" ;;
    none) run_in "$d"; rc=$? ;;
  esac
  check "$name $fault: link kept" test -L "$d/LINK.CRX" -a -L "$d/LINKDIR"
  check "$name $fault: nothing left" holds_only "$d/STA" SATCRUX.CRX
  check "$name $fault: mode kept" test "$(stat -c %a "$d/STA/SATCRUX.CRX")" = 640
  if [ "$fault" = none ]; then
    check "$name: status 0" test "$rc" = 0
    check "$name: updated" updated_from "$d/ORIG" "$d/STA/SATCRUX.CRX" 7
  else
    check "$name $fault: status 1" test "$rc" = 1
    check "$name $fault: WRITE FAILED" grep -q "WRTERR: WRITE FAILED" "$d/FITCHK.ERR"
    check "$name $fault: old file" cmp -s "$d/ORIG" "$d/STA/SATCRUX.CRX"
  fi
}
i=0
for name in "${names[@]}"; do
  for fault in none size readonly; do name_case "$name" "$fault" "$i"; i=$((i + 1)); done
done

# --- runs at once against one file, each adding its own record ---
concurrent() {  # $1 label, $2 name of the shared file as the runs give it
  local d=$work/conc_$1 k pids=() rc=0 sats=()
  mkdir -p "$d/shared"
  big_problem_file "$d/shared/SATCRUX.CRX" 2000 10
  cp "$d/shared/SATCRUX.CRX" "$d/ORIG"
  for k in 1 2 3 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21; do
    mkdir "$d/run$k"
    protocol_with_outlier "$d/run$k/ORBIT.PRT" "$k"
    input_file "$d/run$k/FITCHK.INP" ORBIT.PRT "$2" "$d/shared"
    sats+=("$k")
  done
  for k in "${sats[@]}"; do run_in "$d/run$k" & pids+=($!); done
  for k in "${pids[@]}"; do wait "$k" || rc=1; done
  check "$1: every run status 0" test "$rc" = 0
  check "$1: every record once, old lines kept" updated_from "$d/ORIG" "$d/shared/SATCRUX.CRX" "${sats[@]}"
  check "$1: nothing left" holds_only "$d/shared" SATCRUX.CRX
}
concurrent variable '${P}/SATCRUX.CRX'
concurrent literal "$work/conc_literal/shared/SATCRUX.CRX"

identical() {
  local d=$work/same k pids=() rc=0
  mkdir -p "$d"
  big_problem_file "$d/SATCRUX.CRX" 2000 10
  cp "$d/SATCRUX.CRX" "$d/ORIG"
  for k in $(seq 10); do
    mkdir "$d/run$k"
    protocol_with_outlier "$d/run$k/ORBIT.PRT" 9
    input_file "$d/run$k/FITCHK.INP" ORBIT.PRT '${P}/SATCRUX.CRX' "$d"
  done
  for k in $(seq 10); do run_in "$d/run$k" & pids+=($!); done
  for k in "${pids[@]}"; do wait "$k" || rc=1; done
  check "identical runs: status 0" test "$rc" = 0
  check "identical runs: one record" updated_from "$d/ORIG" "$d/SATCRUX.CRX" 9
}
identical

# --- runs killed at random moments of a large update ---
killed() {
  local d=$work/kill ref=$work/kill_ref n pid state old=0 new=0
  mkdir -p "$d/STA" "$ref/STA"
  protocol_with_outlier "$d/ORBIT.PRT" 11
  input_file "$d/FITCHK.INP" ORBIT.PRT '${P}/STA/SATCRUX.CRX' "."
  big_problem_file "$d/ORIG" 19000 1000
  cp "$d/ORBIT.PRT" "$d/FITCHK.INP" "$ref/"; cp "$d/ORIG" "$ref/STA/SATCRUX.CRX"
  run_in "$ref"
  for n in $(seq 25); do
    cp "$d/ORIG" "$d/STA/SATCRUX.CRX"
    (cd "$d" && exec "$fitchk" FITCHK.INP > /dev/null 2>&1) & pid=$!
    sleep "0.0$((RANDOM % 30))"
    kill -KILL "$pid" 2> /dev/null; wait "$pid" 2> /dev/null
    if cmp -s "$d/ORIG" "$d/STA/SATCRUX.CRX"; then old=$((old + 1))
    elif cmp -s "$ref/STA/SATCRUX.CRX" "$d/STA/SATCRUX.CRX"; then new=$((new + 1))
    else bad "killed run $n: file is neither old nor new"; continue; fi
    run_in "$d"
    check "killed run $n: next run not blocked, file complete" \
      cmp -s "$ref/STA/SATCRUX.CRX" "$d/STA/SATCRUX.CRX"
    check "killed run $n: nothing left" holds_only "$d/STA" SATCRUX.CRX
  done
  echo "killed runs: $old left the old file, $new the new one"
}
killed

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
