#!/usr/bin/env bash
# corvanta-cli run end to end: samples, GUM framework, adaptive run, shortest interval, correlations, seeds, bad input.
source "${0%/*}/lib.bash"
c=$samples/contributions.cvm mass=$samples/mass-calibration.cvm normal=$samples/jcgm101-additive-normal.cvm

# The whole text output of a short run: grid, normality test, result, interval, classic form, one line a quantity.
expect 0 'Iterations = 1000
Mean = 7.7624115e-3
Variance = 1.42907
Standard Deviation = 1.19544
Skew = 1.62800e-2
Kurtosis = 0.10501
Maximum value = 4.65964
Minimum value = -3.74451
Most probable number = -0.59
Range = 8.40415
Normality test (Jarque - Bera)  =  0.50364   (fit)
Result = 7.7624115e-3
Confidence interval (p = 95%): [ -2.38969 , 2.32364 ]
GUM format: 0.0 ± 2.4
y: ----
a: 1.892  31.6251332572591 %
b: 4.091  68.3748667427409 %' "" run "$c" --iterations 1000 --seed 7

# Five standard errors. Additive models, 200000 draws: sd 2, 95 % bounds 3.92 (normal, as the GUM's), 3.88 (rectangular).
for kind in normal:3.92:0 rectangular:3.88:-0.3; do
    IFS=: read -r kind bound kurtosis <<<"$kind" && json "$kind" "$samples/jcgm101-additive-$kind.cvm" --seed 2026 --gum
    check "$kind" "gum validation" "n, bound, kurtosis = 200000, $bound, $kurtosis"'
assert (r["iterations"], r["coverage_probability"]) == (n, 95) and abs(r["mean"]) < 5 * 2 / math.sqrt(n), r
assert abs(r["standard_deviation"] - 2) < 5 * 2 / math.sqrt(2 * n) and abs(r["excess_kurtosis"] - kurtosis) < 5 * math.sqrt(24 / n), r
assert abs(r["interval"][0] + bound) < 0.06 and abs(r["interval"][1] - bound) < 0.06, r["interval"]
widths = [c["width"] for c in r["contributions"][1:]]; assert len(widths) == 4 and all(abs(w / widths[0] - 1) < 0.15 for w in widths), widths
assert bound != 3.92 or (abs(r["gum"]["interval"][1] - 3.92) < 1e-4 and r["validation"]["validated"]), r'; done
json mass "$mass" --seed 1 --probability 99 # mean 1.2340 mg, standard deviation 0.0754 mg
check mass "" 'assert (r["seed"], r["iterations"], r["failed_draws"], r["coverage_probability"]) == (1, 200000, 0, 99), r
assert abs(r["mean"] - 1.2340) < 5 * 0.0754 / math.sqrt(200000) + 5e-5 and abs(r["standard_deviation"] - 0.0754) < 0.001, r
assert 1.02 < r["interval"][0] < 1.05 and 1.42 < r["interval"][1] < 1.45, r["interval"]
assert [c["name"] for c in r["contributions"]] == ["y", "mRc", "dmRc", "ra", "ra0", "rW", "rR", "mnom"], r
assert r["contributions"][0]["width"] is None and abs(sum(c["relative"] for c in r["contributions"]) - 100) < 1e-9, r
assert r["classic"].count("\u00b1") == 1, r'
json contrib "$c" --seed 3 # widths near 1.9 and 3.9, a third and two thirds
check contrib "" 'y, a, b = r["contributions"]
assert abs(a["width"] - 1.9) < 0.07 and abs(b["width"] - 3.92) < 0.6 and abs(a["relative"] + b["relative"] - 100) < 1e-9, r'

# The mass under the GUM (u 0.0539 mg, 0.0750 mg second-order): not validated. One seed, one output, whatever the threads.
all=("$mass" --gum --adaptive --interval shortest --seed)
json all "${all[@]}" 7 && json other "${all[@]}" 8
json threads1 "$mass" --seed 7 --threads 1 --interval shortest --adaptive --gum && json threads3 "${all[@]}" 7 --threads 3
cmp -s "$work/all.json" "$work/threads1.json" && cmp -s "$work/all.json" "$work/threads3.json" || fail "threads changed the output"
cmp -s "$work/all.json" "$work/other.json" && fail "another seed gave the same output"
check all "gum validation adaptive shortest_interval" 'g, v, a, s = r["gum"], r["validation"], r["adaptive"], r["shortest_interval"]
assert g["applicable"] and abs(g["combined_uncertainty"] - 0.0539) < 5e-5 and abs(g["second_order_uncertainty"] - 0.0750) < 5e-5, g
assert g["effective_degrees_of_freedom"] is None and abs(g["coverage_factor"] - 1.95996) < 1e-5, g
assert [(b["name"], round(b["share"], 2)) for b in g["budget"]] == [("mRc", 86.21), ("dmRc", 13.79), ("ra", 0),
    ("ra0", 0), ("rW", 0), ("rR", 0), ("mnom", 0)], g["budget"]
assert v == {"digits": 2, "tolerance": 0.0005, "d_low": v["d_low"], "d_high": v["d_high"], "validated": False,
    "verdict": "not validated"} and 0.02 < v["d_low"] < 0.07 and 0.02 < v["d_high"] < 0.07, v
assert (a["batch_size"], a["digits"], a["ceiling"], a["ceiling_reached"]) == (10000, 2, 50000000, False) and a["trials"] == a["batches"] * 10000 == r["iterations"], a
assert s["low"] <= s["high"] and s["length"] <= r["interval"][1] - r["interval"][0] + 0.002, s'
got=$("$cli" run "${all[@]}" 7) && for line in "Adaptive: " "Shortest coverage interval (p = 95%): [ " "GUM uncertainty \
framework (law of propagation of uncertainty)" "Validation against Monte Carlo (2 significant digits, tolerance 0.0005): "
    do [[ $got == *$'\n'"$line"* ]] || fail "text output lacks '$line'"; done
# Adaptive: from the 10th batch on, the additive model validated for every seed; fewer digits, fewer trials; a ceiling.
for seed in $(seq 1 20); do
    json seed "$normal" --gum --adaptive --seed "$seed" --threads $((seed % 2 + 1))
    check seed "gum validation adaptive" 'assert r["adaptive"]["batches"] >= 10 and r["validation"]["validated"], r'; done
json digits3 "$normal" --adaptive --digits 3 --seed 3 && json digits2 "$normal" --adaptive --digits 2 --seed 3
check digits2 adaptive 'assert r["iterations"] < load("digits3")["iterations"], r["iterations"]'
json capped "$normal" --adaptive --digits 4 --iterations 30000 --seed 3
check capped adaptive 'assert r["adaptive"]["ceiling_reached"] and r["iterations"] == 30000, r
assert err == "corvanta-cli: the adaptive run reached its ceiling of 30000 trials before its results were stable to 4 \
significant digits; the results are those of 30000 trials\n", err'

# A fault in the contributions leaves the results; a Cauchy input: no GUM; equal outputs: no shape nor interval.
sed 's/^y = a + b\r$/y = a + LN(b)\r/' "$c" >"$work/ln.cvm" && sed '/^%ParDistrib%\r$/{n;s/^1\r$/13\r/}' "$c" >"$work/cauchy.cvm"
sed 's/^2\r$/4\r/; s/^1\r$/4\r/' "$c" >"$work/constant.cvm" && json constant "$work/constant.cvm" --iterations 1000 # no seed: the clock's, reported
json ln "$work/ln.cvm" --iterations 1000 --seed 1 && json cauchy "$work/cauchy.cvm" --gum --iterations 1000 --seed 1
check ln contributions_error 'assert err == "Floating point division by zero\n" and r["contributions"] is None, (err, r)
assert r["contributions_error"] == "Floating point division by zero" and r["interval"] is not None, r'
check cauchy gum 'assert r["gum"] == {"applicable": False, "reason": "The GUM uncertainty framework does not apply: b has \
a Cauchy distribution, which has no variance."}, r["gum"]'
check constant "" 'assert (r["mean"], r["variance"]) == (0, 0) and (r["skewness"], r["interval"], r["classic"], r["jarque_bera"],
    r["normality_fits"], r["most_probable"]) == (None,) * 6 and 0 <= r["seed"] <= 4294967295, r'

# Correlations in JSON, text and the GUM's covariance term (u(x1) = 1, u(x2) = 1/sqrt(3)); one out of reach refused.
correlated=$repo/fuzz/corpus/model_file/correlations.cvm
json pairs "$correlated" --iterations 100000 --seed 5 --gum
check pairs "gum validation" 'g, u = r["gum"], math.sqrt(1 + 1 / 3 + 2 * 0.9 / math.sqrt(3))
assert r["correlations"] == g["correlations"] == [{"first": "x1", "second": "x2", "coefficient": 0.9}], r
assert abs(g["combined_uncertainty"] - u) < 1e-9 and g["second_order_available"] is False, g
assert g["second_order_uncertainty"] is None and abs(r["standard_deviation"] - u) < 5 * u * math.sqrt(2 / (4 * 100000)), r'
"$cli" run "$correlated" --iterations 1000 --seed 5 | grep -qx 'Correlation of x1 and x2 = 0.9' || fail "no pair line"
sed 's/^x1;x2;0.9/x1;x2;1/' "$correlated" >"$work/unreachable.cvm"
expect 1 "" 'The coefficient 1 of "x1" and "x2" cannot be reached by their distributions (from -0.9772 to 0.9772).' \
    run "$work/unreachable.cvm" --iterations 1000 --seed 5
# The comparison loss against its exact distribution; the interval's ends and their density (395.15) by quadrature.
json loss "$samples/jcgm101-comparison-loss.cvm" --iterations 1000000 --seed 94 --gum --interval shortest
check loss "gum validation shortest_interval" 'n, x1, u, c = 1000000, 0.010, 0.005, 0.9
mean, sd = x1**2 + 2 * u**2, math.sqrt(4 * x1**2 * u**2 + 4 * u**4 * (1 + c**2))
assert abs(r["mean"] - mean) < 5 * sd / math.sqrt(n) and abs(r["standard_deviation"] - sd) < 5 * sd * math.sqrt(15 / (4 * n)), r
tolerance, s = 5 * 0.5 / math.sqrt(n) / 395.15, r["shortest_interval"]
assert abs(s["low"] - 1.265156e-5) < tolerance and abs(s["high"] - 3.974788e-4) < tolerance, s
assert abs(r["gum"]["combined_uncertainty"] - 2 * x1 * u) < 1e-15, r["gum"]'
# The GUM's end gauge: its U-shaped input and Type B degrees of freedom reach the framework (32, 34, 16, 92 nm).
json gauge "$samples/gum-h1-end-gauge.cvm" --gum --probability 99 --seed 7
check gauge "gum validation" 'g, sd, dof = r["gum"], r["standard_deviation"], {b["name"]: b["degrees_of_freedom"] for b in r["gum"]["budget"]}
assert g["applicable"] and [round(g[k]) for k in ("combined_uncertainty", "second_order_uncertainty",
    "expanded_uncertainty")] == [32, 34, 92] and g["effective_degrees_of_freedom"] == 16, g
assert abs(g["coverage_factor"] - 2.921) < 5e-4 and (dof["ls"], dof["dtheta"], dof["Delta"]) == (18, 2, None), (g, dof)
assert abs(sd - 33.807) < 5 * 33.8 * math.sqrt((r["excess_kurtosis"] + 2) / 800000), sd'

# Bad input of every kind.
refuse() { for bad in "${@:3}"; do expect 1 "" "corvanta-cli: $2, not '$bad'" run "$c" "$1" "$bad"; done; }
refuse --iterations "the number of iterations must be a whole number from 1000 to 50000000" 999 50000001 abc -5 1e5 ""
refuse --probability "the coverage probability must be one of 68.27, 90, 95, 95.45, 99, 99.73" 50 95,45 "" 100 x
refuse --seed "the seed must be a whole number from 0 to 4294967295" 4294967296 -1 1.5 seed
refuse --threads "the number of threads must be a whole number from 1 to 64" 0 65 two ""
refuse --digits "the number of digits must be a whole number from 1 to 5" 0 6 x 1.5 ""
refuse --interval "the interval must be symmetric or shortest" middle
expect 0 "..." "" run "$c" --iterations 1000 --seed 4294967295 --probability 95.0
usage="usage: corvanta-cli run MODEL.cvm [--iterations N] [--probability P] [--seed S] [--json]"
expect 0 "$usage..." "" run --help && expect 2 "" "$usage..." run
for option in --seed --digits; do expect 2 "" "corvanta-cli: $option needs a value..." run "$c" $option; done
expect 2 "" "corvanta-cli: unknown option '--fast'..." run "$c" --fast
expect 1 "" "corvanta-cli: the ceiling of 5000 trials is below one adaptive batch of 10000 trials" run "$c" --adaptive --iterations 5000
expect 1 "" "Cannot open file \"$work/missing.cvm\". No such file or directory" run "$work/missing.cvm"
# A quantity without a distribution, and a model that fails on every draw: refused, the latter with its fault.
sed 's/^T\r$/F\r/' "$c" >"$work/not-ready.cvm" && sed 's/^y = a + b\r$/y = a\/(b - b)\r/' "$c" >"$work/always-fails.cvm"
for adaptive in "" --adaptive; do expect 1 "" "Cannot run the simulation. Incomplete initialization of parameters" run "$work/not-ready.cvm" $adaptive; done
expect 1 "" "The simulation was stopped: the model failed on 100000 draws in a row (Floating point division by zero)." \
    run "$work/always-fails.cvm" --seed 1
finish run
