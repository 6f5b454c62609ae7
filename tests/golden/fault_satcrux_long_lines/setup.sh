# A header line and a record line of 100 000 characters: both come
# through whole.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
problem_file SATCRUX.ORIG
long=$(head -c 100000 /dev/zero | tr "\0" x)
awk -v long="$long" 'NR == 3 || NR == 8 { $0 = $0 substr(long, length($0) + 1) } { print }' SATCRUX.ORIG > SATCRUX.CRX
rm SATCRUX.ORIG
