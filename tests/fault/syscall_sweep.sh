#!/usr/bin/env bash
# Fails every system call of a run in turn, or kills the run there, with
# strace's fault injection:
#   syscall_sweep.sh FITCHK errors   each call kind with a fitting error, at
#                                    every occurrence N, in two runs: the
#                                    shipped example (arc splitting, names
#                                    through "${P}", PLOTFIL, JSONFIL) and a
#                                    tolerance check with SYSOUT and SYSERR
#                                    named and a protocol of two read blocks
#   syscall_sweep.sh FITCHK kills    the example killed at every call
# After each: exit status 0 only with every output as in the clean run and
# no " *** " message, otherwise 1 with a " *** " message and no success line; the satellite
# problem file byte for byte old or new; JSONFIL's return code agrees with
# the exit status; the next clean run succeeds and leaves no new file behind.
# Calls made before the program's own start (the loader's) are not failed.
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mode=$2
here=$(cd "$(dirname "$0")" && pwd)
examples=$here/../../examples
command -v strace > /dev/null || { echo "no strace (scripts/install_deps.sh --tests)"; exit 77; }
export LC_ALL=C TZ=UTC0
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_sweep_XXXXXX")
work_real=$(cd "$work" && pwd -P)  # as in the names the run opens
trap 'rm -rf "$work"' EXIT
strace -o /dev/null -e inject=getpid:error=EIO:when=1 true 2> /dev/null ||
  { echo "strace cannot inject faults here"; exit 77; }

# Call kinds and the error each gets.
declare -A error_of=(
  [open]=EACCES [openat]=EACCES [read]=EIO [pread64]=EIO [write]=ENOSPC [pwrite64]=ENOSPC
  [fsync]=EIO [fdatasync]=EIO [rename]=EIO [renameat]=EIO [renameat2]=EIO [link]=ENOSPC
  [linkat]=ENOSPC [unlink]=EIO [unlinkat]=EIO [close]=EIO [fcntl]=ENOLCK [flock]=ENOLCK
  [fchmod]=EIO [fchown]=EIO [lseek]=EIO [stat]=EIO [lstat]=EIO [fstat]=EIO [newfstatat]=EIO
  [statx]=EIO [getdents64]=EIO [ftruncate]=EIO [dup]=EMFILE [flistxattr]=EIO [fgetxattr]=EIO
  [fsetxattr]=EIO [fremovexattr]=EIO)
kinds=$(IFS=,; echo "${!error_of[*]}")

# The two runs, each in a folder of its own.
mkdir -p "$work/base/example" "$work/base/tolerance"
cp -a "$examples/." "$work/base/example/"
cp -a "$examples/." "$work/base/tolerance/"
sed -i -e 's|^ASPLIT 1 .*|ASPLIT 1  ""|' -e 's|^TOL_RMS 1 .*|TOL_RMS 1  "0.2"|' \
  -e 's|^SYSOUT 1 .*|SYSOUT 1  "${P}/FITCHK.OUT"|' -e 's|^SYSODEF 1 .*|SYSODEF 1  "0"|' \
  -e 's|^ERRMRG 1 .*|ERRMRG 1  "0"|' -e 's|^SYSERR 1 .*|SYSERR 1  "${P}/FITCHK.ERR"|' \
  "$work/base/tolerance/FITCHK.INP"
# A protocol of more than one read block (64 KiB): header lines before it.
prt=$work/base/tolerance/EXAMPLE/OUT/TRJ13162.OUT
{ for i in $(seq 1000); do printf ' PROTOCOL PAGE HEADER %57d\n' "$i"; done; cat "$prt"; } > "$prt.new"
mv "$prt.new" "$prt"
cases="example tolerance"
[ "$mode" = kills ] && cases=example

# File $1 with date, time and CPU lines masked, and the run's folder in the
# names as opened; sed expressions after it drop lines before that.
mask() {
  local f=$1
  shift
  sed -E "$@" -e '/^ Date           : /{s/[0-9]/9/g;s/-[A-Z][a-z]{2}-/-Mmm-/;}' \
         -e '/^>>> CPU\/Real time/s/[0-9]/9/g' -e '/^  "run_start": "/s/[0-9]/9/g' \
         -e '/^<text [^>]*class="run-date"/s/[0-9]/9/g' \
         -e 's/ [0-9]{2}-[A-Z]{3}-[0-9]{2} [0-9]{2}:[0-9]{2}$/ 99-MMM-99 99:99/' \
         -e "s#\"$work_real/[^/\"]*#\"/WORK#g" "$f"
}
# Every file of folder $1 masked, with its name, in one text (tail marks a
# last line without its line end: one blank line less before the next name);
# with $2, the program output and the results only as far as the messages.
tree_text() {
  (cd "$1" || exit 1
   mapfile -t files < <(find . -type f ! -name '.trace' | sort)
   [ -z "${2:-}" ] && { tail -v -n +1 -- "${files[@]}" | mask /dev/stdin; exit; }
   for f in "${files[@]}"; do
     echo "== $f"
     case $f in
       ./.console | ./FITCHK.OUT | ./FITCHK.ERR) mask "$f" -e '/^ ###|^ {16}|^$/d' ;;
       *.JSON) mask "$f" -e '/^  "messages": \[\],$/d; /^  "messages": \[$/,/^  \],$/d' ;;
       *) mask "$f" ;;
     esac
   done)
}
# True when the outputs of folder $1 are those of the clean run of case $2,
# apart from the warning of an open that worked when retried.
as_clean() {
  tree_text "$1" | cmp -s - "$work/clean_$2.text" && return 0
  grep -qs '^ ### SR OPNFIL: Problem to access file for opening' "$1/.console" "$1/FITCHK.OUT" \
    "$1/FITCHK.ERR" &&
    tree_text "$1" - | cmp -s - "$work/clean_$2.warn"
}

run() { (cd "$1" && shift && timeout 60 "$@" "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null); }

# The clean run of each case: its outputs, and the calls it makes after its start.
for c in $cases; do
  cp -a "$work/base/$c" "$work/clean_$c"
  (cd "$work/clean_$c" && timeout 60 strace -f -qq -o .trace -e trace="$kinds,rt_sigaction" \
     "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
  echo $? > "$work/clean_$c.status"
  awk '/rt_sigaction\(SIGXFSZ/ { go = 1 } go { sub(/^[0-9]+ +/, ""); sub(/\(.*/, "");
       if ($0 != "rt_sigaction" && $0 != "") n[$0]++ }
       END { for (k in n) print k, n[k] }' "$work/clean_$c/.trace" > "$work/calls_$c"
  awk '/rt_sigaction\(SIGXFSZ/ { go = 1 } !go { sub(/^[0-9]+ +/, ""); sub(/\(.*/, ""); n[$0]++ }
       END { for (k in n) print k, n[k] }' "$work/clean_$c/.trace" > "$work/before_$c"
  rm "$work/clean_$c/.trace"
  tree_text "$work/clean_$c" > "$work/clean_$c.text"
  tree_text "$work/clean_$c" - > "$work/clean_$c.warn"
done
new_crx=$work/clean_example/EXAMPLE/STA/SATCRUX.CRX
old_crx=$work/base/example/EXAMPLE/STA/SATCRUX.CRX

# One injection: case $1, call $2, occurrence $3 (counted from the start of
# the process: the loader's calls come first). Prints FAIL lines.
one() {
  local c=$1 call=$2 n=$3 d=$work/$1_$2_$3 st clean json rc what
  what="$c $call#$((n - ${4:-0}))"
  cp -a "$work/base/$c" "$d"
  if [ "$mode" = kills ]; then
    run "$d" strace -f -qq -o /dev/null -e trace="$call" -e inject="$call:signal=SIGKILL:when=$n" 2> /dev/null
    st=$?
    if ! cmp -s "$d/EXAMPLE/STA/SATCRUX.CRX" "$old_crx" && ! cmp -s "$d/EXAMPLE/STA/SATCRUX.CRX" "$new_crx"; then
      echo "FAIL $what killed: problem file neither old nor new"
    fi
  else
    run "$d" strace -f -qq -o /dev/null -e trace="$call" -e inject="$call:error=${error_of[$call]}:when=$n"
    st=$?
    clean=$(cat "$work/clean_$c.status")
    if [ "$st" = 0 ] && grep -qs '^ \*\*\* ' "$d/.console" "$d/FITCHK.OUT" "$d/FITCHK.ERR"; then
      echo "FAIL $what ${error_of[$call]}: status 0 after a *** message"
    elif [ "$st" = "$clean" ] && as_clean "$d" "$c"; then
      :  # no effect on any output
    elif [ "$st" != 1 ]; then
      echo "FAIL $what ${error_of[$call]}: status $st but outputs differ from the clean run's"
    else
      grep -qs '^ \*\*\* ' "$d/.console" "$d/FITCHK.OUT" "$d/FITCHK.ERR" ||
        echo "FAIL $what ${error_of[$call]}: status 1 without a *** message"
    fi
    if [ "$st" = 1 ] && grep -qs '^>>> Program finished successfully' "$d/.console" "$d/FITCHK.OUT"; then
      echo "FAIL $what ${error_of[$call]}: status 1 with the success line"
    fi
    if [ "$c" = example ] && ! cmp -s "$d/EXAMPLE/STA/SATCRUX.CRX" "$old_crx" &&
       ! cmp -s "$d/EXAMPLE/STA/SATCRUX.CRX" "$new_crx"; then
      echo "FAIL $what ${error_of[$call]}: problem file neither old nor new"
    fi
    json=$d/EXAMPLE/OUT/FIT13162.JSON
    if [ -f "$json" ]; then
      rc=$(sed -n 's/^  "return_code": \([0-9]*\),$/\1/p' "$json")
      { [ "$st" = 0 ] && [ "$rc" -le 1 ]; } || { [ "$st" = 1 ] && [ "$rc" = 2 ]; } ||
        echo "FAIL $what ${error_of[$call]}: status $st, JSONFIL return code $rc"
    fi
  fi
  run "$d"
  st=$?
  [ "$st" = "$(cat "$work/clean_$c.status")" ] || echo "FAIL $what: next clean run status $st"
  [ "$c" = example ] && ! cmp -s "$d/EXAMPLE/STA/SATCRUX.CRX" "$new_crx" &&
    echo "FAIL $what: next clean run did not complete the problem file"
  local left
  left=$(cd "$d" && find . -name '.*.fitchk-*')
  [ -z "$left" ] || echo "FAIL $what: left behind: $left"
  rm -rf "$d"
}
export -f one run mask tree_text as_clean
export fitchk mode work work_real new_crx old_crx
export error_of_text
error_of_text=$(declare -p error_of)

list=$work/list
for c in $cases; do
  while read -r call count; do
    skip=$(awk -v k="$call" '$1 == k { print $2 }' "$work/before_$c")
    skip=${skip:-0}
    for n in $(seq "$count"); do echo "$c $call $((skip + n)) $skip"; done
  done < "$work/calls_$c"
done > "$list"
echo "$(wc -l < "$list") injections ($mode): $(cat "$work"/calls_* | tr '\n' ' ')"
xargs -P "$(nproc)" -L 1 bash -c 'eval "$error_of_text"; one "$@"' _ < "$list" > "$work/fails"
sort "$work/fails"
failed=$(wc -l < "$work/fails")
echo "$mode: $(($(wc -l < "$list") - failed)) injections passed, $failed failures"
[ "$failed" -eq 0 ]
