#!/usr/bin/env bash
# corvanta-cli run --gum on the GUM's end-gauge example: its U-shaped input
# and the degrees of freedom of its Type B inputs reach the GUM framework
# (u_c 32 nm, 34 nm with the second-order terms, nu_eff 16, U99 92 nm), and
# the Monte Carlo standard deviation is the second-order figure.
# Arguments: path of corvanta-cli, repository path.
set -u
cli=$1
sample=$2/samples/gum-h1-end-gauge.cvm
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$cli" run "$sample" --gum --probability 99 --seed 7 --json >"$out" || { echo "FAIL: no run" >&2; exit 1; }
python3 - "$out" <<'PY'
import json, math, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
g = r["gum"]
assert g["applicable"], g
assert round(g["combined_uncertainty"]) == 32, g["combined_uncertainty"]
assert round(g["second_order_uncertainty"]) == 34, g["second_order_uncertainty"]
assert g["effective_degrees_of_freedom"] == 16, g["effective_degrees_of_freedom"]
assert abs(g["coverage_factor"] - 2.921) < 5e-4, g["coverage_factor"]
assert round(g["expanded_uncertainty"]) == 92, g["expanded_uncertainty"]
dof = {row["name"]: row["degrees_of_freedom"] for row in g["budget"]}
assert dof["ls"] == 18 and dof["dtheta"] == 2 and dof["Delta"] is None, dof
# 200000 values: five standard errors of a standard deviation near 33.8.
sd = r["standard_deviation"]
assert abs(sd - 33.807) < 5 * 33.8 * math.sqrt((r["excess_kurtosis"] + 2) / 800000), sd
PY
