#!/usr/bin/env bash
# corvanta-cli eval and parse end to end: values, messages, exit codes and bad input of every kind.
limit=20 # seconds for any one command
source "${0%/*}/lib.bash"

# eval: the value, exit 0, or the message, exit 1; parse: the set (printf's escapes) refused, or its five lines.
illegal='corvanta-cli: the equation holds a character that is not allowed (allowed are letters, digits, the point, the comma, blanks and + - * / ^ ( ) [ ] { } =)'
letter='corvanta-cli: the equation is not valid (a letter right after a number or after a ")")'
parsed() { # FILE OUTPUT|INTERMEDIATE|INPUTS|EQUATION|POSTFIX
    local o i n e p && IFS='|' read -r o i n e p <<<"$2"
    expect 0 "$(printf 'output: %s\nintermediate:%s\ninputs: %s\nequation: %s\npostfix: %s' "$o" "${i:+ $i}" "$n" "$e" "$p")" "" parse "$1"
}
while IFS='|' read -r command code input text; do
    [[ $command == parse ]] && printf "$input" >"$work/model.txt" && input=$work/model.txt
    if [[ $command$code == parse0 ]]; then parsed "$input" "$text"
    elif ((code == 0)); then expect 0 "$text" "" eval "$input"; else expect 1 "" "$text" "$command" "$input"; fi
done <<TABLE
eval|0|1/3*3|0.999999999999999
eval|0|2,5 * [1 + 1}|5
eval|1|ln(0)|Floating point division by zero
eval|1|a + 1|'a' is not a valid floating point value
eval|1|a)|List index out of bounds (-1)
eval|1||Missing operand in expression
eval|1|a +- b|ERROR: duplicated operator
eval|1|2(a)|ERROR: variable [] must be followed by an operand
eval|1|2µ|$illegal
eval|1|2a|$letter
parse|0|k = b/c\r\n\r\n   \r\ny = a*k\r\n|y|k|b c a|y=a*(b/c)|a b c / *
parse|0|y = x1 + sin(x1)^2 + pi|y||x1|y=x1+sin(x1)^2+pi|x1 x1 sin 2 ^ + pi +
parse|1||Error. Undefined output parameter.
parse|1|y = a\nk = b)|List index out of bounds (-1)
parse|1|y = a\n2x = b|Wrong expression
parse|1|y = a\n\nz = 2b|corvanta-cli: line 3: the equation is not valid (a letter right after a number or after a ")")
parse|1|y = a\nz = b;|corvanta-cli: line 2: the equation holds a character that is not allowed (allowed are letters, digits, the point, the comma, blanks and + - * / ^ ( ) [ ] { } =)
TABLE
eval_usage="usage: corvanta-cli eval [--] EXPRESSION..." parse_usage="usage: corvanta-cli parse FILE..."
expect 0 "-1" "" eval -- "-1" && expect 0 "$eval_usage" "" eval --help && expect 0 "$parse_usage" "" parse --help
expect 2 "" "$eval_usage" eval && expect 2 "" "$eval_usage" eval 1 2 && expect 2 "" "$parse_usage" parse

# parse: the five lines of a set from the samples, and from stdin.
for file in "$repo/samples/chain.txt" -; do parsed "$file" 'y|k|a b c|y=a*(b/c)|a b c / *' <"$repo/samples/chain.txt"; done
parsed "$repo/samples/power.txt" 'P|I|V R|P=V*(V/R)|V V R / *'

for file in "$work/missing.txt" "$work"; do expect 1 "" "corvanta-cli: cannot read the file '$file'" parse "$file"; done

# Bad input never crashes or hangs: every run ends with 0 or 1 and says something.
repeat() { head -c "$2" /dev/zero | tr '\0' '\n' | sed "s/^/$1/" | tr -d '\n'; } # TEXT N times
expect 1 "" "'a' is not a valid floating point value" eval "$(repeat 'a+' 50000)1"
expect 0 "50000" "" eval "$(repeat '1+' 50000)0"
# One argument may hold at most 128 KiB, so the deepest nesting goes through a file.
expect 0 "2" "" eval "$(repeat '(' 60000)2$(repeat ')' 60000)"
expect 0 "2" "" eval "$(repeat 'abs(' 25000)-2$(repeat ')' 25000)"
printf 'y = %s\n' "$(repeat '[' 100000)a+b*x$(repeat '}' 100000)" >"$work/nested.txt"
parsed "$work/nested.txt" "y||a b x|y=$(repeat '(' 100000)a+b*x$(repeat ')' 100000)|a b x * +"
RANDOM=12345 bytes= && for ((i = 0; i < 20000; i++)); do printf -v byte '\\x%02x' $((RANDOM % 256)) && bytes+=$byte; done
printf "$bytes" >"$work/binary.txt" && printf 'y = a\0b\n' >"$work/nul.txt" # and a model that doubles at every level:
{ echo "y = a0*a0" && for i in $(seq 0 29); do echo "a$i = a$((i + 1))*a$((i + 1))"; done; } >"$work/doubling.txt"
for file in binary nul doubling; do
    timeout 20 "$cli" parse "$work/$file.txt" >"$work/out" 2>"$work/err"
    code=$? && [[ ($code == 0 || $code == 1) && (-s $work/out || -s $work/err) ]] || fail "$file: exit $code"; done

finish eval_parse
