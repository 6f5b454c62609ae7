#!/usr/bin/env bash
# Mistakes of users, each made in a copy of the shipped example and run as
# a whole:
#
#   run_mistakes.sh FITCHK
#
# 1. A table of mistakes in the input file, a protocol, the satellite
#    problem file and the command line, each with the exit status, a
#    message, the satellite problem file afterwards (old or new) and the
#    verdict of the results. Names go through "${P}", set to the case's
#    absolute folder, and the runs start from the folder above it.
# 2. Every keyword line of the example's input file left out, given the
#    value "-3" or "abc", or written in lower case, in the example and in
#    the example made a tolerance check (ASPLIT blank): each run ends with exit
#    status 0 exactly when it wrote no " *** " message, its verdict line
#    and results agree, and the satellite problem file is new only after a
#    run that ended with 0.
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
example=$here/../../examples
source "$here/lib.sh"
set +e
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_mistakes_XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC

old_crx=$example/EXAMPLE/STA/SATCRUX.CRX
new_crx=$work/new.crx
cp -a "$example" "$work/reference"
(cd "$work/reference" && "$fitchk" FITCHK.INP > /dev/null 2>&1 < /dev/null) || bad "reference run"
cp "$work/reference/EXAMPLE/STA/SATCRUX.CRX" "$new_crx"
cmp -s "$old_crx" "$new_crx" && bad "the reference run adds no record"

# A fresh copy of the example in $work/$1 whose "P" is that folder, its
# input file changed by the sed script $2.
copy() {
  local dir=$work/$1
  rm -rf "$dir" && cp -a "$example" "$dir"
  sed -i -e "s|^  \"P\" .*|  \"P\" \"$dir\"|" -e "$2" "$dir/FITCHK.INP"
}

# The example's protocol cut after row $2 of its final satellite table, to $1.
cut_table() {
  awk -v rows="$2" '{ print } /ITERATION:  3/ { last = 1 }
    last && /^ -----/ { table = 1; next } table && ++n == rows { exit }' \
    "$example/EXAMPLE/OUT/TRJ13162.OUT" > "$1"
}

# Runs case $1 from the folder above it with the arguments after $5 (the
# input file by default) and checks: exit status $2, text $3 in what the
# run wrote (console and standard error), the satellite problem file $4
# ("old" or "new"), the results' verdict $5 ("-": no results written).
expect() {
  local name=$1 status=$2 text=$3 crx=$4 verdict=$5 dir=$work/$1
  shift 5
  [ $# -gt 0 ] || set -- "$name/FITCHK.INP"
  (cd "$work" && timeout 60 "$fitchk" "$@" > "$dir/.console" 2>&1 < /dev/null)
  local st=$? json=$dir/EXAMPLE/OUT/FIT13162.JSON got=-
  [ "$st" = "$status" ] || { bad "$name: exit status $st"; return; }
  grep -qF -e "$text" "$dir/.console" || { bad "$name: no \"$text\""; return; }
  local want=$old_crx
  [ "$crx" = new ] && want=$new_crx
  cmp -s "$dir/EXAMPLE/STA/SATCRUX.CRX" "$want" ||
    { bad "$name: the satellite problem file is not the $crx one"; return; }
  [ -f "$json" ] && got=$(sed -n 's/^  "verdict": "\(.*\)",$/\1/p' "$json")
  [ "$got" = "$verdict" ] || { bad "$name: verdict $got"; return; }
  ok
}

P='${P}'
tol='s|^ASPLIT 1 .*|ASPLIT 1 ""|'
bom=$(printf '\357\273\277')
split_err='*** PG FITCHK: Satellite problem file not updated'

copy clean ""
expect clean 0 ">>> Program finished successfully" new satellites_split

copy factor_negative 's|^FAC_GPS 1 .*|FAC_GPS 1 "-3"|;s|^LIM_GPS 1 .*|LIM_GPS 1 "0"|'
expect factor_negative 1 "$split_err" old error
grep -q '^Arc splitting for  0 sat\.' "$work/factor_negative/EXAMPLE/OUT/ASP13162.LST" ||
  bad "factor_negative: the report claims splits"

copy factor_lower_case 's|^FAC_GPS 1|fac_gps 1|'
expect factor_lower_case 1 'Keyword "FAC_GPS" not found.' old error

copy tolerance_missing "$tol;/^TOL_RMS 1/d"
expect tolerance_missing 1 'Keyword "TOL_RMS" not found.' old error

copy protocol_empty "$tol"
: > "$work/protocol_empty/EXAMPLE/OUT/TRJ13162.OUT"
expect protocol_empty 1 "*** PG FITCHK: No satellite RMS values for the tolerance check" old no_check

copy protocol_foreign "$tol"
cp "$example/FITCHK.INP" "$work/protocol_foreign/EXAMPLE/OUT/TRJ13162.OUT"
expect protocol_foreign 1 "*** PG FITCHK: No satellite RMS values for the tolerance check" old no_check

copy protocol_none "$tol;s|^RADIO_1 1 .*|RADIO_1 1 \"2\"|"
expect protocol_none 1 "*** PG FITCHK: No protocol for the tolerance check" old no_check

copy protocol_list_empty "$tol;s|^JOBOUT 1 .*|JOBOUT 1 \"\"|"
expect protocol_list_empty 1 "JOBOUT names no protocol file." old no_check

copy tolerance_zero "$tol;s|^TOL_RMS 1 .*|TOL_RMS 1 \"0\"|"
: > "$work/tolerance_zero/EXAMPLE/OUT/TRJ13162.OUT"
expect tolerance_zero 0 ">>> Program finished successfully" old no_check

copy table_cut_tolerance "$tol"
cut_table "$work/table_cut_tolerance/EXAMPLE/OUT/TRJ13162.OUT" 17
expect table_cut_tolerance 1 "17 of 53 satellites read, none above the tolerance" old no_check

copy table_cut_split ""
cut_table "$work/table_cut_split/EXAMPLE/OUT/TRJ13162.OUT" 17
expect table_cut_split 1 "*** PG FITCHK: Arc splitting on an incomplete satellite table" old error

copy protocol_cut_split ""
sed -i '/TOTAL NUMBER OF SATELLITES/,$d' "$work/protocol_cut_split/EXAMPLE/OUT/TRJ13162.OUT"
expect protocol_cut_split 1 "*** PG FITCHK: No satellite RMS values for the arc splitting" old no_check

copy split_two_protocols 's|^RADIO_1 1 .*|RADIO_1 1 "0"|'
expect split_two_protocols 1 "*** PG FITCHK: No arc splitting and no tolerance check" old no_check

copy delete_inputs "s|^TITLE 1|DELETE_FILES 3\\n  \"SATCRUX\"\\n  \"$work/delete_inputs/EXAMPLE/OUT/../OUT/TRJ13162.OUT\"\\n  \"delete_inputs/./FITCHK.INP\"\\n&|"
expect delete_inputs 0 "### SR EXIT_DEL: File not deleted: the run reads it" new satellites_split
for f in FITCHK.INP EXAMPLE/OUT/TRJ13162.OUT EXAMPLE/STA/SATCRUX.CRX; do
  [ -f "$work/delete_inputs/$f" ] || bad "delete_inputs: $f deleted"
done
[ "$(grep -c 'File not deleted' "$work/delete_inputs/.console")" = 3 ] || bad "delete_inputs: not 3 warnings"

copy byte_order_mark "1s|^|${bom}ASPLIT 1 \"$P/EXAMPLE/OUT/ASP13162.LST\"\\n|;/^ASPLIT 1/d"
expect byte_order_mark 0 ">>> Program finished successfully" new satellites_split

copy option_last ""
expect option_last 1 "fitchk --check option_last/FITCHK.INP" old - option_last/FITCHK.INP --check

# The sweep: every keyword line of the example mutated in four ways.
mutate() {  # line $1, way $2
  case $2 in
    out) echo "${1}d" ;;
    negative) echo "${1}s|^\\([A-Za-z_0-9]*\\) .*|\\1 1 \"-3\"|" ;;
    text) echo "${1}s|^\\([A-Za-z_0-9]*\\) .*|\\1 1 \"abc\"|" ;;
    lower) echo "${1}s|^[A-Za-z_0-9]*|\\L&|" ;;
  esac
}
invariants() {  # case $1, exit status $2
  local dir=$work/$1 st=$2 json=$dir/EXAMPLE/OUT/FIT13162.JSON log
  log=$(cd "$dir" && find . -type f ! -name FITCHK.INP ! -name '*.CRX' ! -name 'TRJ*.OUT' \
        ! -name '*.JSON' ! -name '*.SVG' -exec cat {} +)
  local errors=0 rc
  grep -qE '^ ?\*\*\* ' <<< "$log" && errors=1
  case $st,$errors in
    0,0 | 1,1) ;;
    *) bad "$1: exit status $st with error messages: $errors"; return ;;
  esac
  if [ "$st" = 0 ]; then
    grep -q '^>>> Program finished successfully' <<< "$log" || { bad "$1: no success line"; return; }
  elif grep -q '^>>> Program finished successfully' <<< "$log"; then
    bad "$1: exit status 1 with the success line"; return
  fi
  if [ -f "$json" ]; then
    rc=$(sed -n 's/^  "return_code": \([0-9]*\),$/\1/p' "$json")
    { [ "$st" = 0 ] && [ "$rc" -le 1 ]; } || { [ "$st" = 1 ] && [ "$rc" = 2 ]; } ||
      { bad "$1: exit status $st, return code $rc"; return; }
  fi
  if [ "$st" != 0 ] && ! cmp -s "$dir/EXAMPLE/STA/SATCRUX.CRX" "$old_crx"; then
    bad "$1: the satellite problem file changed in a run that ended with an error"; return
  fi
  ok
}
# One mutated run: the example ($1 split) or the tolerance check ($1
# tolerance), keyword line $2 mutated in way $3. Prints a FAIL line if any,
# then "done" and the name.
mutated() {
  local name=$1_$2_$3 dir=$work/$1_$2_$3 script=
  [ "$1" = tolerance ] && script=$tol
  rm -rf "$dir" && cp -a "$example" "$dir"
  sed -i -e "$script" -e "$(mutate "$2" "$3")" "$dir/FITCHK.INP"
  (cd "$dir" && timeout 60 "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
  invariants "$name" $?
  [ -n "${KEEP:-}" ] || rm -rf "$dir"
  echo "done $name"
}
for base in split tolerance; do
  for line in $(grep -n '^[A-Z_0-9]* [0-9]' "$example/FITCHK.INP" | cut -d: -f1); do
    for way in out negative text lower; do echo "$base $line $way"; done
  done
done > "$work/mutations"
export -f mutated mutate invariants ok bad
export fitchk work example tol old_crx
# The runs are independent: as many at a time as there are cores.
xargs -P "$(nproc)" -L 1 bash -c 'mutated "$@"' _ < "$work/mutations" > "$work/mutated"
grep -v '^done ' "$work/mutated"
runs=$(grep -c '^done ' "$work/mutated")
fails=$(grep -c -v '^done ' "$work/mutated")
failed=$((failed + fails)) passed=$((passed + runs - fails))
[ "$runs" = "$(wc -l < "$work/mutations")" ] || bad "only $runs of $(wc -l < "$work/mutations") mutated runs done"
[ "$runs" -ge 240 ] || bad "only $runs mutated runs"

echo "run_mistakes: $passed passed, $failed failed ($runs mutated runs)"
[ "$failed" -eq 0 ]
