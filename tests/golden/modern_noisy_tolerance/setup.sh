# Copies the shared test files this case reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_modern_noisy_c_065.prt" ORBTEST/OUT/TRJ26065.OUT
cp "$data/protocols/trjfit_modern_noisy_c_067.prt" ORBTEST/OUT/TRJ26067.OUT
cp "$data/protocols/trjfit_modern_noisy_c_069.prt" ORBTEST/OUT/TRJ26069.OUT
