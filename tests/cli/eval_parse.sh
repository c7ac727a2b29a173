#!/usr/bin/env bash
# corvanta-cli eval and parse end to end: values, messages, exit codes and
# bad input of every kind. Arguments: path of corvanta-cli, repository path.
set -u
cli=$1
repo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    local text="$*"
    ((${#text} > 400)) && text="${text:0:400}..."
    echo "FAIL: $text" >&2
    failures=$((failures + 1))
}

# expect CODE STDOUT STDERR -- ARGS...: runs the tool and compares all three.
expect() {
    local code=$1 out=$2 err=$3
    shift 4
    local got_out got_err got_code
    got_out=$(timeout 20 "$cli" "$@" 2>"$work/err")
    got_code=$?
    got_err=$(cat "$work/err")
    [[ $got_code == "$code" ]] || fail "$* -> exit $got_code, expected $code"
    [[ $got_out == "$out" ]] || fail "$* -> stdout '$got_out', expected '$out'"
    [[ $got_err == "$err" ]] || fail "$* -> stderr '$got_err', expected '$err'"
}

# eval: value on stdout, exit 0; or the message on stderr, exit 1.
while IFS='|' read -r code expression text; do
    if [[ $code == 0 ]]; then
        expect 0 "$text" "" -- eval "$expression"
    else
        expect 1 "" "$text" -- eval "$expression"
    fi
done <<'TABLE'
0|2^3^2|64
0|1/3*3|0.999999999999999
0|pi|3.14159265358979
0|2,5 * [1 + 1}|5
0|1/100000*1.5|1.5E-5
0|SQRT(16) + Sin(0)|4
1|ln(0)|Floating point division by zero
1|sqrt(-1)|Invalid floating point operation
1|exp(1000)|Floating point overflow
1|arctanh(-1)|'-INF' is not a valid floating point value
1|a + 1|'a' is not a valid floating point value
1|a)|List index out of bounds (-1)
1||Missing operand in expression
1|a +- b|ERROR: duplicated operator
1|(*a)|ERROR: Forbidden operand "*" after a "("
1|2(a)|ERROR: variable [] must be followed by an operand
1|pi(2)|ERROR: function "PI" cannot be followed by a "("
TABLE
expect 0 "-1" "" -- eval -- "-1"

# Rejections without a message of their own still explain themselves.
illegal='corvanta-cli: the equation holds a character that is not allowed (allowed are letters, digits, the point, the comma, blanks and + - * / ^ ( ) [ ] { } =)'
letter='corvanta-cli: the equation is not valid (a letter right after a number or after a ")")'
expect 1 "" "$illegal" -- eval "2 # 3"
expect 1 "" "$illegal" -- eval "2µ"
expect 1 "" "$illegal" -- eval $'1\t+ 2'
expect 1 "" "$letter" -- eval "2a"
expect 1 "" "$letter" -- eval "1e5"
expect 1 "" "$letter" -- eval "(a)b"

# Usage.
"$cli" eval --help | grep -q '^usage: corvanta-cli eval' || fail "eval --help"
"$cli" parse --help | grep -q '^usage: corvanta-cli parse' || fail "parse --help"
"$cli" eval >/dev/null 2>&1
[[ $? == 2 ]] || fail "eval without an expression is not a usage error"
"$cli" eval 1 2 >/dev/null 2>&1
[[ $? == 2 ]] || fail "eval with two expressions is not a usage error"
"$cli" parse >/dev/null 2>&1
[[ $? == 2 ]] || fail "parse without a file is not a usage error"

# parse: the sample chain, from a file and from stdin.
chain='output: y
intermediate: k
inputs: a b c
equation: y=a*(b/c)
postfix: a b c / *'
expect 0 "$chain" "" -- parse "$repo/samples/chain.txt"
got=$("$cli" parse - <"$repo/samples/chain.txt")
[[ $got == "$chain" ]] || fail "parse - gave '$got'"

printf 'k = b/c\r\n\r\n   \r\ny = a*k\r\n' >"$work/reversed.txt"
expect 0 'output: y
intermediate: k
inputs: b c a
equation: y=a*(b/c)
postfix: a b c / *' "" -- parse "$work/reversed.txt"

expect 0 'output: P
intermediate: I
inputs: V R
equation: P=V*(V/R)
postfix: V V R / *' "" -- parse "$repo/samples/power.txt"

printf 'y = x1 + sin(x1)^2 + pi' >"$work/single.txt"
expect 0 'output: y
intermediate:
inputs: x1
equation: y=x1+sin(x1)^2+pi
postfix: x1 x1 sin 2 ^ + pi +' "" -- parse "$work/single.txt"

# parse: rejected sets.
while IFS='|' read -r model message; do
    printf "$model" >"$work/model.txt"
    expect 1 "" "$message" -- parse "$work/model.txt"
done <<'TABLE'
x = x + 1|Error. Undefined output parameter.
y = a\nz = b|Error. Too many output parameter.
y = a\na = b\nb = a|Error. The quantity a is defined in terms of itself.
y = a\nk = b)|List index out of bounds (-1)
y = a\n2x = b|Wrong expression
y = a\n\nz = 2b|corvanta-cli: line 3: the equation is not valid (a letter right after a number or after a ")")
y = a\nz = b;|corvanta-cli: line 2: the equation holds a character that is not allowed (allowed are letters, digits, the point, the comma, blanks and + - * / ^ ( ) [ ] { } =)
TABLE

: >"$work/empty.txt"
expect 1 "" "Error. Undefined output parameter." -- parse "$work/empty.txt"
expect 1 "" "corvanta-cli: cannot read the file '$work/missing.txt'" -- parse "$work/missing.txt"
expect 1 "" "corvanta-cli: cannot read the file '$work'" -- parse "$work"

# Bad input never crashes or hangs: every run ends with 0 or 1 and says something.
survives() {
    local what=$1
    shift
    timeout 20 "$cli" "$@" >"$work/out" 2>"$work/err"
    local code=$?
    if [[ $code != 0 && $code != 1 ]]; then
        fail "$what: exit $code"
    elif [[ ! -s $work/out && ! -s $work/err ]]; then
        fail "$what: said nothing"
    fi
}
# repeat TEXT N: TEXT written N times.
repeat() { head -c "$2" /dev/zero | tr '\0' '\n' | sed "s/^/$1/" | tr -d '\n'; }
long="$(repeat 'a+' 50000)1"
survives "100000-character expression" eval "$long"
[[ $(cat "$work/err") == "'a' is not a valid floating point value" ]] || fail "long expression"
expect 0 "50000" "" -- eval "$(repeat '1+' 50000)0"
# One argument may hold at most 128 KiB, so the deepest nesting goes through a file.
expect 0 "2" "" -- eval "$(repeat '(' 60000)2$(repeat ')' 60000)"
expect 0 "2" "" -- eval "$(repeat 'abs(' 25000)-2$(repeat ')' 25000)"
printf 'y = %s\n' "$(repeat '[' 100000)a+b*x$(repeat '}' 100000)" >"$work/nested.txt"
expect 0 "output: y
intermediate:
inputs: a b x
equation: y=$(repeat '(' 100000)a+b*x$(repeat ')' 100000)
postfix: a b x * +" "" -- parse "$work/nested.txt"
head -c 20000 /dev/urandom >"$work/binary.txt"
survives "binary bytes" parse "$work/binary.txt"
printf 'y = a\0b\n' >"$work/nul.txt"
survives "a NUL byte" parse "$work/nul.txt"
{
    echo "y = a0*a0"
    for i in $(seq 0 29); do echo "a$i = a$((i + 1))*a$((i + 1))"; done
} >"$work/doubling.txt"
survives "a model that doubles at every level" parse "$work/doubling.txt"

if ((failures > 0)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "eval_parse: all passed"
