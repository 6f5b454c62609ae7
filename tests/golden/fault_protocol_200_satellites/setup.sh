# SATS200.PRT (bench/gen_protocol SATS200.PRT seed=17 sats=200 iters=2 noise=5
# ecl=90 passages=2 outlier=4:0.2): 200 satellites and 90 eclipsing ones,
# every one read.
# It is removed after the run: it is an input, not a result.
