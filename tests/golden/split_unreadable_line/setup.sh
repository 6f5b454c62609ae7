# The shared protocol, and the shared satellite problem file with a comment
# typed in after its 5th record.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT ORBTEST/STA
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13127.OUT
sed '11a ! 2013-05-03: checked by hand, see the log' "$data/satcrux/SATCRUX.CRX" > ORBTEST/STA/SATCRUX.CRX
