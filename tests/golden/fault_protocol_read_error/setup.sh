# Copies the shared test files this case reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_2day_layout_a.prt" ORBTEST/OUT/TRJ13127.OUT
