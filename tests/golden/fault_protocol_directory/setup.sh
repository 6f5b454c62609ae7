source "$(dirname "$0")/../../fault/lib.sh"
problem_file SATCRUX.CRX
mkdir PRTDIR
