# Copies the shared test files the check reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT ORBTEST/STA
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13127.OUT
cp "$data/satcrux/SATCRUX.CRX" ORBTEST/STA/SATCRUX.CRX
