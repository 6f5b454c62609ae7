# The error messages go to /dev/full; the run ends with the tolerance message.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
problem_file SATCRUX.CRX
device_link FULL.OUT /dev/full
