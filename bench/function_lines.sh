#!/bin/sh
# Prints the benchmarks' seeded file of function lines: every line calls one of sin, cos, tan,
# arcsin, arccos, arctan, ln, lg, exp and ^ (in turn) on a random argument inside its range,
# so that the time of a stream through `fexpr --each` is mostly the functions' own.
#
#   bench/function_lines.sh [lines]      # default 100000
set -eu
awk -v n="${1:-100000}" 'BEGIN {
    srand(20261210)
    for (i = 0; i < n; i++) {
        u = rand(); v = rand()
        k = i % 10
        if (k == 0) printf "sin(%.17g)\n", (u - 0.5) * 2e4
        else if (k == 1) printf "cos(%.17g)\n", (u - 0.5) * 2e4
        else if (k == 2) printf "tan(%.17g)\n", (u - 0.5) * 2e4
        else if (k == 3) printf "arcsin(%.17g)\n", u * 2 - 1
        else if (k == 4) printf "arccos(%.17g)\n", u * 2 - 1
        else if (k == 5) printf "arctan(%.17g)\n", (u - 0.5) * 200
        else if (k == 6) printf "ln(%.17g)\n", u * 10 ^ int(v * 40)
        else if (k == 7) printf "lg(%.17g)\n", u * 10 ^ int(v * 40)
        else if (k == 8) printf "exp(%.17g)\n", (u - 0.5) * 1400
        else printf "%.17g^(%.17g)\n", u * 10, (v - 0.5) * 60
    }
}'
