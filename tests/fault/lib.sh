# Helpers for the setup.sh, run.sh and teardown.sh of the tests/golden/fault_*
# cases. They run in the case's temporary folder and never touch anything
# outside it; devices are only ever reached through links made here.
#
#   source "$(dirname "$0")/../../fault/lib.sh"
#
# Sourcing it stops the script at the first failing command.
set -e

fault_data=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data" && pwd)

# The 2-day protocol of the test data (30 GPS satellites, one far above the
# others) under the name $1.
protocol() { cp "$fault_data/protocols/trjfit_2day_layout_a.prt" "$1"; }

# The satellite problem file of the test data under the name $1.
problem_file() { cp "$fault_data/satcrux/SATCRUX.CRX" "$1"; }

# A link $1 to the device $2: a program that removes its output file removes
# only the link.
device_link() { ln -s "$2" "$1"; }

# Makes folder $1 (with what it holds) immutable, so that even root cannot
# create, replace or remove a file in it; skips the case where that is not
# possible (no chattr, or a file system without the attribute).
immutable_dir() {
  mkdir -p "$1"
  if ! chattr +i "$1" 2> /dev/null || touch "$1/.probe" 2> /dev/null; then
    rm -f "$1/.probe"
    chattr -i "$1" 2> /dev/null || true
    echo "chattr +i does not make a folder read-only here (TMPDIR=${TMPDIR:-/tmp})"
    exit 77
  fi
}

# Undoes immutable_dir (in teardown.sh).
mutable_dir() { chattr -i "$1" 2> /dev/null || true; }

# A satellite problem file $1 with 6 header lines, $2 bad-observation
# records (kind 3 2) of GPS satellites, $3 arc-split records (kind 4 0),
# a blank line and a trailer line.
big_problem_file() {
  awk -v bad="$2" -v splits="$3" 'BEGIN {
    print "MORVANE GNSS SOFTWARE - SATELLITE PROBLEM FILE                   14-MAY-13 06:12"
    print "--------------------------------------------------------------------------------"
    print " Generated for a fault case"
    print "  SAT   PROBLEM    ACTION       FROM                 TO"
    print "  NUM      KIND      KIND       YYYY-MM-DD HH:MM:SS  YYYY-MM-DD HH:MM:SS"
    print "*****  ********  ********       *******************  *******************"
    for (i = 0; i < bad; ++i)
      printf "%5d         3         2       2012-%02d-%02d %02d:00:00  2012-%02d-%02d %02d:30:00\n",
             1 + i % 32, 1 + i % 12, 1 + i % 28, i % 24, 1 + i % 12, 1 + i % 28, i % 24
    for (i = 0; i < splits; ++i)
      printf "%5d         4         0       2012-%02d-%02d 00:00:00\n", 1 + i % 32, 1 + i % 12, 1 + i % 28
    print ""
    print "PROBLEM/ACTION KINDS: see the manual"
  }' > "$1"
}

# Writes to $3 whether file $1 is byte for byte file $2 ("unchanged") or
# not, then removes both (they are too large to keep as expected files).
compare_and_drop() {
  if cmp -s "$1" "$2"; then echo "$1: unchanged" > "$3"; else echo "$1: CHANGED" > "$3"; fi
  rm -f "$1" "$2"
}

# Writes a digest of file $1 to $2 (line count, checksum, the lengths of
# lines longer than 80 characters, and the lines that match $3 with their
# numbers), then removes $1.
digest_and_drop() {
  { echo "$1: $(wc -l < "$1") lines, sha256 $(sha256sum < "$1" | cut -c1-64)"
    awk 'length($0) > 80 { print "line " NR ": " length($0) " characters" }' "$1"
    grep -n -e "$3" "$1" || true
  } > "$2"
  rm -f "$1"
}

# The 2-day protocol with satellite $2 as the only outlier, to $1 (the
# caller sets data to tests/data).
protocol_with_outlier() {
  awk -v sat="$2" '
    /ITERATION:  3/ { last = 1 }
    last && $1 ~ /^[0-9]+$/ && NF == 6 && ($1 == 4 || $1 == sat) {
      printf "%4d %7d %8.3f     0.000   0.000   0.000\n", $1, $2, ($1 == sat ? 0.9 : 0.03); next }
    { print }' "$data/protocols/trjfit_2day_layout_a.prt" > "$1"
}

# Input file $1 of a run: protocol $2, satellite problem file $3, variable P = $4.
input_file() {
  cat > "$1" << EOF
TITLE 1 "update of a shared satellite problem file"
ENVIRONMENT 2
  "P" "$4"
  "USER" "chain"
RADIO_1 1 "1"
JOBOUT 1 "$2"
TOL_RMS 1 ""
FAC_GPS 1 "3"
FAC_GLO 1 "3"
LIM_GPS 1 "0"
LIM_GLO 1 "0"
OUTFIL 1 "SUMMARY.OUT"
ASPLIT 1 "ASPLIT.OUT"
SATCRUX 1 "$3"
SYSOUT 1 "FITCHK.OUT"
SYSERR 1 "FITCHK.ERR"
EOF
}

# A new temporary folder named $1_XXXXXX that the user nobody (65534, run by
# setpriv) can reach, in TMPDIR or else in /tmp; prints its name. Fails with
# a note when there is none.
folder_for_all() {
  local base dir
  for base in "${TMPDIR:-/tmp}" /tmp; do
    dir=$(mktemp -d "$base/$1_XXXXXX") || continue
    chmod 755 "$dir"
    setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$dir" && { echo "$dir"; return 0; }
    rm -rf "$dir"
  done
  echo "the user nobody reaches no temporary folder (TMPDIR=${TMPDIR:-/tmp})" >&2
  return 1
}

# Counts of the checks of a script: ok, bad "what", check "what" COMMAND...
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAIL $*"; }
check() { local what=$1; shift; if "$@"; then ok; else bad "$what"; fi; }
