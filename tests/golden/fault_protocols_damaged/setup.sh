# Protocols of every kind of damage, made from the test protocol: empty,
# binary, lines of 100 000 characters, and cut in every phase of the reader
# (CUT01-CUT12, see the cut points below). One run reads them all.
source "$(dirname "$0")/../../fault/lib.sh"
protocol BASE.PRT
: > EMPTY.PRT
awk 'BEGIN { for (i = 0; i < 4000; ++i) printf "%c", (i * 61 + 5) % 256 }' > BINARY.PRT
long=$(head -c 100000 /dev/zero | tr "\0" " ")
awk -v long="$long" '{ print $0 substr(long, length($0) + 1) }' BASE.PRT > LONG.PRT
line() { grep -n -m1 -F -e "$1" BASE.PRT | cut -d: -f1; }
iter=$(line "NUMBER OF ITERATIONS")
arc=$(line "ARC  START TIME")
count=$(line "TOTAL NUMBER OF SATELLITES")
final=$(grep -n "RMS ERRORS AND MAX. RESIDUALS.*ITERATION:  3" BASE.PRT | cut -d: -f1)
ecl=$(line "NUMBER OF ECLIPSING SATELLITES:")
cut_lines() { head -n "$1" BASE.PRT > "$2"; }
cut_lines $((iter - 1)) CUT01.PRT               # before the iteration heading
cut_lines "$iter" CUT02.PRT                     # right after it
cut_lines $((arc + 1)) CUT03.PRT                # in the lines skipped after the arc heading
cut_lines $((arc + 3)) CUT04.PRT                # after the first arc table row
cut_lines $((arc + 4)) CUT05.PRT                # after the row that ends the table
cut_lines $((count - 1)) CUT06.PRT              # before the satellite count
cut_lines "$count" CUT07.PRT                    # after the satellite count
cut_lines "$final" CUT08.PRT                    # after the final RMS heading
{ head -n $((final + 12)) BASE.PRT; sed -n "$((final + 13))p" BASE.PRT | head -c 14; } > CUT09.PRT  # inside a table row
cut_lines $((ecl - 1)) CUT10.PRT                # before the eclipse heading
cut_lines $((ecl + 2)) CUT11.PRT                # in the lines skipped after it
{ head -n $((ecl + 6)) BASE.PRT; sed -n "$((ecl + 7))p" BASE.PRT | head -c 20; } > CUT12.PRT  # inside an eclipse block
rm BASE.PRT
