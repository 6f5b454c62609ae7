# Copies the shared test files this case reads, with a letter in the
# satellite count.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
sed -e 's/^ TOTAL NUMBER OF SATELLITES   :  30$/ TOTAL NUMBER OF SATELLITES   :  3O/' \
  "$data/protocols/trjfit_two_outliers.prt" > ORBTEST/OUT/TRJ13127.OUT
