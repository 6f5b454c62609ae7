# The shared protocol, and a satellite problem file whose last line follows
# its records directly (no blank line to insert the new records before).
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT ORBTEST/STA
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13127.OUT
grep -v '^      ' "$data/satcrux/SATCRUX.CRX" | grep -v '^ *$' > ORBTEST/STA/SATCRUX.CRX
