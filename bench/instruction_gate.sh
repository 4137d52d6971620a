#!/usr/bin/env bash
# Counts instructions with callgrind, which does not depend on the machine's load, and fails
# when a count exceeds its budget in bench/instruction_budgets by more than 10%:
#
#   one_expression  the whole process of `fexpr 3000+2^10`
#   per_line        per line of bench/mixed_lines.sh's first 20,000 lines through standard
#                   input, less the start-up (the same process with empty input)
#
#   bench/instruction_gate.sh [fexpr binary]      # default build/fexpr; needs valgrind
set -euo pipefail
cd "$(dirname "$0")/.."
fexpr=$(realpath "${1:-build/fexpr}")
lines=20000
headroom_percent=10
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v valgrind >/dev/null || { echo "instruction gate: valgrind is missing" >&2; exit 1; }

source bench/callgrind.sh

bench/mixed_lines.sh "$lines" > "$work/lines.txt"
one_expression=$(instructions "$fexpr" '3000+2^10' < /dev/null)
empty=$(instructions "$fexpr" < /dev/null)
streamed=$(instructions "$fexpr" < "$work/lines.txt")
per_line=$(((streamed - empty) / lines))

status=0
check() {
    local name=$1 count=$2 budget limit
    budget=$(awk -v name="$name" '$1 == name { print $2 }' bench/instruction_budgets)
    [ -n "$budget" ] || { echo "instruction gate: no budget for $name" >&2; exit 1; }
    limit=$((budget + budget * headroom_percent / 100))
    if [ "$count" -le "$limit" ]; then
        printf '%-15s %9d instructions, budget %d (limit %d): ok\n' "$name" "$count" "$budget" "$limit"
    else
        printf '%-15s %9d instructions, budget %d (limit %d): OVER by %d%%\n' "$name" "$count" \
            "$budget" "$limit" $(((count - budget) * 100 / budget))
        status=1
    fi
}
check one_expression "$one_expression"
check per_line "$per_line"
exit "$status"
