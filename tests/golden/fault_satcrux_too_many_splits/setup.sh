# 2001 arc-split events: one more than the program holds.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
big_problem_file SATCRUX.CRX 0 2001
cp SATCRUX.CRX SATCRUX.ORIG
