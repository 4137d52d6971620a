#!/usr/bin/env bash
# Adds up a column of numbers with fexpr --sum, awk and paste | bc.
#
#   bench/sum.sh [fexpr binary] [numbers] [runs]     # defaults: build/fexpr 1000000 5
#
# The column is seeded: integers and decimals with up to six decimals, positive and
# negative, one a line. Each round runs the three commands one after the other, so a change
# of the machine's load touches them alike; the medians of the rounds are printed with the
# three sums (awk prints "%.6g" unless told otherwise, so it is given "%.15g" here) and, with
# GNU time, the peak memory of each. Needs awk, bc and paste; /usr/bin/time for the memory.
set -euo pipefail

fexpr=$(realpath "${1:-build/fexpr}")
numbers=${2:-1000000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v n="$numbers" 'BEGIN {
    srand(20261209)
    for (i = 0; i < n; i++) {
        v = int(rand() * 2000000) - 1000000
        if (i % 2) printf "%d.%06d\n", v, int(rand() * 1000000)
        else print v
    }
}' > "$work/numbers.txt"

seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

commands=(
    "\"$fexpr\" --sum \"$work/numbers.txt\""
    "awk '{s+=\$1} END {printf \"%.15g\\n\", s}' \"$work/numbers.txt\""
    "paste -sd+ \"$work/numbers.txt\" | bc"
)
names=("fexpr --sum" "awk" "paste | bc")

echo "== sum of $numbers numbers, $runs rounds, medians"
for index in "${!commands[@]}"; do : > "$work/$index.t"; done
for _ in $(seq "$runs"); do
    for index in "${!commands[@]}"; do
        seconds sh -c "${commands[$index]} > /dev/null" >> "$work/$index.t"
    done
done
for index in "${!commands[@]}"; do
    sum=$(sh -c "${commands[$index]}")
    memory=""
    if [ -x /usr/bin/time ]; then
        memory=$(/usr/bin/time -f '%M' sh -c "${commands[$index]} > /dev/null" 2>&1 | tail -1)
        memory="  peak ${memory} KiB"
    fi
    printf '%-12s %8.3f s  %12.0f lines/s  sum %s%s\n' "${names[$index]}" \
        "$(median < "$work/$index.t")" "$(echo "$numbers / $(median < "$work/$index.t")" | bc -l)" \
        "$sum" "$memory"
done
