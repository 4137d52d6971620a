#!/usr/bin/env bash
# Loads the bash completion of fexpr and checks its candidates, and that it offers exactly
# the switches that `fexpr --help` lists; then the fish completion beside it the same way.
# Usage: check_completion.sh COMPLETION FEXPR
set -u
completion=${1:?usage: check_completion.sh COMPLETION FEXPR}
program=$(realpath "${2:?usage: check_completion.sh COMPLETION FEXPR}")
# The fish completion beside the bash one.
fish_completion=$(realpath "$(dirname "$completion")/fexpr.fish")
# shellcheck source=/dev/null
source "$completion"

failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/numbers.csv" "$work/numbers.txt"
mkdir "$work/nested"
cd "$work" || exit 1

# The candidates for a command line with the cursor at its end, sorted, on one line.
candidates() {
    COMP_LINE=$1
    COMP_POINT=${#1}
    COMPREPLY=()
    _fexpr
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}

expect() {
    local got
    got=$(candidates "$1")
    if [ "$got" != "$2" ]; then
        printf 'for "%s"\n  expected: %s\n  got:      %s\n' "$1" "$2" "$got"
        failures=$((failures + 1))
    fi
}

all_suffixes=$(printf '%s\n' .{0..15} g{1..15} e{0..15} x x_ b o : | sort | paste -sd' ')
expect 'fexpr --' '-- --all --bits=16 --bits=32 --bits=64 --bits=8 --each --each=tsv --exact --explain --help --signed --sum --unsigned --version'
expect 'fexpr --e' '--each --each=tsv --exact --explain'
expect 'fexpr --each=' 'tsv'
expect 'fexpr --each=t' 'tsv'
expect 'fexpr 1' ''
expect 'fexpr --each ' "$all_suffixes"
expect 'fexpr --each=tsv x' 'x x_'
expect 'fexpr --each g1' 'g1 g10 g11 g12 g13 g14 g15'
expect 'fexpr --each .1 ' ''
expect 'fexpr --sum ' '- nested numbers.csv numbers.txt'
expect 'fexpr --sum num' 'numbers.csv numbers.txt'
expect 'fexpr --sum numbers.csv e1' 'e1 e10 e11 e12 e13 e14 e15'
expect 'fexpr --sum - ' "$all_suffixes"
expect 'fexpr --sum - x ' ''
expect 'fexpr --help ' ''
expect 'fexpr 255 ' "$all_suffixes"
expect 'fexpr 3k+2^10 x_' 'x_'
# The output switches stand before the rest and leave its completion as it was.
expect 'fexpr --bits=' '16 32 64 8'
expect 'fexpr --all --e' '--each --each=tsv --exact --explain'
expect 'fexpr --explain --sum ' '- nested numbers.csv numbers.txt'
expect 'fexpr --bits=8 --signed --each ' "$all_suffixes"
expect 'fexpr --all 255 ' "$all_suffixes"

# The switches that --help lists, a value in brackets spelled out (--each[=tsv] is --each and
# --each=tsv) and a choice of values one by one (--bits=8|16 is --bits=8 and --bits=16),
# must be what the completion offers.
offered=$(candidates 'fexpr --')
helped=$("$program" --help | awk '/^ --/ {
        word = $1
        if (match(word, /\[=[a-z]*\]$/)) {
            name = substr(word, 1, RSTART - 1)
            print name; print name "=" substr(word, RSTART + 2, RLENGTH - 3)
        } else if (index(word, "=") > 0) {
            name = substr(word, 1, index(word, "="))
            count = split(substr(word, index(word, "=") + 1), values, "|")
            for (i = 1; i <= count; i++) print name values[i]
        } else print word
    }' | sort | paste -sd' ')
if [ "$offered" != "$helped" ]; then
    printf 'switches: --help lists %s, the completion offers %s\n' "$helped" "$offered"
    failures=$((failures + 1))
fi
# The fish completion offers the same, where fish is there (under CI=true it must be).
if command -v fish >/dev/null; then
    fish_candidates() {
        fish --no-config -c "source '$fish_completion'; complete -C '$1'" | cut -f1 | sort |
            paste -sd' '
    }
    fish_expect() {
        local got
        got=$(fish_candidates "$1")
        if [ "$got" != "$2" ]; then
            printf 'fish, for "%s"\n  expected: %s\n  got:      %s\n' "$1" "$2" "$got"
            failures=$((failures + 1))
        fi
    }
    # fish shows candidates that begin with '.' only once the word does, as for hidden files.
    fish_suffixes=$(printf '%s\n' g{1..15} e{0..15} x x_ b o : | sort | paste -sd' ')
    fish_expect 'fexpr --' "$helped"
    fish_expect 'fexpr --e' '--each --each=tsv --exact --explain'
    fish_expect 'fexpr 1' ''
    fish_expect 'fexpr --each ' "$fish_suffixes"
    fish_expect 'fexpr --each .1' '.1 .10 .11 .12 .13 .14 .15'
    fish_expect 'fexpr --sum num' 'numbers.csv numbers.txt'
    fish_expect 'fexpr --sum numbers.csv e1' 'e1 e10 e11 e12 e13 e14 e15'
    fish_expect 'fexpr --help ' ''
    fish_expect 'fexpr 255 ' "$fish_suffixes"
    # After the output switches: the switches again, and the rest as without them.
    fish_expect 'fexpr --all --' "$helped"
    fish_expect 'fexpr --bits=8 --signed --each ' "$fish_suffixes"
    fish_expect 'fexpr --explain --sum num' 'numbers.csv numbers.txt'
    fish_expect 'fexpr --all 255 x' 'x x_'
elif [ "${CI:-}" = true ]; then
    echo "fish is missing"
    failures=$((failures + 1))
fi
exit $((failures > 0))
