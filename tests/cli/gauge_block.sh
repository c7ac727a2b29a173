#!/usr/bin/env bash
# corvanta-cli run on JCGM 101's gauge block (guide: 838 nm, u 36 nm, shortest 99 % [745, 931] nm); exact mean and sd;
# the interval's length is that of two independent 2e6-draw simulations, [744.78, 931.24] and [745.48, 931.93].
source "${0%/*}/lib.bash"
json gauge "$samples/jcgm101-gauge-block.cvm" --iterations 2000000 --probability 99 --seed 95 --interval shortest
check gauge shortest_interval 'n, m, s = r["iterations"], r["mean"], r["standard_deviation"]
assert n == 2000000, n
assert abs(m - 838.6) < 5 * 35.677 / math.sqrt(n), m
assert abs(s - 35.677) < 5 * 35.677 * math.sqrt((r["excess_kurtosis"] + 2) / (4 * n)), s
lo, hi = r["shortest_interval"]["low"], r["shortest_interval"]["high"]
# The standard error of a 0.5 % quantile, with the normal density at the tail; two ends, a reference of two runs.
se_end = math.sqrt(0.005 * 0.995 / n) / (math.exp(-2.5758**2 / 2) / math.sqrt(2 * math.pi) / s)
se_len = math.sqrt(2) * se_end
assert abs((hi - lo) - 186.45) < 5 * math.sqrt(se_len**2 + se_len**2 / 2), (lo, hi)
# The figures of the guide are rounded to the nanometre; the ends slide as above.
assert abs(lo - 745) < 1.5 and abs(hi - 931) < 1.5, (lo, hi)'
finish gauge_block
