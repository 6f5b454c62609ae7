# Copies the shared test files this case reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_modern_cut_120.prt" ORBTEST/OUT/TRJ26061.OUT
cp "$data/protocols/trjfit_modern_c419_high.prt" ORBTEST/OUT/TRJ26063.OUT
