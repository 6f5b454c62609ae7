# The protocols are inputs, not results.
rm -f ORBTEST/OUT/TRJ*.OUT
