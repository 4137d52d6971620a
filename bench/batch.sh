#!/usr/bin/env bash
# Measures fexpr against bc -l and /bin/true.
#
#   bench/batch.sh [fexpr binary] [lines] [runs]
#
# Step 1 streams a seeded file of mixed expression lines through standard input (the
# interactive mode) and through `bc -l`, alternating, and prints lines per second of each
# and their ratio (medians), then the peak memory at 10k, 100k and all lines. Step 2 times
# one expression per process against /bin/true and against a static C program that reads
# one number and prints it (floor_one_number.c), and a 16383-character data file, with
# hyperfine; streaming is also compared with floor_stream.c. Step 3 counts instructions with
# callgrind (per line over 20,000 lines, and the whole process of one expression), which does not depend on the machine's load. Needs bc,
# hyperfine and GNU time (apt-get install -y bc hyperfine time); valgrind for step 3.
set -euo pipefail

fexpr=$(realpath "${1:-build/fexpr}")
lines=${2:-1000000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/mixed_lines.sh" "$lines" > "$work/lines.txt"
# The floors: static C programs that do only the reading and printing.
for floor in floor_one_number floor_stream; do
    cc -O2 -static -o "$work/$floor" "$(dirname "$0")/$floor.c"
done

seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# paired_runs NAME1 COMMAND1 NAME2 COMMAND2: the two commands over the lines, alternating,
# $runs times each; the seconds of each run go to $work/NAME.t.
paired_runs() {
    : > "$work/$1.t"; : > "$work/$3.t"
    for _ in $(seq "$runs"); do
        seconds sh -c "$2 < \"$work/lines.txt\" > /dev/null" >> "$work/$1.t"
        seconds sh -c "$4 < \"$work/lines.txt\" > /dev/null" >> "$work/$3.t"
    done
}

echo "== batch: $lines lines through standard input, $runs paired runs"
paired_runs fexpr "\"$fexpr\"" bc "bc -l"
fexpr_rate=$(echo "$lines / $(median < "$work/fexpr.t")" | bc -l)
bc_rate=$(echo "$lines / $(median < "$work/bc.t")" | bc -l)
printf 'fexpr  %12.0f lines/s\nbc -l  %12.0f lines/s\nratio  %12.2f\n' \
    "$fexpr_rate" "$bc_rate" "$(echo "$fexpr_rate / $bc_rate" | bc -l)"
echo "== the same lines through the static C floor (floor_stream.c), $runs paired runs"
paired_runs fexpr "\"$fexpr\"" floor "\"$work/floor_stream\""
printf 'fexpr against the floor: %.2f times its speed\n' \
    "$(echo "$(median < "$work/floor.t") / $(median < "$work/fexpr.t")" | bc -l)"
if [ -x /usr/bin/time ]; then
    for program in "$fexpr 3000+2^10" "$work/floor_one_number 3000"; do
        /usr/bin/time -f "${program##*/}: %M KiB peak, %R page faults" $program > /dev/null
    done
fi
if [ -x /usr/bin/time ]; then
    for count in 10000 100000 "$lines"; do
        head -n "$count" "$work/lines.txt" > "$work/head.txt"
        /usr/bin/time -f "peak memory at $count lines: %M KiB" "$fexpr" < "$work/head.txt" > /dev/null
    done
fi

# Runs two commands with hyperfine in several rounds (each round runs both, so a change of
# the machine's load touches both alike) and prints the medians over the rounds of each
# command's median time and of the ratio of the two.
ratio() {
    local round
    for round in $(seq "${HYPERFINE_ROUNDS:-5}"); do
        # hyperfine's warnings about outliers go to a log, shown only when it fails.
        hyperfine -N --warmup 20 --runs "${HYPERFINE_RUNS:-200}" \
            --export-json "$work/round$round.json" "$1" "$2" > /dev/null 2> "$work/hyperfine.log" ||
            { cat "$work/hyperfine.log" >&2; exit 1; }
    done
    python3 - "$work"/round*.json <<'PYTHON'
import json, statistics, sys
rounds = [json.load(open(name))["results"] for name in sys.argv[1:]]
first = statistics.median(r[0]["median"] for r in rounds)
second = statistics.median(r[1]["median"] for r in rounds)
ratios = statistics.median(r[0]["median"] / r[1]["median"] for r in rounds)
print("%-50s %8.1f us" % (rounds[0][0]["command"], first * 1e6))
print("%-50s %8.1f us" % (rounds[0][1]["command"], second * 1e6))
print("ratio %.2f (median of %d rounds)" % (ratios, len(rounds)))
PYTHON
    rm -f "$work"/round*.json
}

if command -v hyperfine >/dev/null; then
    echo "== one expression per process"
    ratio "$fexpr 3000+2^10" "/bin/true"
    echo "== one expression per process against the static C floor (floor_one_number.c)"
    ratio "$fexpr 3000+2^10" "$work/floor_one_number 3000"
    echo "== a 16383-character data file"
    mkdir -p "$work/drive/Data"
    # One line "1+1+…+10" of 16382 characters and its newline.
    awk 'BEGIN { s = "1"; while (length(s) < 16381) s = s "+1"; printf "%s0\n", s }' \
        > "$work/drive/Data/data.txt"
    export FEXPR_DRIVE_C="$work/drive"
    # hyperfine -N splits the command like a shell, so the backslashes are quoted.
    ratio "$fexpr 'C:\\Data\\data.txt'" "/bin/true"
else
    echo "hyperfine is missing: apt-get install -y hyperfine"
fi

if command -v valgrind >/dev/null; then
    echo "== instructions (callgrind)"
    source "$(dirname "$0")/callgrind.sh"
    head -n 20000 "$work/lines.txt" > "$work/head.txt"
    per_run=$(instructions "$fexpr" < "$work/head.txt")
    echo "per line over 20000 lines: $((per_run / 20000))"
    echo "whole process of fexpr 3000+2^10: $(instructions "$fexpr" '3000+2^10')"
else
    echo "valgrind is missing: apt-get install -y valgrind"
fi
