source "$(dirname "$0")/../../fault/lib.sh"
rm -f ORBIT.PRT
