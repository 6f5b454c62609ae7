# RO/ is immutable: even root cannot create a file in it.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
problem_file SATCRUX.CRX
immutable_dir RO
