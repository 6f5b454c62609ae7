source "$(dirname "$0")/../../fault/lib.sh"
mutable_dir RO
rm -f ORBIT.PRT
