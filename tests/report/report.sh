#!/usr/bin/env bash
# corvanta --report with no display at all: the mass calibration's report
# read back from the PDF, and bad arguments of every kind.
# Arguments: path of corvanta, path of corvanta-cli, repository path.
app=$1
source "${0%/*}/../cli/lib.bash" "$2" "$3"
model=$samples/mass-calibration.cvm
# No display, no platform chosen, and a user folder of its own (no language
# installed elsewhere changes the texts).
mkdir -m 700 -p "$work/runtime"
headless() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/runtime" timeout 120 "$app" "$@"
}

headless --report "$work/mass.pdf" --seed 12345 --iterations 200000 "$model" >"$work/out" 2>&1 ||
    fail "--report failed: $(cat "$work/out")"
[[ -s $work/out ]] && fail "--report said '$(cat "$work/out")'"
# Compared by words, with the ligatures of the PDF's text spelt out.
pdftotext -layout "$work/mass.pdf" - | tr -s ' ' | tr -d '\f' |
    sed 's/^ //; s/ $//; s/\xef\xac\x80/ff/g; s/\xef\xac\x81/fi/g' >"$work/words.txt"
# The lines the window shows are the batch tool's for the same seed and count.
"$cli" run "$model" --seed 12345 --iterations 200000 | head -13 | tr -s ' ' >"$work/legacy.txt"
[[ $(wc -l <"$work/legacy.txt") == 13 ]] || fail "the batch tool printed too few lines"
previous=0
while IFS= read -r line; do
    number=$(grep -nxF -- "$line" "$work/words.txt" | head -1 | cut -d: -f1)
    [[ -n $number ]] || fail "the report lacks the line '$line'"
    ((${number:-0} >= previous)) || fail "'$line' comes before the line above it"
    previous=${number:-$previous}
done < <(cat "$work/legacy.txt" - <<'LINES'
UNCERTAINTY CONTRIBUTORS
y ----
mRc 0.196 mg 71.2 %
HISTOGRAM
GUM UNCERTAINTY FRAMEWORK
Uncertainty budget
mRc 100000 0.05 1 0.05 86.2 infinite
dmRc 1.234 0.02 1 0.02 13.8 infinite
Combined standard uncertainty u_c = 0.05385
With second-order terms u_c = 0.07497
Effective degrees of freedom = infinite
Coverage factor k = 1.96
not validated: the GUM interval differs from the Monte Carlo interval by more than the tolerance
RUN SETTINGS
Iterations: 200000
Seed: 12345
Confidence interval: Symmetric interval (p = 95%)
Program: Corvanta 1.0.0
LINES
)
grep -qE '^Range of the histogram \(150 equal classes\): \[ 1\.0[0-9]+ , 1\.4[0-9]+ \] mg$' "$work/words.txt" ||
    fail "the report lacks the histogram's range"
[[ $(grep -cx "GUM UNCERTAINTY FRAMEWORK" "$work/words.txt") == 1 ]] || fail "a heading's text is twice in the PDF"
# The histogram: one picture of the chart's size.
pdfimages -list "$work/mass.pdf" | tail -n +3 >"$work/images"
[[ $(wc -l <"$work/images") == 1 && $(awk '{print $3, $4, $5}' "$work/images") == "image 300 186" ]] ||
    fail "the report's pictures: $(cat "$work/images")"

# Bad arguments: exit code, the first line of stderr (a usage error adds the
# usage text, a refused value nothing), and no report written.
sed 's/^T\r$/F\r/' "$model" >"$work/not-ready.cvm"
printf '%%Titulo%%\r\nt\r\n%%/Titulo%%\r\n%%Desc%%\r\n%%/Desc%%\r\n%%Modelo%%\r\n%%/Modelo%%\r\n' \
    >"$work/empty.cvm"
iterations="corvanta: the number of iterations must be a whole number from 100000 to 2000000, not"
probability="corvanta: the coverage probability must be one of 68.27, 90, 95, 95.45, 99, 99.73, not"
seed="corvanta: the seed must be a whole number from 0 to 4294967295, not"
out="--report $work/bad.pdf"
while IFS='|' read -r code message arguments; do
    # shellcheck disable=SC2086
    headless $arguments >"$work/out" 2>"$work/err"
    got=$?
    [[ $got == "$code" && $(head -1 "$work/err") == "$message" && ! -s $work/out ]] ||
        fail "$arguments -> exit $got, stderr '$(cat "$work/err")', expected $code '$message'"
    [[ -e $work/bad.pdf ]] && fail "$arguments wrote the report"
    lines=$(wc -l <"$work/err")
    [[ $code == 1 && $lines == 1 || $code == 2 && $(grep -c '^usage: corvanta ' "$work/err") == 1 ]] ||
        fail "$arguments -> $lines lines of stderr"
done <<TABLE
1|$iterations '99999'|$out --iterations 99999 $model
1|$iterations '2000001'|$out --iterations 2000001 $model
1|$iterations '1e5'|$out --iterations 1e5 $model
1|$probability '50'|$out --probability 50 $model
1|$probability '95,45'|$out --probability 95,45 $model
1|$seed '4294967296'|$out --seed 4294967296 $model
1|$seed '-1'|$out --seed -1 $model
1|Cannot open file "$work/missing.cvm". No such file or directory|$out $work/missing.cvm
1|Cannot run the simulation. Incomplete initialization of parameters|$out $work/not-ready.cvm
1|corvanta: the model file holds no equations|$out $work/empty.cvm
1|Cannot create file "$work/no/such.pdf". No such file or directory|--report $work/no/such.pdf $model
2|corvanta: --report needs a value|$model --report
2|corvanta: --seed needs a value|$out $model --seed
2|corvanta: unknown option '--fast'|$out --fast $model
2|corvanta: only one model file can be run|$out $model $model
2|usage: corvanta [MODEL.cvm]|$out
2|corvanta: --iterations, --probability and --seed go with --report OUT.pdf|--seed 1 $model
TABLE
headless --help | grep -q -- '--report OUT.pdf' || fail "--help does not describe --report"

finish report
