#!/usr/bin/env bash
# Measures fexpr against bc -l and /bin/true.
#
#   bench/batch.sh [fexpr binary] [lines] [runs]
#
# Part 1 streams a seeded file of mixed expression lines through standard input (the
# interactive mode) and through `bc -l`, alternating, and prints lines per second of each
# and their ratio (medians). Part 2 times one expression per process and a 16383-character
# data file against /bin/true with hyperfine. Needs bc, hyperfine and GNU time
# (apt-get install -y bc hyperfine time).
set -euo pipefail

fexpr=$(realpath "${1:-build/fexpr}")
lines=${2:-1000000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Decimals, + - * /, parentheses, ^2 and ^3; no letters and no unary minus, so that bc -l
# reads every line the same way.
awk -v n="$lines" 'BEGIN {
    srand(20261208)
    for (i = 0; i < n; i++) {
        a = int(rand() * 1000) "." int(rand() * 100); b = int(rand() * 100) + 1
        c = int(rand() * 50) "." int(rand() * 10); d = int(rand() * 9) + 1
        k = i % 4
        if (k == 0) print a "+" b "*" c
        else if (k == 1) print "(" a "-" c ")/" b
        else if (k == 2) print c "^2+" d "^3-" b
        else print "(" a "+" b ")*(" c "-" d ")/" b "+" a "/" d
    }
}' > "$work/lines.txt"

seconds() { local start end; start=$(date +%s.%N); "$@"; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "== batch: $lines lines through standard input, $runs paired runs"
: > "$work/fexpr.t"; : > "$work/bc.t"
for _ in $(seq "$runs"); do
    seconds sh -c "\"$fexpr\" < \"$work/lines.txt\" > /dev/null" >> "$work/fexpr.t"
    seconds sh -c "bc -l < \"$work/lines.txt\" > /dev/null" >> "$work/bc.t"
done
fexpr_rate=$(echo "$lines / $(median < "$work/fexpr.t")" | bc -l)
bc_rate=$(echo "$lines / $(median < "$work/bc.t")" | bc -l)
printf 'fexpr  %12.0f lines/s\nbc -l  %12.0f lines/s\nratio  %12.2f\n' \
    "$fexpr_rate" "$bc_rate" "$(echo "$fexpr_rate / $bc_rate" | bc -l)"
if command -v /usr/bin/time >/dev/null; then
    /usr/bin/time -f 'peak memory %M KiB' "$fexpr" < "$work/lines.txt" > /dev/null
fi

ratio() {  # ratio of the mean times of two hyperfine commands
    hyperfine -N --warmup 50 --runs "${HYPERFINE_RUNS:-500}" --export-json "$work/h.json" "$1" "$2" > /dev/null
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"]; print("%-40s %8.1f us\n%-40s %8.1f us\nratio %.2f" % (r[0]["command"], r[0]["median"]*1e6, r[1]["command"], r[1]["median"]*1e6, r[0]["median"]/r[1]["median"]))' "$work/h.json"
}

if command -v hyperfine >/dev/null; then
    echo "== one expression per process"
    ratio "$fexpr 3000+2^10" "/bin/true"
    echo "== a 16383-character data file"
    mkdir -p "$work/drive/Data"
    awk 'BEGIN { s = "1"; while (length(s) < 16370) s = s "+1"; print s }' > "$work/drive/Data/data.txt"
    export FEXPR_DRIVE_C="$work/drive"
    ratio "$fexpr C:\\Data\\data.txt" "/bin/true"
else
    echo "hyperfine is missing: apt-get install -y hyperfine"
fi
