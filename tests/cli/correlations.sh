#!/usr/bin/env bash
# corvanta-cli run with a correlations section: the pairs in JSON and text,
# the covariance term in the GUM framework, and a refusal before the run.
# Arguments: path of corvanta-cli, repository path.
set -u
cli=$1
repo=$2
model=$repo/fuzz/corpus/model_file/correlations.cvm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$cli" run "$model" --iterations 100000 --seed 5 --gum --json >"$work/out.json" 2>"$work/err" ||
    fail "run with correlations exited $?: $(cat "$work/err")"
python3 - "$work/out.json" <<'PY' || fail "JSON of a correlated run"
import json, math, sys
j = json.load(open(sys.argv[1]))
assert j["correlations"] == [{"first": "x1", "second": "x2", "coefficient": 0.9}], j["correlations"]
g = j["gum"]
# u(x1) = 1 (normal), u(x2) = 1/sqrt(3) (rectangular of half-width 1).
u = math.sqrt(1 + 1 / 3 + 2 * 0.9 / math.sqrt(3))
assert abs(g["combined_uncertainty"] - u) < 1e-9, g["combined_uncertainty"]
assert g["second_order_available"] is False and g["second_order_uncertainty"] is None
assert g["correlations"] == j["correlations"]
# The run's standard deviation within 5 standard errors of u.
assert abs(j["standard_deviation"] - u) < 5 * u * math.sqrt(2 / (4 * 100000)), j["standard_deviation"]
PY
"$cli" run "$model" --iterations 1000 --seed 5 >"$work/out.txt" 2>"$work/err" || fail "text run"
grep -qx 'Correlation of x1 and x2 = 0.9' "$work/out.txt" || fail "text run lacks the pair line"

sed 's/^x1;x2;0.9/x1;x2;1/' "$model" >"$work/unreachable.cvm"
out=$("$cli" run "$work/unreachable.cvm" --iterations 1000 --seed 5 2>"$work/err")
code=$?
[[ $code == 1 && -z $out ]] || fail "unreachable coefficient -> exit $code, output '$out'"
grep -q 'The coefficient 1 of "x1" and "x2" cannot be reached by their distributions (from -0.9772 to 0.9772).' "$work/err" ||
    fail "unreachable coefficient message: $(cat "$work/err")"

# The shipped comparison-loss sample against its exact distribution: mean
# x1^2 + 2u^2, u = sqrt(4 x1^2 u^2 + 4 u^4 (1 + r^2)), the shortest 95 %
# interval and the densities at its ends by quadrature; the GUM's u = 2 x1 u.
"$cli" run "$repo/samples/jcgm101-comparison-loss.cvm" --iterations 1000000 --seed 94 --gum \
    --interval shortest --json >"$work/loss.json" 2>"$work/err" || fail "comparison loss: $(cat "$work/err")"
python3 - "$work/loss.json" <<'PY' || fail "comparison-loss sample"
import json, math, sys
j = json.load(open(sys.argv[1]))
n, x1, u, r = 1000000, 0.010, 0.005, 0.9
mean, sd = x1**2 + 2 * u**2, math.sqrt(4 * x1**2 * u**2 + 4 * u**4 * (1 + r**2))
assert abs(j["mean"] - mean) < 5 * sd / math.sqrt(n), j["mean"]
assert abs(j["standard_deviation"] - sd) < 5 * sd * math.sqrt(15 / (4 * n)), j["standard_deviation"]
# Five standard errors of a quantile, p (1 - p) <= 1/4, density 395.15 at both ends.
tolerance = 5 * 0.5 / math.sqrt(n) / 395.15
s = j["shortest_interval"]
assert abs(s["low"] - 1.265156e-5) < tolerance and abs(s["high"] - 3.974788e-4) < tolerance, s
assert abs(j["gum"]["combined_uncertainty"] - 2 * x1 * u) < 1e-15, j["gum"]
PY

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all correlation cli tests passed"
