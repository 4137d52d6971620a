#!/usr/bin/env python3
"""Runs two fexpr binaries on the same seeded random expressions and compares every byte.

    scripts/compare_builds.py OLD_BINARY NEW_BINARY [expressions] [seed] [lines]

Each expression is run on the command line with no suffix and with every layout suffix, a
share of them with a leading ',' or '_' (digit groups), through "/f" (the result file), and
in batches through standard input (the interactive mode); a share of runs go through the
data file. Standard output, standard error, the exit status and the result file must be the
same for both binaries; a run whose first parameter is a --word that the old binary read as
an expression and the new one as a switch is counted apart. Then `lines` more expressions
(default 0), built the same way with some extra pieces for the pre-pass (signs, blanks and
'x' beside unit letters, radix literals and names), each with a random layout suffix, go
through "--each=tsv" in files of 100,000 lines, one process per file; that makes counts in
the millions affordable. Prints the counts and the first differences; exits 1 on any.
"""
import os
import random
import re
import subprocess
import sys
import tempfile

LAYOUTS = ["", ".0", ".3", ".15", "g1", "g7", "g15", "e0", "e4", "e15", "x", "x_", "b", "o",
           ":", "X", "B", "O", ".16", "e16", "g0"]
ATOMS = ["0", "1", "7", "42", "3.25", "0.001", "1e3", "2.5e-7", "1e308", "1e-320", "9" * 20,
         "0x1f", "0xFFFFFFFFFFFFFFFF", "0b1011", "0o17", "0x", "Pi", "pi", "1k", "2K", "3m",
         "1.5M", "4g", "2G", "1t", "1T", "1p", "1P", "+INF", "-NAN", "12:30", "1:02:03.5",
         "shiftll000701", "shiftrl00l0804", "shiftar0615", "shiftlr0063"]
FUNCTIONS = ["sin", "cos", "tan", "sqrt", "arcsin", "arccos", "arctan", "lg", "ln", "exp",
             "ceil", "floor", "round", "sign", "abs", "d2r", "r2d", "shiftll000701",
             "shiftrr0007", "shiftal0308", "shiftxx0101", "sinh", "Sin", "ABS"]
OPERATORS = ["+", "-", "*", "/", "%", "^", "&", "|", "@", "{", "}", ":", "x", " ", ""]
NOISE = ["(", ")", "#", ",", "_", " ", "\t", "k", "e", ".", "--", "()", "((", "))"]
# Pieces of the "--each" comparison only, so the seeded sequence above stays as it was.
EXTRA_ATOMS = ["1+2k", "1 + 2k", "2*-3k", "1,000k", "1,000", "1 000", "2 x 3", "2x3", "Pi x 2",
               "Pix2", "2kx3", "0x1k", "0x1Fk", "0b1k", "0o7k", "0xk", "+INFk", "-NANk", ".5k",
               "5.k", "1.2.3k", "1e3k", "1ek", "2tan0", "2Pi", "2pi", "sqrt 16", "s in0",
               "(2)K", "(2)t", "(2)tan(0)", "(2)sqrt4", "3K(2)", "KK", "Tan0", "TAN0", "t",
               "10x3", "1.0x5", "x2", "2x", "0x10", "(0x10)", "2*0x10", "1e5k", "12:30k",
               "\t2k", " 2 k", "2\tk", "1k1k", "2kk", "pik", "Pk", "ptan0", "1+-2k", "- 2k"]


def expression(rng, depth=0):
    kind = rng.random()
    if depth > 4 or kind < 0.35:
        text = rng.choice(ATOMS)
    elif kind < 0.55:
        text = rng.choice(FUNCTIONS) + "(" + expression(rng, depth + 1) + ")"
    elif kind < 0.65:
        text = "(" + expression(rng, depth + 1) + ")"
    elif kind < 0.72:
        text = rng.choice("+-") + expression(rng, depth + 1)
    else:
        text = expression(rng, depth + 1) + rng.choice(OPERATORS) + expression(rng, depth + 1)
    if rng.random() < 0.03:
        position = rng.randrange(len(text) + 1)
        text = text[:position] + rng.choice(NOISE) + text[position:]
    return text


def each_line(rng):
    text = expression(rng)
    if rng.random() < 0.3:
        position = rng.randrange(len(text) + 1)
        text = text[:position] + rng.choice(EXTRA_ATOMS) + rng.choice(OPERATORS) + text[position:]
    if rng.random() < 0.1:
        text = rng.choice(",_ ") + text
    return text + (" " + rng.choice(LAYOUTS) if rng.random() < 0.5 else "")


def compare_each(old, new, lines, rng, drive):
    """Compares the binaries over `lines` expressions through --each=tsv; returns the
    number of files that differed."""
    differences = 0
    done = 0
    while done < lines:
        count = min(100000, lines - done)
        text = ("\n".join(each_line(rng) for _ in range(count)) + "\n").encode()
        first = run(old, ["--each=tsv"], drive, text)
        second = run(new, ["--each=tsv"], drive, text)
        if first != second:
            differences += 1
            old_lines, new_lines = first[1].split(b"\n"), second[1].split(b"\n")
            inputs = text.split(b"\n")
            for index, (a, b) in enumerate(zip(old_lines, new_lines)):
                if a != b:
                    print("DIFFERENT line:", repr(inputs[index]), "old:", repr(a), "new:", repr(b))
                    break
            else:
                print("DIFFERENT outside standard output:", repr(first)[:300], repr(second)[:300])
        done += count
    return differences


def run(binary, arguments, drive, stdin=b""):
    result_file = os.path.join(drive, "Program Files", "Calculator", "result.txt")
    if os.path.exists(result_file):
        os.remove(result_file)
    completed = subprocess.run([binary] + arguments, input=stdin, capture_output=True,
                               env={"FEXPR_DRIVE_C": drive, "PATH": "/usr/bin:/bin"},
                               timeout=600)
    written = b""
    if os.path.exists(result_file):
        with open(result_file, "rb") as handle:
            written = handle.read()
    return completed.returncode, completed.stdout, completed.stderr, written


def switch_word(arguments, first, second):
    """A first parameter --word that an older build read as a faulty expression and this
    one as a switch (status 64): the one difference a build from before the switches has."""
    return (bool(arguments) and re.match(r"--[A-Za-z0-9]", arguments[0]) is not None
            and first[0] != 0 and second[0] == 64)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    old, new = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 20261209
    each_lines = int(sys.argv[5]) if len(sys.argv) > 5 else 0
    rng = random.Random(seed)
    drive = tempfile.mkdtemp(prefix="fexpr-compare-")
    os.makedirs(os.path.join(drive, "Program Files", "Calculator"))
    os.makedirs(os.path.join(drive, "Data"))
    data_file = os.path.join(drive, "Data", "data.txt")
    runs = differences = switch_words = 0
    batch = []

    def compare(arguments, stdin=b""):
        nonlocal runs, differences, switch_words
        runs += 1
        first, second = run(old, arguments, drive, stdin), run(new, arguments, drive, stdin)
        if first != second and switch_word(arguments, first, second):
            switch_words += 1
        elif first != second:
            differences += 1
            if differences <= 10:
                print("DIFFERENT:", repr(arguments), repr(stdin[:200]))
                print("  old:", repr(first)[:400])
                print("  new:", repr(second)[:400])

    for _ in range(count):
        text = expression(rng)
        if rng.random() < 0.1:
            text = rng.choice(",_") + text
        for layout in LAYOUTS:
            compare([text, layout] if layout else [text])
        if rng.random() < 0.05:
            compare(["/f", text, rng.choice(LAYOUTS) or "x"])
        if rng.random() < 0.05:
            pieces = [text[i:i + 3] for i in range(0, len(text), 3)] or [""]
            compare(pieces + [rng.choice(LAYOUTS)])
        if rng.random() < 0.05:
            with open(data_file, "wb") as handle:
                lines = [expression(rng) for _ in range(rng.randrange(1, 5))]
                if rng.random() < 0.3:
                    lines = ["%d:%02d" % (rng.randrange(24), rng.randrange(60)) for _ in lines]
                handle.write(("\n".join(lines) + "\n").encode())
            compare(["C:\\Data\\data.txt"])
        batch.append(text + (" " + rng.choice(LAYOUTS) if rng.random() < 0.5 else ""))
        if len(batch) == 20:
            compare([], ("\n".join(batch) + "\n").encode())
            batch = []
    print("%d runs of each binary, %d expressions (seed %d), %d differences"
          % (runs, count, seed, differences))
    if switch_words:
        print("%d runs whose first parameter --word is a switch now (status 64, was a fault)"
              % switch_words)
    if each_lines > 0:
        files = compare_each(old, new, each_lines, rng, drive)
        print("%d lines through --each=tsv, %d files with differences" % (each_lines, files))
        differences += files
    sys.exit(1 if differences else 0)


if __name__ == "__main__":
    main()
