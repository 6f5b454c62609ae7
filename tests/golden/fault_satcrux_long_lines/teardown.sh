source "$(dirname "$0")/../../fault/lib.sh"
rm -f ORBIT.PRT
digest_and_drop SATCRUX.CRX SATCRUX.CHECK "         4         0       2013"
