#!/bin/sh
# Prints the benchmarks' seeded file of mixed expression lines: decimals, + - * /,
# parentheses, ^2 and ^3, in four shapes that repeat; no letters and no unary minus, so that
# bc -l reads every line the same way.
#
#   bench/mixed_lines.sh [lines]      # default 1000000
set -eu
awk -v n="${1:-1000000}" 'BEGIN {
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
}'
