#!/usr/bin/env bash
# corvanta-cli run with --gum, --adaptive, --digits and --interval: the new
# JSON objects and text block, the same output for the same seed, the
# contributions' fault beside standing results, and bad input.
# Arguments: path of corvanta-cli, repository path.
set -u
cli=$1
samples=$2/samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# check FILE KEYS PYTHON: the JSON object `r` has the run's keys plus KEYS.
check() {
    python3 - "$1" "$2" "$3" <<'PY' || fail "$1: $3"
import json, math, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
keys = ["iterations", "mean", "variance", "standard_deviation", "skewness", "excess_kurtosis",
        "maximum", "minimum", "most_probable", "range", "jarque_bera", "normality_fits",
        "coverage_probability", "interval", "classic", "failed_draws", "contributions", "seed", "correlations"]
assert sorted(r) == sorted(keys + sys.argv[2].split()), sorted(r)
exec(sys.argv[3])
PY
}

# The mass calibration: first-order u = 0.0539 mg, 0.0750 mg with the
# second-order terms, against a Monte Carlo interval about [1.085, 1.383]:
# not validated at two digits. The adaptive run's trials are the run's.
run_all() {
    "$cli" run "$samples/mass-calibration.cvm" --gum --adaptive --interval shortest --seed 7 "$@"
}
run_all --json >"$work/all.json" || fail "--gum --adaptive --interval shortest did not run"
run_all --json >"$work/again.json"
cmp -s "$work/all.json" "$work/again.json" || fail "the same seed gave different adaptive output"
check "$work/all.json" "gum validation adaptive shortest_interval" '
g, v, a, s = r["gum"], r["validation"], r["adaptive"], r["shortest_interval"]
assert g["applicable"] and abs(g["combined_uncertainty"] - 0.0539) < 5e-5, g
assert abs(g["second_order_uncertainty"] - 0.0750) < 5e-5, g
assert g["effective_degrees_of_freedom"] is None and abs(g["coverage_factor"] - 1.95996) < 1e-5
assert [b["name"] for b in g["budget"]] == ["mRc", "dmRc", "ra", "ra0", "rW", "rR", "mnom"]
assert [round(b["share"], 2) for b in g["budget"]] == [86.21, 13.79, 0, 0, 0, 0, 0], g["budget"]
assert v == {"digits": 2, "tolerance": 0.0005, "d_low": v["d_low"], "d_high": v["d_high"],
             "validated": False, "verdict": "not validated"}, v
assert 0.02 < v["d_low"] < 0.07 and 0.02 < v["d_high"] < 0.07, v
assert a["batch_size"] == 10000 and a["trials"] == a["batches"] * 10000 == r["iterations"], a
assert a["digits"] == 2 and a["ceiling"] == 50000000 and not a["ceiling_reached"], a
assert s["low"] <= s["high"] and s["length"] <= r["interval"][1] - r["interval"][0] + 0.002, s'
got=$(run_all)
for line in "Adaptive: " "Shortest coverage interval (p = 95%): [ " \
    "GUM uncertainty framework (law of propagation of uncertainty)" \
    "Validation against Monte Carlo (2 significant digits, tolerance 0.0005): "; do
    [[ $got == *$'\n'"$line"* ]] || fail "text output lacks '$line'"
done

# The additive model with normal inputs: GUM +-3.92, validated.
"$cli" run "$samples/jcgm101-additive-normal.cvm" --gum --seed 2026 --json >"$work/additive.json"
check "$work/additive.json" "gum validation" '
assert abs(r["gum"]["interval"][1] - 3.92) < 1e-4 and r["validation"]["validated"], r["validation"]'

# The adaptive stop rule is judged from the 10th batch on: the additive model,
# whose GUM interval is valid, is validated for every seed, on one thread and two.
for seed in $(seq 1 20); do
    "$cli" run "$samples/jcgm101-additive-normal.cvm" --gum --adaptive --seed "$seed" \
        --threads $((seed % 2 + 1)) --json >"$work/seed.json"
    check "$work/seed.json" "gum validation adaptive" '
assert r["adaptive"]["batches"] >= 10 and r["validation"]["validated"], (r["adaptive"], r["validation"])'
done
"$cli" run "$samples/mass-calibration.cvm" --adaptive --seed 4 --threads 1 --json >"$work/t1.json"
"$cli" run "$samples/mass-calibration.cvm" --adaptive --seed 4 --threads 3 --json >"$work/t3.json"
cmp -s "$work/t1.json" "$work/t3.json" || fail "--threads 3 changed the adaptive run's output"
for bad in 0 65 two ""; do
    "$cli" run "$samples/mass-calibration.cvm" --threads "$bad" >/dev/null 2>"$work/threads.err"
    [[ $? == 1 && $(cat "$work/threads.err") == "corvanta-cli: the number of threads must be a whole number from 1 to 64, not '$bad'" ]] ||
        fail "--threads '$bad': $(cat "$work/threads.err")"
done

# A looser tolerance needs fewer trials; a ceiling stops the choice with a message.
"$cli" run "$samples/jcgm101-additive-normal.cvm" --adaptive --digits 2 --seed 3 --json >"$work/one.json"
"$cli" run "$samples/jcgm101-additive-normal.cvm" --adaptive --digits 3 --seed 3 --json >"$work/two.json"
python3 -c 'import json,sys; a,b=(json.load(open(f)) for f in sys.argv[1:]); assert a["iterations"] < b["iterations"], (a["iterations"], b["iterations"])' \
    "$work/one.json" "$work/two.json" || fail "--digits 2 did not stop before --digits 3"
"$cli" run "$samples/jcgm101-additive-normal.cvm" --adaptive --digits 4 --iterations 30000 --seed 3 \
    --json >"$work/capped.json" 2>"$work/capped.err" || fail "a capped adaptive run failed"
[[ $(cat "$work/capped.err") == "corvanta-cli: the adaptive run reached its ceiling of 30000 trials before its results were stable to 4 significant digits; the results are those of 30000 trials" ]] ||
    fail "ceiling message: $(cat "$work/capped.err")"
check "$work/capped.json" "adaptive" 'assert r["adaptive"]["ceiling_reached"] and r["iterations"] == 30000'

# Contributions stopped by a fault (LN of b held at 0): the run's results stand.
sed 's/^y = a + b\r$/y = a + LN(b)\r/' "$samples/contributions.cvm" >"$work/ln.cvm"
"$cli" run "$work/ln.cvm" --iterations 1000 --seed 1 --json >"$work/ln.json" 2>/dev/null ||
    fail "a run whose contributions fail did not exit 0"
check "$work/ln.json" "contributions_error" '
assert r["contributions"] is None and r["contributions_error"] == "Floating point division by zero"
assert r["interval"] is not None'

# A Cauchy input has no variance: the framework does not apply.
sed '/^%ParDistrib%\r$/{n;s/^1\r$/13\r/}' "$samples/contributions.cvm" >"$work/cauchy.cvm"
"$cli" run "$work/cauchy.cvm" --gum --iterations 1000 --seed 1 --json >"$work/cauchy.json"
check "$work/cauchy.json" "gum" '
assert r["gum"] == {"applicable": False, "reason": "The GUM uncertainty framework does not apply: b has a Cauchy distribution, which has no variance."}, r["gum"]'

# Bad input.
expect() {  # code stderr -- args
    local code=$1 err=$2
    shift 3
    local got_err
    "$cli" run "$samples/contributions.cvm" "$@" >/dev/null 2>"$work/err"
    local got=$?
    got_err=$(head -n 1 "$work/err")
    [[ $got == "$code" && $got_err == "$err" ]] || fail "run $* -> $got '$got_err'"
}
for bad in 0 6 x 1.5 ""; do
    expect 1 "corvanta-cli: the number of digits must be a whole number from 1 to 5, not '$bad'" -- --digits "$bad"
done
expect 1 "corvanta-cli: the interval must be symmetric or shortest, not 'middle'" -- --interval middle
expect 2 "corvanta-cli: --digits needs a value" -- --digits
expect 1 "corvanta-cli: the ceiling of 5000 trials is below one adaptive batch of 10000 trials" -- --adaptive --iterations 5000
sed 's/^T\r$/F\r/' "$samples/contributions.cvm" >"$work/not-ready.cvm"
"$cli" run "$work/not-ready.cvm" --adaptive >/dev/null 2>"$work/err"
[[ $? == 1 && $(cat "$work/err") == "Cannot run the simulation. Incomplete initialization of parameters" ]] ||
    fail "--adaptive on an unready model: $(cat "$work/err")"

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "gum_adaptive: all checks passed"
