#!/usr/bin/env bash
# Rebuilds the seed corpora of the fuzz targets from the string literals of the test tables,
# plus a few hand-made seeds. Files are named by the SHA-1 of their contents, so running it
# again adds nothing twice. Inputs that once crashed or hung stay under their own names
# (regression-*) and are never removed by this script.
set -euo pipefail
cd "$(dirname "$0")/.."

# The first string literal of every table row: {"text", ...
literals() {
    grep -ohE '\{"([^"\\]|\\.)*",' "$@" | sed -E 's/^\{"(.*)",$/\1/'
}

# Writes stdin to corpus folder $1 under the SHA-1 of the contents.
store() {
    local scratch
    scratch=$(mktemp)
    cat >"$scratch"
    mv "$scratch" "$1/$(sha1sum <"$scratch" | cut -c1-40)"
}

mkdir -p fuzz/corpus/expression fuzz/corpus/suffix fuzz/corpus/numbers

# Expressions: the first byte chooses the layout (byte % 9) and precision ((byte / 9) % 16);
# the bytes 54 to 62 ('6' to '>') are the nine layouts with precision 6. The layout follows
# from the text's length, so a text keeps its layout when the script runs again.
selectors='6789:;<=>'
while IFS= read -r text; do
    selector=${selectors:$((${#text} % 9)):1}
    printf '%s%b' "$selector" "$text" | store fuzz/corpus/expression
done < <(literals tests/engine_*_test.cpp tests/format_suffix_test.cpp)
for text in "$(printf '(%.0s' {1..200})1" "$(printf '1k%.0s' {1..200})" \
    'shiftll000701(13)' 'shiftar0l6464(-1)' 'shiftrl6263(0x8000000000000001)' \
    '0x1k' '0b11k' '0o17K' '0xFFFFFFFFFFFFFFFFF' '1e999999999' 'sinsqrt(-1)^0.5' \
    ',1234567.125' '_0x10+0b1' '1:2:3.5' '(-15)}2{1@3|4&5%6' 'arcsin2+ln0+lg-1'; do
    printf '6%s' "$text" | store fuzz/corpus/expression
    printf ';%s' "$text" | store fuzz/corpus/expression
done

# --explain: the texts of the reading table behind the first byte 208 (from 200 to 239 the
# reading is recorded, shown and read again).
while IFS= read -r text; do
    printf '\xd0%b' "$text" | store fuzz/corpus/expression
done < <(literals tests/engine_reading_test.cpp)

# Suffixes: the text alone, and followed by a NUL and a value's eight bytes (little endian):
# -1, 2^63, a NaN, 1e300, 0.5 and 90061.5 (a duration of one day, one hour, one minute).
values=('\x00\x00\x00\x00\x00\x00\xf0\xbf' '\x00\x00\x00\x00\x00\x00\xe0\x43'
        '\x00\x00\x00\x00\x00\x00\xf8\x7f' '\x9c\x75\x00\x88\x3c\xe4\x37\x7e'
        '\x00\x00\x00\x00\x00\x00\xe0\x3f' '\x00\x00\x00\x00\xd0\xfb\xf5\x40')
index=0
while IFS= read -r text; do
    printf '%b' "$text" | store fuzz/corpus/suffix
    printf '%b\0%b' "$text" "${values[$((index % 6))]}" | store fuzz/corpus/suffix
    index=$((index + 1))
done < <(literals tests/format_suffix_test.cpp
         printf '%s\n' .0 .15 g1 g15 e0 e15 x x_ X_ b B o O :)

# Number texts: the scan tables' texts; their first eight bytes double as a value.
while IFS= read -r text; do
    printf '%b' "$text" | store fuzz/corpus/numbers
done < <(literals tests/numeric_*_test.cpp)
for value in "${values[@]}"; do printf '%b' "$value" | store fuzz/corpus/numbers; done

# Completion: the lines of the completion table, each taken at every cut by the target.
mkdir -p fuzz/corpus/completion
while IFS= read -r text; do
    printf '%b' "$text" | store fuzz/corpus/completion
done < <(literals tests/driver_completion_test.cpp)

for folder in expression suffix numbers completion; do
    echo "fuzz/corpus/$folder: $(find "fuzz/corpus/$folder" -type f | wc -l) files"
done

# Lines: the first byte chooses --each (even) or --sum (odd), tsv (bit 1) and the mode's suffix
# ((byte >> 2) % 9: none, .2, x, b, :, g3, e2, x_, o); the rest is the input.
mkdir -p fuzz/corpus/lines
for selector in '\x00' '\x02' '\x01' '\x05' '\x08' '\x12' '\x11'; do
    for text in '1+2\n2^3^2\n\n255 x\n1+\n' '12.50\n3*4\n0x10\n' '08:30:15\n12:02:40\n17:45:00\n' \
        '1\r\n2\x1a3\n' ',1000\n2000\n' '\n2\n3' 'sqrt(0-1)\n2^60 x\n1 .3\n' \
        '1\n' "$(printf '1%.0s' {1..16390})\\n2\\n"; do
        printf "$selector$text" | store fuzz/corpus/lines
    done
done
