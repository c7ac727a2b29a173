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

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all correlation cli tests passed"
