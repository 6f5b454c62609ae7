#!/usr/bin/env bash
# Runs of two users at once against one satellite problem file in a folder
# both may write, and a lock that fails while another run holds it:
# - the file writable by both: every record of every run that reported its
#   split is there exactly once; group and permission bits are kept;
# - the file writable by root only: the other user's runs fail with the open
#   error and add nothing, root's runs add their records;
# - a lock error (ENOLCK, injected) while another process holds the lock:
#   status 1, the lock message, the file unchanged.
# Every run uses a copy of the program in the temporary folder, which the
# user nobody can reach wherever the build folder lies. Needs root, setpriv
# and the user nobody (65534); skipped otherwise.
#
#   mixed_users.sh FITCHK
set -u
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
source "$here/lib.sh"
set +e
[ "$(id -u)" = 0 ] && command -v setpriv > /dev/null || { echo "needs root and setpriv"; exit 77; }
other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
work=$(folder_for_all fitchk_users) || exit 77
trap 'rm -rf "$work"' EXIT
fitchk=$work/bin/fitchk
mkdir "$work/bin" && cp "$1" "$fitchk" && chmod 755 "$work/bin" "$fitchk" || exit 1
export LC_ALL=C TZ=UTC
"${other[@]}" test -x "$fitchk" || { echo "the user nobody cannot run $fitchk"; exit 77; }

# Run folder $1 for satellite $2 against the problem file $3.
run_folder() {
  mkdir -p "$1"
  protocol_with_outlier "$1/ORBIT.PRT" "$2"
  input_file "$1/FITCHK.INP" ORBIT.PRT "$3" "."
}

records() { grep -c "^ *$2         4         0       2013 05 07 00 00 00 *\$" "$1"; }

# Six runs of root (satellites 1-6) and six of nobody (7-12) at once; the
# problem file with mode $2, group nobody's.
scenario() {
  local s=$work/$1 crx k pids=() st
  mkdir -p "$s/shared"
  chgrp 65534 "$s/shared"; chmod 2775 "$s/shared"
  crx=$s/shared/SATCRUX.CRX
  big_problem_file "$crx" 500 10
  chgrp 65534 "$crx"; chmod "$2" "$crx"
  cp "$crx" "$s/ORIG"
  for k in $(seq 12); do
    run_folder "$s/run$k" "$k" "$crx"
    [ "$k" -gt 6 ] && chown -R 65534:65534 "$s/run$k"
  done
  for k in $(seq 12); do
    if [ "$k" -le 6 ]; then (cd "$s/run$k" && exec timeout 120 "$fitchk" FITCHK.INP > /dev/null 2>&1) &
    else (cd "$s/run$k" && exec timeout 120 "${other[@]}" "$fitchk" FITCHK.INP > /dev/null 2>&1) &
    fi
    pids[k]=$!
  done
  for k in $(seq 12); do wait "${pids[k]}"; echo $? > "$s/run$k/.status"; done
  for k in $(seq 12); do
    st=$(cat "$s/run$k/.status")
    if [ "$st" = 0 ] && grep -q "^Arc splitting for  1 sat" "$s/run$k/ASPLIT.OUT"; then
      check "$1 run $k: its record once" test "$(records "$crx" "$k")" = 1
    else
      check "$1 run $k: no record" test "$(records "$crx" "$k")" = 0
    fi
    echo "$st" >> "$s/statuses"
  done
  check "$1: nothing left" test "$(ls -A "$s/shared")" = SATCRUX.CRX
  check "$1: group kept" test "$(stat -c %g "$crx")" = 65534
  check "$1: bits kept" test "$(stat -c %a "$crx")" = "$2"
  check "$1: old lines kept in order" diff -q <(sed 's/ *$//' "$s/ORIG") \
    <(sed 's/ *$//' "$crx" | grep -v '         4         0       2013 05 07 00 00 00$')
}

scenario both 664
for k in $(seq 12); do
  check "both: run $k status 0" test "$(cat "$work/both/run$k/.status")" = 0
done
scenario root_only 644
for k in $(seq 6); do
  check "root_only: root's run $k status 0" test "$(cat "$work/root_only/run$k/.status")" = 0
done
for k in $(seq 7 12); do
  d=$work/root_only/run$k
  check "root_only: nobody's run $k status 1" test "$(cat "$d/.status")" = 1
  check "root_only: nobody's run $k open error" \
    grep -A2 -q "OPNERR: OPEN FAILED" "$d/FITCHK.ERR"
  check "root_only: nobody's run $k caller ASPLIT" grep -q "PGM./SUBR.:     ASPLIT" "$d/FITCHK.ERR"
done
check "root_only: owner root" test "$(stat -c %u "$work/root_only/shared/SATCRUX.CRX")" = 0

# A lock error while another process holds the lock.
if command -v strace > /dev/null && command -v python3 > /dev/null; then
  d=$work/lock
  mkdir -p "$d"
  big_problem_file "$d/SATCRUX.CRX" 50 2
  cp "$d/SATCRUX.CRX" "$d/ORIG"
  run_folder "$d/run" 5 "$d/SATCRUX.CRX"
  python3 -c '
import fcntl, os, struct, sys, time
fd = os.open(sys.argv[1], os.O_RDWR)
fcntl.fcntl(fd, fcntl.F_OFD_SETLK, struct.pack("hhxxxxqqixxxx", fcntl.F_WRLCK, 0, 0, 0, 0))
open(sys.argv[2], "w").close()
time.sleep(30)' "$d/SATCRUX.CRX" "$d/held" & holder=$!
  for _ in $(seq 100); do [ -f "$d/held" ] && break; sleep 0.05; done
  (cd "$d/run" && timeout 60 strace -qq -o /dev/null -e trace=fcntl \
     -e inject=fcntl:error=ENOLCK "$fitchk" FITCHK.INP > /dev/null 2>&1)
  st=$?
  kill "$holder"; wait "$holder" 2> /dev/null
  check "lock error: status 1" test "$st" = 1
  check "lock error: message" grep -q "ASPLIT: Satellite problem file cannot be locked" "$d/run/FITCHK.ERR"
  check "lock error: file unchanged" cmp -s "$d/ORIG" "$d/SATCRUX.CRX"
else
  echo "skip the lock error (no strace or python3)"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
