#!/usr/bin/env bash
# Counts with callgrind the instructions per character of each shape of expression: lines
# of one piece repeated, joined by '+', about 60 characters each, through standard input
# (less the start-up, the same process with empty input). Every character of a line counts,
# its newline included, so the figures take in reading the line and printing the result.
#
#   bench/shape_costs.sh [fexpr binary] [lines]      # defaults: build/fexpr 2000
set -euo pipefail
cd "$(dirname "$0")/.."
fexpr=$(realpath "${1:-build/fexpr}")
lines=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v valgrind >/dev/null || { echo "shape costs: valgrind is missing" >&2; exit 1; }

source bench/callgrind.sh

# name and piece; the plain numbers first, as the others are compared with them.
shapes=(
    "plain 857.6"
    "pi Pi"
    "function sqrt4"
    "unit 1k"
    "radix 0x1F"
    "group (7)"
    "mixed (2K-Pi)*sin0x1"
)
empty=$(instructions "$fexpr" < /dev/null)
plain=0
for shape in "${shapes[@]}"; do
    name=${shape%% *}
    piece=${shape#* }
    awk -v piece="$piece" -v n="$lines" 'BEGIN {
        line = piece
        while (length(line) + length(piece) + 1 <= 60) line = line "+" piece
        for (i = 0; i < n; i++) print line
    }' > "$work/lines.txt"
    characters=$(wc -c < "$work/lines.txt")
    count=$(instructions "$fexpr" < "$work/lines.txt")
    # The cost and the ratio are taken unrounded, so that a ratio near a limit reads true.
    per_character=$(awk -v c="$count" -v e="$empty" -v n="$characters" 'BEGIN { print (c - e) / n }')
    [ "$plain" != 0 ] || plain=$per_character
    awk -v name="$name" -v piece="$piece" -v cost="$per_character" -v plain="$plain" \
        'BEGIN { printf "%-9s %-14s %6.1f instructions per character, %.2fx plain\n",
                 name, piece, cost, cost / plain }'
done
