# Standard output is /dev/full (run.sh); standard error is captured instead.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
problem_file SATCRUX.CRX
