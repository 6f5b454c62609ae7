# Copies the shared test files this case reads.
data=$(dirname "$0")/../../data
mkdir -p ORBTEST/OUT
cp "$data/protocols/trjfit_2day_layout_a.prt" ORBTEST/OUT/TRJ13127.OUT
cp "$data/protocols/trjfit_3arcs_layout_b.prt" ORBTEST/OUT/TRJ13365.OUT
cp "$data/protocols/trjfit_stopped_iter2.prt" ORBTEST/OUT/TRJ13135.OUT
cp "$data/protocols/trjfit_no_arc_table.prt" ORBTEST/OUT/TRJ13136.OUT
cp "$data/protocols/trjfit_overflow_eclipse.prt" ORBTEST/OUT/TRJ13139.OUT
cp "$data/protocols/trjfit_ends_in_table.prt" ORBTEST/OUT/TRJ13129.OUT
cp "$data/protocols/trjfit_3day_layout_b.prt" ORBTEST/OUT/TRJ13131.OUT
cp "$data/protocols/trjfit_two_outliers.prt" ORBTEST/OUT/TRJ13128.OUT
