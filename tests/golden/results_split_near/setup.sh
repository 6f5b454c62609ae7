# Copies the shared test files this case reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13127.OUT
