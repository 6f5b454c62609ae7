source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
: > SATCRUX.CRX
