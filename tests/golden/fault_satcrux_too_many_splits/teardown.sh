source "$(dirname "$0")/../../fault/lib.sh"
rm -f ORBIT.PRT
compare_and_drop SATCRUX.CRX SATCRUX.ORIG SATCRUX.CHECK
