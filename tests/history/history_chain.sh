#!/usr/bin/env bash
# fitchk --history over the results of a processing chain:
#   a week of daily runs of the example chain (the run itself writes the
#   results from generated protocols of 136 satellites; GPS 7 an outlier on
#   5 of the 7 days), with the shared satellite problem file;
#   a year and 25 years of results written directly, with a drift, a
#   persistent outlier, gaps, a failed run, a duplicated day and a damaged
#   file.
# Each time the findings, the table against the results files and the
# picture (check_history.py).
#
#   history_chain.sh FITCHK GEN_PROTOCOL GEN_RESULTS PYTHON
set -u
fitchk=$1 gen_protocol=$2 gen_results=$3 python=$4
here=$(cd "$(dirname "$0")" && pwd)
examples=$here/../../examples
work=$(mktemp -d "${TMPDIR:-/tmp}/fitchk_history_XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C TZ=UTC
fail=0

expect() {  # expect TEXT FILE: a line of FILE is TEXT
  if ! grep -qxF -- "$1" "$2"; then
    echo "FAIL: no line \"$1\" in $2:"
    cat "$2"
    fail=1
  fi
}

status_is() {  # status_is WANT GOT WHAT
  if [ "$2" -ne "$1" ]; then
    echo "FAIL: $3: exit status $2, expected $1"
    fail=1
  fi
}

# A week of the chain: one run a day, the day's input file made from the
# example's by its day of year.
mkdir -p "$work/chain" && cp -a "$examples/." "$work/chain/"
for d in 0 1 2 3 4 5 6; do
  doy=$((161 + d))
  start=$(date -u -d "2013-06-09 + $d days" +%F) end=$(date -u -d "2013-06-11 + $d days" +%F)
  outlier=()
  case $d in 0|1|3|4|6) outlier=(outlier=7:0.4) ;; esac
  "$gen_protocol" "$work/chain/EXAMPLE/OUT/TRJ13$doy.OUT" seed=$((d + 1)) systems=modern \
    arc="$start 00:00:00,$end 00:00:00" outlier=4:0.2 "${outlier[@]}" > /dev/null
  sed "s/13162/13$doy/g" "$examples/FITCHK.INP" > "$work/chain/FITCHK_$doy.INP"
  (cd "$work/chain" && "$fitchk" "FITCHK_$doy.INP" > "run_$doy.log")
  status_is 0 $? "run of day $doy"
done
cd "$work" || exit 1
"$fitchk" --history --plot week.svg --table week.csv --problem-file chain/EXAMPLE/STA/SATCRUX.CRX \
  chain/EXAMPLE/OUT > week.txt
status_is 0 $? "history of the week"
# GPS 4 is 0.2 m above the others in every generated protocol.
expect "outlier: satellite 4 (GPS): at or above its system's level on 7 of the last 7 days (2013-06-10 to 2013-06-16); on 2013-06-16 0.227 m, level 0.076 m" week.txt
expect "outlier: satellite 7 (GPS): at or above its system's level on 5 of the last 7 days (2013-06-10 to 2013-06-16); on 2013-06-16 0.446 m, level 0.076 m" week.txt
expect "results files: 7 read, 0 left out" week.txt
grep -q "^problem file: chain/EXAMPLE/STA/SATCRUX.CRX: [1-9][0-9]* events within the span$" week.txt ||
  { echo "FAIL: no events of the problem file"; cat week.txt; fail=1; }
"$python" "$here/check_history.py" week.txt chain/EXAMPLE/OUT --csv week.csv --svg week.svg || fail=1

# A year, and 25 years (the picture only), of results written directly.
mkdir year && "$gen_results" year days=365 > /dev/null
"$fitchk" --history --plot year.svg --table year.csv year > year.txt
status_is 0 $? "history of a year"
for line in "rise: satellite 12 (GPS): median RMS 0.042 m in the last 30 days (2013-12-02 to 2013-12-31), 0.019 m in the 90 days before: 2.21 times" \
            "no results: 2013-07-02 to 2013-07-06 (5 days)" \
            "run error: 2013-05-02: year/FIT13122.JSON (return code 2, verdict error)" \
            "results files: 359 read, 2 left out"; do
  expect "$line" year.txt
done
"$python" "$here/check_history.py" year.txt year --csv year.csv --svg year.svg || fail=1

mkdir years && "$gen_results" years days=9131 first=51544 > /dev/null
"$fitchk" --history --plot years.svg years > years.txt
status_is 0 $? "history of 25 years"
expect "results files: 9125 read, 2 left out" years.txt
"$python" "$here/check_history.py" years.txt years --svg years.svg \
  --columns "one column per month" --max-bytes 5000000 || fail=1

[ $fail -eq 0 ] && echo "history: 1 passed, 0 failed" || echo "history: 0 passed, 1 failed"
exit $fail
