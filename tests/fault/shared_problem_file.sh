#!/usr/bin/env bash
# Whole runs against a satellite problem file as it is shared: a second hard
# link, an ACL and a user attribute (kept, and the ACL's user can update it
# next), an attribute that cannot be copied, closing the new file failing
# after it took the old one's place, a file system that cannot exchange two
# names, another program changing the file at every try, a read-only mount or no write permission bits with and without
# records to add, no place for records, leftovers of another user beside the
# file and beside PLOTFIL, PLOTFIL and JSONFIL as links to files not there
# yet. Each case checks the exit status, the messages, the results and the
# file afterwards.
#
#   shared_problem_file.sh FITCHK
set -u
fitchk=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
source "$here/lib.sh"
set +e
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_shared_XXXXXX")
trap 'chattr -R -i "$work" 2> /dev/null; umount "$work"/*/RO 2> /dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
# A copy of the program that the user nobody can run wherever the build folder lies.
mkdir "$work/bin" && cp "$fitchk" "$work/bin/fitchk" && chmod 755 "$work/bin" "$work/bin/fitchk" || exit 1
fitchk=$work/bin/fitchk
export LC_ALL=C TZ=UTC
b16='                '

# Case folder $1: run folder RUN (outlier satellite $2) naming ${P}/STA/SATCRUX.CRX.
setup() {
  mkdir -p "$1/STA" "$1/RUN"
  protocol_with_outlier "$1/RUN/ORBIT.PRT" "$2"
  input_file "$1/RUN/FITCHK.INP" ORBIT.PRT '${P}/STA/SATCRUX.CRX' "$1"
  echo 'JSONFIL 1 "RESULTS.JSON"' >> "$1/RUN/FITCHK.INP"
  big_problem_file "$1/STA/SATCRUX.CRX" 100 5
  cp -p "$1/STA/SATCRUX.CRX" "$1/ORIG"
}
run() { (cd "$1/RUN" && shift && timeout 60 "$@" "$fitchk" FITCHK.INP > .console 2>&1); }
# strace, with the leak check of a sanitizer build off (it does not work under ptrace).
traced=(env "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace)
records() { grep -c "^ *$2         4         0       2013 05 07 00 00 00 *\$" "$1"; }
result() { sed -n "s/^ *\"$2\": \\([a-z0-9\"_]*\\),*\$/\\1/p" "$1/RUN/RESULTS.JSON"; }
# The lines $2... in this order in file $1.
says() {
  local f=$1; shift
  grep -Fxq -f <(printf '%s\n' "$@") "$f" &&
    [ "$(grep -Fx -f <(printf '%s\n' "$@") "$f" | head -n $#)" = "$(printf '%s\n' "$@")" ]
}
unchanged() { cmp -s "$1/ORIG" "$1/STA/SATCRUX.CRX"; }
alone() { [ "$(ls -A "$1/STA")" = SATCRUX.CRX ]; }

hard_links() {
  local d=$work/links
  setup "$d" 7
  ln "$d/STA/SATCRUX.CRX" "$d/STA/SECOND.CRX"
  run "$d"
  check "links: status 1" test $? = 1
  check "links: message" says "$d/RUN/FITCHK.ERR" \
    " *** SR ASPLIT: Satellite problem file has more than one name (hard links)" \
    "${b16}File name : \${P}/STA/SATCRUX.CRX" "${b16}Links     : 2"
  check "links: unchanged, one file" test "$(stat -c %h "$d/STA/SATCRUX.CRX")" = 2
  check "links: content" unchanged "$d"
  (cd "$d/RUN" && "$fitchk" --check FITCHK.INP > .check 2>&1)
  check "links: --check status 1" test $? = 1
  check "links: --check error" grep -q "error: SATCRUX: the run does not update a problem file of 2 names" \
    "$d/RUN/.check"
}

# ACL and attribute kept by root's run; the ACL's user updates the file next.
acl_and_attribute() {
  local d=$work/acl crx before
  setup "$d" 7
  crx=$d/STA/SATCRUX.CRX
  if ! setfacl -m u:nobody:rw,g::r-- "$crx" 2> /dev/null || ! setfattr -n user.campaign -v orb13 "$crx" 2> /dev/null ||
     ! setfacl -m u:nobody:rwx "$d/STA" 2> /dev/null; then
    echo "skip ACL and attribute: none on the file system of $work (or no setfacl/setfattr)"; return
  fi
  before=$(getfacl -cp "$crx")
  run "$d"
  check "acl: root's run status 0" test $? = 0
  check "acl: record" test "$(records "$crx" 7)" = 1
  check "acl: ACL kept" test "$(getfacl -cp "$crx")" = "$before"
  check "acl: attribute kept" test "$(getfattr --only-values -n user.campaign "$crx" 2> /dev/null)" = orb13
  check "acl: nothing left" alone "$d"
  if command -v setpriv > /dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$fitchk"; then
    protocol_with_outlier "$d/RUN/ORBIT.PRT" 9
    chown -R 65534:65534 "$d/RUN"
    run "$d" setpriv --reuid=65534 --regid=65534 --clear-groups
    check "acl: nobody's run status 0" test $? = 0
    check "acl: nobody's record" test "$(records "$crx" 9)" = 1
    check "acl: ACL kept by nobody" test "$(getfacl -cp "$crx")" = "$before"
  else
    echo "skip nobody's run: no setpriv, or nobody cannot run $fitchk"
  fi
  # An attribute that cannot be copied: the old file stays.
  cp -p "$crx" "$d/ORIG"
  protocol_with_outlier "$d/RUN/ORBIT.PRT" 11
  if command -v strace > /dev/null; then
    run "$d" "${traced[@]}" -f -qq -o /dev/null -e trace=fsetxattr -e inject=fsetxattr:error=EPERM
    check "attribute: status 1" test $? = 1
    check "attribute: message" says "$d/RUN/FITCHK.ERR" \
      " *** SR ASPLIT: Attribute of the satellite problem file cannot be copied" \
      "${b16}File name : \${P}/STA/SATCRUX.CRX" "${b16}Attribute : system.posix_acl_access" \
      "${b16}Error     : Operation not permitted (errno 1)" "${b16}The file was not changed."
    check "attribute: unchanged" unchanged "$d"
    check "attribute: nothing left" alone "$d"
  fi
}

# Closing the new file fails after it took the old one's place: the records
# are reported, their durability not.
close_after_replace() {
  local d=$work/close n
  command -v strace > /dev/null || { echo "skip close after the replace: no strace"; return; }
  setup "$d" 7
  setup "$d.clean" 7
  (cd "$d.clean/RUN" && "${traced[@]}" -f -qq -o ../trace -e trace=close,renameat2 "$fitchk" FITCHK.INP > /dev/null 2>&1)
  n=$(awk '/^[0-9]+ +close\(/ { n++ } /RENAME_EXCHANGE\) = 0/ { print n + 1; exit }' "$d.clean/trace")
  run "$d" "${traced[@]}" -f -qq -o /dev/null -e trace=close -e inject="close:error=EIO:when=$n"
  check "close: status 1" test $? = 1
  check "close: message" says "$d/RUN/FITCHK.ERR" \
    " ### SR ASPLIT: Arc-split records written, their durability not confirmed" \
    "${b16}File name : \${P}/STA/SATCRUX.CRX" \
    "${b16}1 records are in the file; closing the new file failed." " *** SR WRTERR: WRITE FAILED"
  check "close: record" test "$(records "$d/STA/SATCRUX.CRX" 7)" = 1
  check "close: results" test "$(result "$d" records_written) $(result "$d" durable)" = "1 false"
  check "close: report" grep -q '^Arc splitting for  1 sat' "$d/RUN/ASPLIT.OUT"
  check "close: nothing left" alone "$d"
}

# Where renameat2 cannot exchange two names, the update still works.
no_exchange() {
  local d=$work/noexchange
  setup "$d" 7
  command -v strace > /dev/null || { echo "skip no exchange: no strace"; return; }
  run "$d" "${traced[@]}" -f -qq -o /dev/null -e trace=renameat2 -e inject=renameat2:error=EINVAL
  check "no exchange: status 0" test $? = 0
  check "no exchange: record" test "$(records "$d/STA/SATCRUX.CRX" 7)" = 1
  check "no exchange: nothing left" alone "$d"
}

# A line added to the file at every try of the update (after the new version
# is written, before it takes its place): the run gives up after 5 tries, its
# record not in the file, every added line kept.
editor_at_every_try() {
  local d=$work/busy spid pid k n seen=0 stops=0
  command -v strace > /dev/null || { echo "skip an editor at every try: no strace"; return; }
  setup "$d" 7
  (cd "$d/RUN" && exec timeout 60 "${traced[@]}" -f -qq -o "$d/trace" -e trace=linkat -e signal=SIGSTOP \
     -e inject=linkat:signal=SIGSTOP:when=1+ "$fitchk" FITCHK.INP > .console 2>&1) &
  spid=$!
  for k in $(seq 3000); do
    n=$(grep -cs 'stopped by SIGSTOP' "$d/trace")
    if [ "${n:-0}" -gt "$seen" ]; then
      seen=$((seen + 1))
      if [ "$(grep linkat "$d/trace" | sed -n "${seen}p" | grep -c '\.SATCRUX\.CRX\.fitchk-')" = 1 ]; then
        stops=$((stops + 1))
        echo "   31         3         2       2013-04-0$stops 00:00:00  2013-04-0$stops 06:00:00" >> "$d/STA/SATCRUX.CRX"
      fi
      pid=$(awk '/stopped by SIGSTOP/ { print $1; exit }' "$d/trace")
      kill -CONT "$pid"
    fi
    kill -0 "$spid" 2> /dev/null || break
    sleep 0.01
  done
  wait "$spid"
  check "busy: status 1" test $? = 1
  check "busy: 5 tries" test "$stops" = 5
  check "busy: message" says "$d/RUN/FITCHK.ERR" \
    " *** SR ASPLIT: Satellite problem file changed by another program during the update" \
    "${b16}File name : \${P}/STA/SATCRUX.CRX" \
    "${b16}Tried 5 times: each time the file was changed or replaced before the update was in place." \
    "${b16}The file was not changed."
  check "busy: no record" test "$(records "$d/STA/SATCRUX.CRX" 7)" = 0
  check "busy: every save kept" test "$(grep -c ' 2013-04-0[1-5] 06:00:00$' "$d/STA/SATCRUX.CRX")" = 5
  check "busy: nothing left" alone "$d"
}

# A file that may not be written: fine when it holds the record already,
# an open error (nothing changed) when it does not. $2: how it is made
# read-only, $3 the IOSTAT expected.
not_writable() {
  local d=$work/$1 how=$2 iostat=$3
  setup "$d" 7
  run "$d" && cp -p "$d/STA/SATCRUX.CRX" "$d/ORIG"  # the record is there now
  case $how in
    mount) mkdir "$d/RO" && mount --bind "$d/STA" "$d/RO" 2> /dev/null &&
             mount -o remount,ro,bind "$d/RO" 2> /dev/null ||
             { umount "$d/RO" 2> /dev/null; echo "skip a read-only mount: no bind mounts here"; return; }
           sed -i 's#${P}/STA/SATCRUX.CRX#${P}/RO/SATCRUX.CRX#' "$d/RUN/FITCHK.INP" ;;
    bits) chmod 444 "$d/STA/SATCRUX.CRX" ;;
  esac
  run "$d"
  check "$1, nothing to add: status 0" test $? = 0
  check "$1, nothing to add: unchanged" unchanged "$d"
  protocol_with_outlier "$d/RUN/ORBIT.PRT" 9
  run "$d"
  check "$1, records to add: status 1" test $? = 1
  check "$1, records to add: open error" says "$d/RUN/FITCHK.ERR" " *** SR OPNERR: OPEN FAILED" \
    "${b16}PGM./SUBR.:     ASPLIT" "${b16}IOSTAT    :     $iostat"
  check "$1, records to add: unchanged" unchanged "$d"
  [ "$how" = bits ] && check "bits: kept" test "$(stat -c %a "$d/STA/SATCRUX.CRX")" = 444
  [ "$how" = mount ] && umount "$d/RO"
}

no_place() {
  local d=$work/noplace
  setup "$d" 7
  grep -v '^ *$' "$d/ORIG" > "$d/STA/SATCRUX.CRX"
  cp "$d/STA/SATCRUX.CRX" "$d/ORIG"
  run "$d"
  check "no place: status 1" test $? = 1
  check "no place: message" says "$d/RUN/FITCHK.ERR" \
    " *** SR ASPLIT: No place for arc-split records in the satellite problem file"
  check "no place: file not rewritten" unchanged "$d"
  check "no place: report" grep -q '^No arc-split record for  1 sat. on 2013-05-07: no place in' "$d/RUN/ASPLIT.OUT"
  check "no place: results" test "$(result "$d" records_written) $(result "$d" verdict)" = '0 "error"'
  check "no place: no split in the results" grep -q '^    "split": \[\],$' "$d/RUN/RESULTS.JSON"
}

# Only the run's own new files of exactly its pattern are removed.
leftovers() {
  local d=$work/leftovers f
  setup "$d" 7
  echo 'PLOTFIL 1 "PLOT.SVG"' >> "$d/RUN/FITCHK.INP"
  for f in STA/.SATCRUX.CRX RUN/.PLOT.SVG; do
    echo x > "$d/$f.fitchk-theirs000000"; chown 65534:65534 "$d/$f.fitchk-theirs000000"
    echo x > "$d/$f.fitchk-mine00000000"
    echo x > "$d/$f.fitchk-notes"
  done
  run "$d"
  check "leftovers: status 0" test $? = 0
  for f in STA/.SATCRUX.CRX RUN/.PLOT.SVG; do
    check "leftovers: $f another user's kept" test -f "$d/$f.fitchk-theirs000000"
    check "leftovers: $f not of the pattern kept" test -f "$d/$f.fitchk-notes"
    check "leftovers: $f own removed" test ! -e "$d/$f.fitchk-mine00000000"
  done
}

# PLOTFIL and JSONFIL as links to files not there yet: their targets are written.
dangling_outputs() {
  local d=$work/dangling pass
  setup "$d" 7
  mkdir "$d/RES"
  ln -s ../RES/PLOT.SVG "$d/RUN/PLOT.SVG"
  ln -s ../RES/RESULTS.JSON "$d/RES/LINK.JSON"
  ln -s ../RES/LINK.JSON "$d/RUN/RESULTS.JSON"
  echo 'PLOTFIL 1 "${P}/RUN/PLOT.SVG"' >> "$d/RUN/FITCHK.INP"
  for pass in 1 2; do
    run "$d"
    check "dangling, run $pass: status 0" test $? = 0
    check "dangling, run $pass: links kept" test -L "$d/RUN/PLOT.SVG" -a -L "$d/RUN/RESULTS.JSON" -a -L "$d/RES/LINK.JSON"
    check "dangling, run $pass: picture" grep -q '<svg' "$d/RES/PLOT.SVG"
    check "dangling, run $pass: results" grep -q '"records_written"' "$d/RES/RESULTS.JSON"
    protocol_with_outlier "$d/RUN/ORBIT.PRT" 9
  done
}

hard_links
acl_and_attribute
close_after_replace
no_exchange
editor_at_every_try
not_writable readonly_mount mount 30
not_writable no_write_bits bits 13
no_place
leftovers
dangling_outputs
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
