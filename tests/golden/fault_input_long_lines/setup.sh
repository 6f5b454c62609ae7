# FITCHK.INP from FITCHK.TPL: @LONG@ becomes 100 000 x, in a comment, the
# title and a description; only the first 255 columns of each line count.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
long=$(head -c 100000 /dev/zero | tr "\\0" x)
awk -v long="$long" '{ gsub(/@LONG@/, long); print }' FITCHK.TPL > FITCHK.INP
