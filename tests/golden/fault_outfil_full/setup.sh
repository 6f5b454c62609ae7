# The summary file goes to /dev/full.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
problem_file SATCRUX.CRX
device_link FULL.OUT /dev/full
