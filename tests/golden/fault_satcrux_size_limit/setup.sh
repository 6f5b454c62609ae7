# A satellite problem file of 20 000 lines (1.6 MB), rewritten under a
# file-size limit of 1 MiB (run.sh).
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
big_problem_file SATCRUX.CRX 19000 992
cp SATCRUX.CRX SATCRUX.ORIG
