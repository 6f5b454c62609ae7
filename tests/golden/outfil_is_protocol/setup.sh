# Copies the shared test files this case reads; an old week-format file
# and a scratch file to delete.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13127.OUT
echo " 126   1   2" > ORBTEST/OUT/FIT13127.WEK
echo "scratch" > ORBTEST/OUT/TRJ13127.TMP
