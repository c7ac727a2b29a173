# Sourced by scripts given the paths of corvanta-cli and of the repository: a scratch folder and the checks.
set -u
cli=$1 repo=$2 samples=$2/samples work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
fail() { local text="$*"; echo "FAIL: ${text:0:400}" >&2; failures=$((failures + 1)); }
finish() { ((failures == 0)) && echo "$1: all checks passed" || { echo "$failures failure(s)" >&2; exit 1; }; }
# expect CODE STDOUT STDERR ARGS...: the exit code and both streams, exactly; a text ending in "..." need only start so.
expect() {
    local code=$1 out=$2 err=$3 got_out got_code got_err && shift 3
    got_out=$(timeout "${limit:-60}" "$cli" "$@" 2>"$work/err")
    got_code=$? got_err=$(<"$work/err")
    [[ $out == *... && $got_out == "${out%...}"* ]] && got_out=$out
    [[ $err == *... && $got_err == "${err%...}"* ]] && got_err=$err
    [[ $got_code == "$code" && $got_out == "$out" && $got_err == "$err" ]] ||
        fail "$* -> $got_code '$got_out' '$got_err', expected $code '$out' '$err'"
}
# json NAME ARGS...: a run that exits 0, its JSON in $work/NAME.json, its stderr in NAME.err.
json() { "$cli" run "${@:2}" --json >"$work/$1.json" 2>"$work/$1.err" || fail "run ${*:2} -> $?: $(<"$work/$1.err")"; }
# check NAME KEYS PYTHON: asserts on NAME's JSON `r` (the run's keys and KEYS); load(NAME) reads another, err stderr.
check() {
    python3 - "$work" "$@" <<'PY' || fail "$1: $3"
import json, math, sys
load = lambda name: json.load(open(f"{sys.argv[1]}/{name}.json", encoding="utf-8"))
r, err = load(sys.argv[2]), open(f"{sys.argv[1]}/{sys.argv[2]}.err", encoding="utf-8").read()
keys = """iterations mean variance standard_deviation skewness excess_kurtosis maximum minimum most_probable range
    jarque_bera normality_fits coverage_probability interval classic failed_draws contributions seed correlations"""
assert sorted(r) == sorted(keys.split() + sys.argv[3].split()), sorted(r)
exec(sys.argv[4])
PY
}
