#!/usr/bin/env bash
# corvanta-cli run end to end: the sample models and their expected results,
# the same output for the same seed, and bad input of every kind.
# Arguments: path of corvanta-cli, repository path.
set -u
cli=$1
repo=$2
samples=$repo/samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

command -v python3 >/dev/null || { echo "FAIL: python3 is needed to read the JSON output" >&2; exit 1; }

# expect_error CODE STDERR -- ARGS...: no output, the exit code and the message.
expect_error() {
    local code=$1 err=$2
    shift 3
    local got_out got_code got_err
    got_out=$(timeout 60 "$cli" run "$@" 2>"$work/err")
    got_code=$?
    got_err=$(cat "$work/err")
    [[ $got_code == "$code" ]] || fail "run $* -> exit $got_code, expected $code"
    [[ -z $got_out ]] || fail "run $* -> stdout '$got_out', expected nothing"
    [[ $got_err == "$err" ]] || fail "run $* -> stderr '$got_err', expected '$err'"
}

# The whole text output of a short run: grid, normality test, result,
# interval, classic form and one line per quantity.
expected_text='Iterations = 1000
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
b: 4.091  68.3748667427409 %'
got=$("$cli" run "$samples/contributions.cvm" --iterations 1000 --seed 7)
[[ $? == 0 ]] || fail "contributions.cvm did not run"
[[ $got == "$expected_text" ]] || fail "contributions.cvm text output: '$got'"

# The same seed gives the same bytes; another seed other values.
"$cli" run "$samples/mass-calibration.cvm" --iterations 20000 --seed 12345 --json >"$work/a.json"
"$cli" run "$samples/mass-calibration.cvm" --seed 12345 --iterations 20000 --json >"$work/b.json"
"$cli" run "$samples/mass-calibration.cvm" --iterations 20000 --seed 12346 --json >"$work/c.json"
cmp -s "$work/a.json" "$work/b.json" || fail "the same seed gave different output"
cmp -s "$work/a.json" "$work/c.json" && fail "another seed gave the same output"
# Without a seed the source is seeded from the clock, and the seed is reported.
"$cli" run "$samples/contributions.cvm" --iterations 1000 --json >"$work/clock.json" ||
    fail "a run without a seed failed"

# check FILE PYTHON: asserts on the JSON object `r` of a run.
check() {
    local file=$1 assertions=$2
    python3 - "$file" "$assertions" <<'PY' || fail "$file: $2"
import json, math, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
keys = ["iterations", "mean", "variance", "standard_deviation", "skewness", "excess_kurtosis",
        "maximum", "minimum", "most_probable", "range", "jarque_bera", "normality_fits",
        "coverage_probability", "interval", "classic", "failed_draws", "contributions", "seed", "correlations"]
assert sorted(r) == sorted(keys), sorted(r)
exec(sys.argv[2])
PY
}

check "$work/a.json" 'assert r["seed"] == 12345 and r["iterations"] == 20000 and r["failed_draws"] == 0'
check "$work/clock.json" 'assert 0 <= r["seed"] <= 4294967295'
check "$work/a.json" '
assert [c["name"] for c in r["contributions"]] == ["y", "mRc", "dmRc", "ra", "ra0", "rW", "rR", "mnom"]
assert r["contributions"][0]["width"] is None
assert abs(sum(c["relative"] for c in r["contributions"]) - 100) < 1e-9
assert r["classic"].count("\u00b1") == 1'

# Expected results with 200000 draws; tolerances are five standard errors.
# JCGM 101 additive models: standard deviation 2, 95 % interval about
# [-3.92, 3.92] for the normal inputs and [-3.88, 3.88] for the rectangular.
for kind in normal rectangular; do
    "$cli" run "$samples/jcgm101-additive-$kind.cvm" --seed 2026 --json >"$work/$kind.json" ||
        fail "jcgm101-additive-$kind.cvm did not run"
    check "$work/$kind.json" '
n = 200000
assert r["iterations"] == n and r["coverage_probability"] == 95
assert abs(r["mean"]) < 5 * 2 / math.sqrt(n), r["mean"]
assert abs(r["standard_deviation"] - 2) < 5 * 2 / math.sqrt(2 * n), r["standard_deviation"]
low, high = r["interval"]
bound = {"normal": 3.92, "rectangular": 3.88}["'$kind'"]
assert abs(low + bound) < 0.06 and abs(high - bound) < 0.06, r["interval"]
widths = [c["width"] for c in r["contributions"][1:]]
assert len(widths) == 4 and all(abs(w / widths[0] - 1) < 0.15 for w in widths), widths'
done
check "$work/normal.json" 'assert abs(r["excess_kurtosis"]) < 5 * math.sqrt(24 / 200000)'
check "$work/rectangular.json" 'assert abs(r["excess_kurtosis"] + 0.3) < 5 * math.sqrt(24 / 200000)'

# JCGM 101 mass calibration: mean 1.2340 mg, standard deviation 0.0754 mg.
"$cli" run "$samples/mass-calibration.cvm" --seed 1 --json --probability 99 >"$work/mass.json" ||
    fail "mass-calibration.cvm did not run"
check "$work/mass.json" '
assert abs(r["mean"] - 1.2340) < 5 * 0.0754 / math.sqrt(200000) + 5e-5, r["mean"]
assert abs(r["standard_deviation"] - 0.0754) < 0.001, r["standard_deviation"]
assert r["coverage_probability"] == 99
low, high = r["interval"]
assert 1.02 < low < 1.05 and 1.42 < high < 1.45, r["interval"]'

# Contributions example: widths near 1.9 and 3.9, a third and two thirds.
"$cli" run "$samples/contributions.cvm" --seed 3 --json >"$work/contrib.json"
check "$work/contrib.json" '
y, a, b = r["contributions"]
assert abs(a["width"] - 1.9) < 0.07 and abs(b["width"] - 3.92) < 0.6, (a, b)
assert abs(a["relative"] + b["relative"] - 100) < 1e-9'

# Bad input of every kind.
usage_first="usage: corvanta-cli run MODEL.cvm [--iterations N] [--probability P] [--seed S] [--json]"
for bad in 999 50000001 abc -5 1e5 ""; do
    expect_error 1 "corvanta-cli: the number of iterations must be a whole number from 1000 to 50000000, not '$bad'" -- "$samples/contributions.cvm" --iterations "$bad"
done
for bad in 50 95,45 "" 100 x; do
    expect_error 1 "corvanta-cli: the coverage probability must be one of 68.27, 90, 95, 95.45, 99, 99.73, not '$bad'" -- "$samples/contributions.cvm" --probability "$bad"
done
for bad in 4294967296 -1 1.5 seed; do
    expect_error 1 "corvanta-cli: the seed must be a whole number from 0 to 4294967295, not '$bad'" -- "$samples/contributions.cvm" --seed "$bad"
done
"$cli" run "$samples/contributions.cvm" --iterations 1000 --seed 4294967295 --probability 95.0 >/dev/null ||
    fail "the largest seed or 95.0 was refused"

got=$("$cli" run 2>&1 >/dev/null); code=$?
[[ $code == 2 && $got == "$usage_first"* ]] || fail "run without a file -> $code '$got'"
got=$("$cli" run "$samples/contributions.cvm" --fast 2>&1 >/dev/null); code=$?
[[ $code == 2 && $got == "corvanta-cli: unknown option '--fast'"* ]] || fail "unknown option -> $code"
got=$("$cli" run "$samples/contributions.cvm" --seed 2>&1 >/dev/null); code=$?
[[ $code == 2 && $got == "corvanta-cli: --seed needs a value"* ]] || fail "missing value -> $code"
got=$("$cli" run --help); code=$?
[[ $code == 0 && $got == "$usage_first"* ]] || fail "--help -> $code"

expect_error 1 "Cannot open file \"$work/missing.cvm\". No such file or directory" -- "$work/missing.cvm"

# A quantity without a distribution: the run is refused with the message.
sed 's/^T\r$/F\r/' "$samples/contributions.cvm" >"$work/not-ready.cvm"
expect_error 1 "Cannot run the simulation. Incomplete initialization of parameters" -- "$work/not-ready.cvm"

# A model that fails on every draw stops with the fault's own text.
sed 's/^y = a + b\r$/y = a\/(b - b)\r/' "$samples/contributions.cvm" >"$work/always-fails.cvm"
expect_error 1 "The simulation was stopped: the model failed on 100000 draws in a row (Floating point division by zero)." -- "$work/always-fails.cvm" --seed 1

# Equal outputs: statistics without shape, interval and classic form undetermined.
sed 's/^2\r$/4\r/; s/^1\r$/4\r/' "$samples/contributions.cvm" >"$work/constant.cvm"
"$cli" run "$work/constant.cvm" --json --iterations 1000 >"$work/constant.json" ||
    fail "a constant model did not run"
check "$work/constant.json" '
assert r["mean"] == 0 and r["variance"] == 0 and r["skewness"] is None
assert r["interval"] is None and r["classic"] is None and r["jarque_bera"] is None
assert r["normality_fits"] is None and r["most_probable"] is None'

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "run: all checks passed"
