# The satellite problem file lies in an immutable folder: it can be read,
# its replacement cannot be written.
source "$(dirname "$0")/../../fault/lib.sh"
protocol ORBIT.PRT
mkdir RO
problem_file RO/SATCRUX.CRX
immutable_dir RO
