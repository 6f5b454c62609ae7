#!/usr/bin/env bash
# Whole runs of the shipped example with outputs that name the run's own
# inputs, each other (SYSOUT and SYSERR included, names through "${P}", a
# link to a file not written yet) or the log that holds the run's console,
# names too long for the program, protocols given as a FIFO or as a
# read-only file, and the input file given through a pipe or a FIFO. A
# refused run leaves every input byte for byte as it was.
#
#   outputs_guard.sh FITCHK
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
example=$here/../../examples
source "$here/lib.sh"
set +e
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_guard_XXXXXX")
trap 'chattr -R -i "$work" 2> /dev/null; umount "$work/readonly/ro" 2> /dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC
skipped=0

# A fresh copy of the example in $work/$1, its input file changed by the
# sed script $2 (keyword lines replaced or added).
copy() {
  rm -rf "${work:?}/$1" && mkdir -p "$work/$1" && cp -a "$example/." "$work/$1/"
  sed -i -e "$2" "$work/$1/FITCHK.INP"
}

# Runs case $1 (status 1 expected, console holding $2, the example's inputs
# unchanged, no output written).
refused() {
  local dir=$work/$1 text=$2 sums
  sums=$(cd "$dir" && sha256sum FITCHK.INP EXAMPLE/STA/SATCRUX.CRX EXAMPLE/OUT/* 2> /dev/null)
  (cd "$dir" && timeout 60 "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
  local rc=$?
  if [ "$rc" -ne 1 ]; then bad "$1: exit status $rc"; return; fi
  if ! grep -qF -e "$text" "$dir/.console"; then bad "$1: no \"$text\" on the console"; return; fi
  if [ "$(cd "$dir" && sha256sum FITCHK.INP EXAMPLE/STA/SATCRUX.CRX EXAMPLE/OUT/* 2> /dev/null)" != "$sums" ]; then
    bad "$1: a file was changed or written"; return
  fi
  ok
}

overwrite="*** PG FITCHK: Output file would overwrite an input file of the run"
same="*** PG FITCHK: Two output files name the same file"
long="File name too long"
P='${P}'
merge='s|^ERRMRG 1 .*|ERRMRG 1 "0"|'
envl="s|^ENVIRONMENT 2|ENVIRONMENT 3|;s|^  \"USER\".*|&\\n  \"L\" \"$(printf 'L/../%.0s' {1..40})\"|"
# Case, sed script of the input file, expected console text.
cases=(
  "sysout_crx|s|^SYSOUT 1 .*|SYSOUT 1 \"$P/EXAMPLE/STA/SATCRUX.CRX\"|;|$overwrite"
  "sysout_protocol|s|^SYSOUT 1 .*|SYSOUT 1 \"$P/EXAMPLE/OUT/../OUT/TRJ13162.OUT\"|;|$overwrite"
  "sysout_input|s|^SYSOUT 1 .*|SYSOUT 1 \"$P/FITCHK.INP\"|;|$overwrite"
  "syserr_crx|$merge;s|^SYSERR 1 .*|SYSERR 1 \"$P/EXAMPLE/STA/SATCRUX.CRX\"|;|$overwrite"
  "syserr_sysout|$merge;s|^SYSOUT 1 .*|SYSOUT 1 \"$P/EXAMPLE/F.LOG\"|;s|^SYSERR 1 .*|SYSERR 1 \"EXAMPLE/F.LOG\"|;|$same"
  "sysout_outfil|s|^SYSOUT 1 .*|SYSOUT 1 \"$P/EXAMPLE/OUT/FIT13162.SUM\"|;|$same"
  "syserr_json|$merge;s|^SYSERR 1 .*|SYSERR 1 \"$P/EXAMPLE/OUT/FIT13162.JSON\"|;|$same"
  "outfil_weekfm_linked|s|^WEEKFM 1 .*|WEEKFM 1 \"$P/EXAMPLE/OUT/LINK.WEK\"|;|$same"
  "weekfm_link_to_outfil|s|^WEEKFM 1 .*|WEEKFM 1 \"$P/EXAMPLE/OUT/NEW.WEK\"|;|$same"
  "outfil_line_long|s|^OUTFIL 1 .*|OUTFIL 1 \"./$(printf './%.0s' {1..130})EXAMPLE/OUT/FIT13162.SUM\"|;|$long"
  "outfil_expanded_long|$envl;s|^OUTFIL 1 .*|OUTFIL 1 \"$P/\${L}\${L}EXAMPLE/OUT/FIT13162.SUM\"|;|$long"
  "sysout_expanded_long|$envl;s|^SYSOUT 1 .*|SYSOUT 1 \"$P/\${L}\${L}EXAMPLE/STA/SATCRUX.CRX\"|;|$long"
  "protocol_line_long|s|^JOBOUT 1 .*|JOBOUT 1 \"$(printf './%.0s' {1..130})EXAMPLE/OUT/TRJ13162.OUT\"|;|*** SR GTFILE: File name too long"
  "variable_line_long|s|^ENVIRONMENT 2|ENVIRONMENT 3|;s|^  \"USER\".*|\&\\n   \"L\" \"$(printf './%.0s' {1..112})EXAMPLE/STA/SATCRUX.CRX.NEW\"|;s|^SYSOUT 1 .*|SYSOUT 1 \"\${L}\"|;|A variable it uses is defined on a line longer than 255 characters"
  "delete_line_long|s|^TITLE 1|DELETE_FILES 1 \"$(printf './%.0s' {1..108})EXAMPLE/STA/SATCRUX.CRX.SAVED\"\\n&|;|*** SR READINPF: File name too long"
)
for c in "${cases[@]}"; do
  name=${c%%|*} rest=${c#*|}
  script=${rest%|*} text=${rest##*|}
  copy "$name" "$script"
  if [ "$name" = outfil_weekfm_linked ]; then
    echo "old summary" > "$work/$name/EXAMPLE/OUT/FIT13162.SUM"
    ln "$work/$name/EXAMPLE/OUT/FIT13162.SUM" "$work/$name/EXAMPLE/OUT/LINK.WEK"
  fi
  # A link to the summary file, which the run has not written yet.
  [ "$name" = weekfm_link_to_outfil ] && ln -s FIT13162.SUM "$work/$name/EXAMPLE/OUT/NEW.WEK"
  if [ "$name" = delete_line_long ]; then
    # The name cut at 255 characters is the problem file itself.
    cut=$(grep '^DELETE_FILES' "$work/$name/FITCHK.INP" | cut -c1-255)
    case $cut in *SATCRUX.CRX) ;; *) bad "$name: the cut name is not the problem file" ;; esac
  fi
  refused "$name" "$text"
done

# Outputs on /dev/null (reached through links made here) write nothing and
# replace nothing: no clash.
n='${P}/null'
copy null "$merge;s|^SYSOUT 1 .*|SYSOUT 1 \"$n\"|;s|^SYSERR 1 .*|SYSERR 1 \"$n\"|;s|^WEEKFM 1 .*|WEEKFM 1 \"$n\"|;s|^ASPLIT 1 .*|ASPLIT 1 \"${P}/null2\"|"
ln -s /dev/null "$work/null/null" && ln -s /dev/null "$work/null/null2"
(cd "$work/null" && timeout 60 "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 0 ] && [ -c /dev/null ]; then ok; else bad "null: exit status $rc"; fi

# The run's console in a log (a regular file): an output that names the log
# (/dev/stdout, a link to /dev/stderr, the log's own name) stops the run, and
# the log keeps what it held; nothing is written.
console_cases=(
  "sysout_stdout|s|^SYSOUT 1 .*|SYSOUT 1 \"/dev/stdout\"|"
  "outfil_stderr_link|s|^OUTFIL 1 .*|OUTFIL 1 \"$P/console\"|"
  "syserr_log|$merge;s|^SYSERR 1 .*|SYSERR 1 \"$P/run.log\"|"
)
for c in "${console_cases[@]}"; do
  name=${c%%|*}
  copy "$name" "${c#*|}"
  ln -s /dev/stderr "$work/$name/console"
  echo "earlier line of the log" > "$work/$name/run.log"
  (cd "$work/$name" && timeout 60 "$fitchk" FITCHK.INP >> run.log 2>&1 < /dev/null)
  rc=$?
  if [ "$rc" -ne 1 ] || [ "$(head -1 "$work/$name/run.log")" != "earlier line of the log" ] ||
     ! grep -qF "$same" "$work/$name/run.log" || ! grep -qF "Output file: standard output (" "$work/$name/run.log" ||
     [ -e "$work/$name/EXAMPLE/OUT/FIT13162.SUM" ]; then
    bad "$name: exit status $rc, log:"; cat "$work/$name/run.log"
  else
    ok
  fi
done
# On a pipe or a device the console is no file: the run goes on.
copy stdout_pipe "s|^SYSOUT 1 .*|SYSOUT 1 \"/dev/stdout\"|"
(cd "$work/stdout_pipe" && timeout 60 "$fitchk" FITCHK.INP < /dev/null | cat > piped.log)
rc=${PIPESTATUS[0]}
if [ "$rc" -eq 0 ] && grep -qF " Program        : FITCHK" "$work/stdout_pipe/piped.log"; then ok; else bad "stdout_pipe: exit status $rc"; fi
copy stdout_null "s|^SYSOUT 1 .*|SYSOUT 1 \"/dev/stdout\"|"
(cd "$work/stdout_null" && timeout 60 "$fitchk" FITCHK.INP > /dev/null 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 0 ] && [ -c /dev/null ]; then ok; else bad "stdout_null: exit status $rc"; fi

# The reference run, then the protocol through a FIFO and read-only.
copy reference ""
(cd "$work/reference" && "$fitchk" FITCHK.INP > /dev/null 2>&1 < /dev/null) || bad "reference run"
same_outputs() {  # case $1: the summary and week-format files of the reference run
  cmp -s "$work/reference/EXAMPLE/OUT/FIT13162.SUM" "$work/$1/EXAMPLE/OUT/FIT13162.SUM" &&
    cmp -s "$work/reference/EXAMPLE/OUT/FIT13162.WEK" "$work/$1/EXAMPLE/OUT/FIT13162.WEK"
}
copy fifo "s|^JOBOUT 1 .*|JOBOUT 1 \"$P/f/TRJ13162.OUT\"|"
mkdir "$work/fifo/f" && mkfifo "$work/fifo/f/TRJ13162.OUT"
(cat "$work/fifo/EXAMPLE/OUT/TRJ13162.OUT" > "$work/fifo/f/TRJ13162.OUT" 2> /dev/null &)
(cd "$work/fifo" && timeout 20 "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 0 ] && same_outputs fifo; then ok; else bad "fifo: exit status $rc"; fi

# The input file through a pipe and through a FIFO: the run of the file.
copy pipe_input ""
(cd "$work/pipe_input" && timeout 20 "$fitchk" /dev/fd/3 3< <(cat FITCHK.INP) > .console 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 0 ] && same_outputs pipe_input; then ok; else bad "pipe_input: exit status $rc"; fi
copy fifo_input ""
mkfifo "$work/fifo_input/FITCHK.FIFO"
(cat "$work/fifo_input/FITCHK.INP" > "$work/fifo_input/FITCHK.FIFO" 2> /dev/null &)
(cd "$work/fifo_input" && timeout 20 "$fitchk" FITCHK.FIFO > .console 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 0 ] && same_outputs fifo_input; then ok; else bad "fifo_input: exit status $rc"; fi
# An endless stream without a line end is read up to its limit, then refused.
mkdir -p "$work/zero_input"
(cd "$work/zero_input" && timeout 60 "$fitchk" /dev/zero > .console 2>&1 < /dev/null)
rc=$?
if [ "$rc" -eq 1 ] && grep -qF "*** SR NEXTLINE: READ FAILED" "$work/zero_input/.console" &&
   grep -qF "IOSTAT    :     27" "$work/zero_input/.console"; then ok; else bad "zero_input: exit status $rc"; fi

copy readonly "s|^JOBOUT 1 .*|JOBOUT 1 \"$P/ro/TRJ13162.OUT\"|"
mkdir "$work/readonly/ro" && cp "$work/readonly/EXAMPLE/OUT/TRJ13162.OUT" "$work/readonly/ro/"
how=
if mount --bind "$work/readonly/ro" "$work/readonly/ro" 2> /dev/null; then
  if mount -o remount,ro,bind "$work/readonly/ro" 2> /dev/null; then how=mount; else umount "$work/readonly/ro"; fi
fi
if [ -z "$how" ] && chattr +i "$work/readonly/ro/TRJ13162.OUT" 2> /dev/null; then how=chattr; fi
if [ -z "$how" ]; then
  skipped=$((skipped + 1))
  echo "skip readonly: neither a read-only bind mount nor chattr +i works here"
else
  (cd "$work/readonly" && timeout 60 "$fitchk" FITCHK.INP > .console 2>&1 < /dev/null)
  rc=$?
  if [ "$rc" -eq 0 ] && same_outputs readonly; then ok; else bad "readonly ($how): exit status $rc"; fi
  [ "$how" = mount ] && umount "$work/readonly/ro"
  [ "$how" = chattr ] && chattr -i "$work/readonly/ro/TRJ13162.OUT"
fi

echo "outputs_guard: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
