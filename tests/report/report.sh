#!/usr/bin/env bash
# corvanta --report with no display at all: the report of the mass
# calibration read back from the PDF (the lines the window shows, beside
# the batch tool's run of the same seed; the contributions, the GUM budget
# and verdict; the histogram picture), and bad arguments of every kind.
# Arguments: path of corvanta, path of corvanta-cli, repository path.
set -u
app=$1
cli=$2
samples=$3/samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# No display of any kind and no platform chosen; a user folder of its own,
# so that no language installed elsewhere changes the texts.
mkdir -p "$work/home/runtime"
chmod 700 "$work/home/runtime"
headless() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
        XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
        XDG_RUNTIME_DIR="$work/home/runtime" timeout 120 "$app" "$@"
}

model=$samples/mass-calibration.cvm
headless --report "$work/mass.pdf" --seed 12345 --iterations 200000 "$model" \
    >"$work/out" 2>"$work/err"
code=$?
[[ $code == 0 ]] || fail "--report exited $code: $(cat "$work/err")"
[[ -s $work/out || -s $work/err ]] && fail "--report said '$(cat "$work/out" "$work/err")'"
pdftotext -layout "$work/mass.pdf" "$work/mass.txt" || fail "pdftotext could not read the report"
# One blank between words, as the lines are compared by their words, and
# the ligatures the PDF's text holds spelt out.
tr -s ' ' <"$work/mass.txt" | tr -d '\f' | sed 's/^ //; s/ $//; s/\xef\xac\x80/ff/g; s/\xef\xac\x81/fi/g;
    s/\xef\xac\x82/fl/g; s/\xef\xac\x83/ffi/g; s/\xef\xac\x84/ffl/g' >"$work/words.txt"

has() {
    grep -qxF -- "$1" "$work/words.txt" || fail "the report lacks the line '$1'"
}

# The lines the window shows after the run are the batch tool's for the same
# seed and count, grid row by grid row.
"$cli" run "$model" --seed 12345 --iterations 200000 >"$work/cli.txt" ||
    fail "corvanta-cli did not run"
head -13 "$work/cli.txt" | tr -s ' ' >"$work/legacy.txt"
[[ $(wc -l <"$work/legacy.txt") == 13 ]] || fail "the batch tool printed too few lines"
while IFS= read -r line; do
    has "$line"
done <"$work/legacy.txt"
has "MASS CALIBRATION"
has "RESULTS"

# The later sections, in their order, with the figures of this run.
expect_order() {
    local previous=0 line number
    for line in "$@"; do
        number=$(grep -nxF -- "$line" "$work/words.txt" | head -1 | cut -d: -f1)
        if [[ -z $number ]]; then
            fail "the report lacks the line '$line'"
        elif ((number < previous)); then
            fail "'$line' comes before the line above it"
        else
            previous=$number
        fi
    done
}
expect_order "UNCERTAINTY CONTRIBUTORS" "HISTOGRAM" "GUM UNCERTAINTY FRAMEWORK" \
    "Uncertainty budget" "Combined standard uncertainty u_c = 0.05385" \
    "With second-order terms u_c = 0.07497" "Effective degrees of freedom = infinite" \
    "Coverage factor k = 1.96" \
    "not validated: the GUM interval differs from the Monte Carlo interval by more than the tolerance" \
    "RUN SETTINGS" "Iterations: 200000" "Seed: 12345" \
    "Confidence interval: Symmetric interval (p = 95%)" "Program: Corvanta 1.0.0"
# Budget rows: quantity, estimate, u(x), c, |c| u(x), share, dof.
grep -qE '^mRc 100000 0\.05 1 0\.05 86\.2 infinite$' "$work/words.txt" ||
    fail "the budget lacks the row of mRc"
# Contribution rows: the quantity, its width in mg and its share.
for name in mRc dmRc ra ra0 rW rR mnom; do
    grep -qE "^$name [0-9.eE-]+ mg [0-9.]+ %$" "$work/words.txt" ||
        fail "the contributions lack the row of $name"
done
grep -qxF "y ----" "$work/words.txt" || fail "the contributions lack the output's row"

# The histogram is one picture in the report.
pdfimages -list "$work/mass.pdf" >"$work/images" || fail "pdfimages could not read the report"
images=$(tail -n +3 "$work/images" | wc -l)
[[ $images == 1 ]] || fail "the report holds $images pictures: $(cat "$work/images")"
read -r _ _ type width height _ <<<"$(tail -n +3 "$work/images" | head -1)"
[[ $type == image && $width -ge 300 && $height -ge 150 ]] ||
    fail "the picture is not the chart: $(cat "$work/images")"

# The same seed, the same report text (the date aside).
headless --report "$work/again.pdf" --iterations 200000 --seed 12345 "$model" 2>/dev/null ||
    fail "the second --report failed"
pdftotext -layout "$work/again.pdf" "$work/again.txt"
cmp -s <(grep -v 'Date: ' "$work/mass.txt") <(grep -v 'Date: ' "$work/again.txt") ||
    fail "the same seed gave another report"

# expect_error CODE STDERR ARGS...: nothing written, the exit code and the
# whole message.
expect_error() {
    local code=$1 err=$2
    shift 2
    rm -f "$work/bad.pdf"
    headless "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [[ $got == "$code" ]] || fail "$* -> exit $got, expected $code"
    [[ -s $work/out ]] && fail "$* -> stdout '$(cat "$work/out")'"
    [[ -e $work/bad.pdf ]] && fail "$* -> wrote the report"
    [[ $(cat "$work/err") == "$err" ]] || fail "$* -> stderr '$(cat "$work/err")', expected '$err'"
}
# expect_usage CODE FIRSTLINE ARGS...: the message, then the usage text.
expect_usage() {
    local code=$1 first=$2
    shift 2
    headless "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [[ $got == "$code" ]] || fail "$* -> exit $got, expected $code"
    [[ $(head -1 "$work/err") == "$first" ]] || fail "$* -> stderr '$(cat "$work/err")'"
    grep -q '^usage: corvanta \[MODEL.cvm\]$' "$work/err" || fail "$* -> no usage text"
}

iterations="corvanta: the number of iterations must be a whole number from 100000 to 2000000, not"
probability="corvanta: the coverage probability must be one of 68.27, 90, 95, 95.45, 99, 99.73, not"
seed="corvanta: the seed must be a whole number from 0 to 4294967295, not"
bad=(
    # exit|message|option|value
    "1|$iterations '99999'|--iterations|99999"
    "1|$iterations '2000001'|--iterations|2000001"
    "1|$iterations '1e5'|--iterations|1e5"
    "1|$iterations ''|--iterations|"
    "1|$probability '50'|--probability|50"
    "1|$probability '95,45'|--probability|95,45"
    "1|$seed '4294967296'|--seed|4294967296"
    "1|$seed '-1'|--seed|-1"
)
for entry in "${bad[@]}"; do
    IFS='|' read -r code message option value <<<"$entry"
    expect_error "$code" "$message" --report "$work/bad.pdf" "$option" "$value" "$model"
done
expect_error 1 "Cannot open file \"$work/missing.cvm\". No such file or directory" \
    --report "$work/bad.pdf" "$work/missing.cvm"
sed 's/^T\r$/F\r/' "$model" >"$work/not-ready.cvm"
expect_error 1 "Cannot run the simulation. Incomplete initialization of parameters" \
    --report "$work/bad.pdf" --iterations 100000 "$work/not-ready.cvm"
printf '%%Titulo%%\r\nt\r\n%%/Titulo%%\r\n%%Desc%%\r\n%%/Desc%%\r\n%%Modelo%%\r\n%%/Modelo%%\r\n' \
    >"$work/empty.cvm"
expect_error 1 "corvanta: the model file holds no equations" --report "$work/bad.pdf" \
    "$work/empty.cvm"
expect_error 1 "Cannot create file \"$work/no/such/folder.pdf\". No such file or directory" \
    --report "$work/no/such/folder.pdf" --iterations 100000 "$model"

usage=(
    # exit|first line of stderr|arguments (blank-separated)
    "2|corvanta: --report needs a value|$model --report"
    "2|corvanta: --seed needs a value|--report $work/bad.pdf $model --seed"
    "2|corvanta: unknown option '--fast'|--report $work/bad.pdf --fast $model"
    "2|corvanta: only one model file can be run|--report $work/bad.pdf $model $model"
    "2|usage: corvanta [MODEL.cvm]|--report $work/bad.pdf"
    "2|corvanta: --iterations, --probability and --seed go with --report OUT.pdf|--seed 1 $model"
)
for entry in "${usage[@]}"; do
    IFS='|' read -r code first arguments <<<"$entry"
    # shellcheck disable=SC2086
    expect_usage "$code" "$first" $arguments
done
got=$(headless --report "$work/bad.pdf" --help "$model" 2>&1)
[[ $? == 0 && $got == "usage: corvanta [MODEL.cvm]"* && ! -e $work/bad.pdf ]] ||
    fail "--help in the report's line -> '$got'"
headless --help | grep -q -- '--report OUT.pdf' || fail "--help does not describe --report"

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "report: all checks passed"
