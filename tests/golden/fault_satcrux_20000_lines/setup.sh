# 20 000 lines in the satellite problem file: the records go in before its
# blank line, nothing else changes.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
big_problem_file SATCRUX.CRX 19000 992
