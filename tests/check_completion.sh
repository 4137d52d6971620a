#!/usr/bin/env bash
# Runs one shell's completion of fexpr and checks its candidates: a table of command lines
# and what the completion must offer for each; the switches and the suffixes against those
# `fexpr --help` lists; and every output switch, found by running fexpr, before the rest,
# which must then complete as without it. A shell that is not installed skips the test
# (a failure under CI=true).
# Usage: check_completion.sh bash|zsh|fish COMPLETIONS_FOLDER FEXPR
set -u
usage="usage: check_completion.sh bash|zsh|fish COMPLETIONS_FOLDER FEXPR"
shell=${1:?$usage}
folder=$(realpath "${2:?$usage}")
program=$(realpath "${3:?$usage}")
tests=$(cd "$(dirname "$0")" && pwd)

. "$tests/cannot_run.sh"
command -v "$shell" >/dev/null || cannot_run "$shell is not installed: its completion not checked"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/numbers.csv" "$work/numbers.txt"
mkdir "$work/nested"
cd "$work" || exit 1

# The candidates for a command line with the cursor at its end, on one line (zsh answers
# every line at once, in one shell, below).
case $shell in
bash)
    # shellcheck source=/dev/null
    source "$folder/fexpr.bash"
    candidates() {
        COMP_LINE=$1
        COMP_POINT=${#1}
        COMPREPLY=()
        _fexpr
        printf '%s\n' "${COMPREPLY[@]}" | paste -sd' '
    }
    ;;
zsh) ;;
fish)
    candidates() {
        fish --no-config -c "source '$folder/fexpr.fish'; complete -C '$1'" | cut -f1 |
            paste -sd' '
    }
    ;;
*)
    echo "$usage"
    exit 2
    ;;
esac

# The command lines and what each must offer, sorted; checked at the end.
failures=0
lines=()
wanted=()
expect() {
    lines+=("$1")
    wanted+=("$2")
}

help_text=$("$program" --help)
# The switches that --help lists, a value in brackets spelled out (--each[=tsv] is --each and
# --each=tsv) and a choice of values one by one (--bits=8|16 is --bits=8 and --bits=16).
switches=$(awk '/^ --/ {
        word = $1
        if (match(word, /\[=[a-z]*\]$/)) {
            name = substr(word, 1, RSTART - 1)
            print name; print name "=" substr(word, RSTART + 2, RLENGTH - 3)
        } else if (index(word, "=") > 0) {
            name = substr(word, 1, index(word, "="))
            count = split(substr(word, index(word, "=") + 1), values, "|")
            for (i = 1; i <= count; i++) print name values[i]
        } else print word
    }' <<<"$help_text" | sort | paste -sd' ')
# The suffixes that --help lists under "The last parameter format:", a range such as .0-.15
# or g1-g15 spelled out.
suffixes=$(awk '/^The last parameter format:/ { inside = 1; next }
    inside && !/^ / { inside = 0 }
    inside {
        word = $1
        if (match(word, /^[^0-9]*[0-9]+-[^0-9]*[0-9]+$/)) {
            split(word, range, "-")
            letters = range[1]; sub(/[0-9]+$/, "", letters)
            first = substr(range[1], length(letters) + 1)
            last = range[2]; sub(/^[^0-9]*/, "", last)
            for (i = first + 0; i <= last + 0; i++) print letters i
        } else print word
    }' <<<"$help_text" | sort | paste -sd' ')
[ "$(wc -w <<<"$suffixes")" -eq 52 ] || {
    echo "the suffixes of --help were not found: $suffixes"
    exit 1
}
# Where the word is empty, fish shows candidates that begin with '.' only once the word does,
# as for hidden files.
offered_suffixes=$suffixes
[ "$shell" = fish ] && offered_suffixes=$(tr ' ' '\n' <<<"$suffixes" | grep -v '^\.' | paste -sd' ')

expect 'fexpr --' "$switches"
expect 'fexpr --e' '--each --each=tsv --exact --explain'
expect 'fexpr 1' ''
expect 'fexpr --each ' "$offered_suffixes"
expect 'fexpr --each .1' '.1 .10 .11 .12 .13 .14 .15'
expect 'fexpr --each=tsv x' 'x x_'
expect 'fexpr --each g1' 'g1 g10 g11 g12 g13 g14 g15'
expect 'fexpr --each .1 ' ''
expect 'fexpr --sum num' 'numbers.csv numbers.txt'
expect 'fexpr --sum numbers.csv e1' 'e1 e10 e11 e12 e13 e14 e15'
expect 'fexpr --sum - ' "$offered_suffixes"
expect 'fexpr --sum - x ' ''
expect 'fexpr --help ' ''
expect 'fexpr --version ' ''
expect 'fexpr 255 ' "$offered_suffixes"
expect 'fexpr 3k+2^10 x_' 'x_'
expect 'fexpr --bits=8 --signed --each ' "$offered_suffixes"
expect 'fexpr --explain --sum num' 'numbers.csv numbers.txt'
expect 'fexpr --all 255 x' 'x x_'
case $shell in
bash)
    # bash replaces only the part after the last '=' or ':'.
    expect 'fexpr --each=' 'tsv'
    expect 'fexpr --bits=' '16 32 64 8'
    expect 'fexpr --sum ' '- nested numbers.csv numbers.txt'
    ;;
zsh)
    expect 'fexpr --each=' '--each=tsv'
    expect 'fexpr --sum ' '- nested numbers.csv numbers.txt'
    ;;
fish)
    expect 'fexpr --each=' '--each=tsv'
    expect 'fexpr --sum nes' 'nested/'
    ;;
esac

# Every switch of --help: an output switch (one with which `fexpr SWITCH 1+2` succeeds) may
# stand before everything else, and after it the switches and the rest complete as without
# it; after a mode switch no switch follows.
output_switches=0
for switch in $switches; do
    [ "$switch" = -- ] && continue
    if "$program" "$switch" 1+2 </dev/null >/dev/null 2>&1; then
        output_switches=$((output_switches + 1))
        expect "fexpr $switch --e" '--each --each=tsv --exact --explain'
        expect "fexpr $switch 255 x" 'x x_'
        expect "fexpr $switch --sum num" 'numbers.csv numbers.txt'
    else
        expect "fexpr $switch --" ''
    fi
done
[ "$output_switches" -ge 6 ] || {
    echo "only $output_switches output switches found in: $switches"
    failures=$((failures + 1))
}
if [ "$shell" = zsh ]; then
    mapfile -t offered < <(zsh -f "$tests/zsh_candidates.zsh" "$folder" "${lines[@]}")
else
    offered=()
    for line in "${lines[@]}"; do offered+=("$(candidates "$line")"); done
fi
for i in "${!lines[@]}"; do
    got=$(tr ' ' '\n' <<<"${offered[i]:-}" | sed '/^$/d' | sort | paste -sd' ')
    if [ "$got" != "${wanted[i]}" ]; then
        printf '%s, for "%s"\n  expected: %s\n  got:      %s\n' "$shell" "${lines[i]}" \
            "${wanted[i]}" "$got"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "$shell completion: ${#lines[@]} command lines as expected"
exit $((failures > 0))
