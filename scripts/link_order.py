#!/usr/bin/env python3
"""Writes the order in which the linker places fexpr's code and data, hot first.

    scripts/link_order.py [fexpr binary] [output]    # defaults build/fexpr, cmake/link_order.txt
    scripts/link_order.py --check [fexpr binary] [order file]

With --check it writes nothing: it lists fexpr's own functions that the traced runs reach and
the order file does not name (new or renamed since it was written), and fexpr's own names in
the order file that the binary no longer holds, and fails when there are any. The C library's
names are not checked: which of them a run reaches, and which exist, change with the library's
version and the processor (its string functions and cache set-up differ by maker). .ci/run
runs the check on the Release build.

A process that evaluates one expression reaches a few dozen kilobytes of a binary over a
megabyte large. The kernel maps program text 64 KiB at a time around each page fault, and gives
every written page of .data and .bss a fault of its own, so where those few kilobytes lie
decides the start-up's page faults and its peak memory. This script runs the binary on a few
one-expression invocations and lists, in the order of first use:

  * every function that runs, found natively by single-stepping the process with ptrace (so
    the C library's start-up takes its real path, the vDSO's set-up included), and the other
    processors' variants of the string functions among them;
  * every object of .rodata, .data and .bss that is read or written, found with valgrind's
    lackey tool, the small objects before those of a page or more, so that the small ones and
    the first page of each large buffer share as few pages as they can.

The linker (lld's --symbol-ordering-file, see CMakeLists.txt) places these first in their
output sections and the rest after them in its usual order. A name that is no longer in the
binary is skipped silently, so a renamed function costs at most a page fault until this script
runs again; run it after changes to what one expression runs, on a Release build.
"""
import bisect
import ctypes
import os
import re
import subprocess
import sys
import tempfile

# The invocations whose code and data go first, the first one first: one expression as
# bench/instruction_gate.sh measures it, then the other layouts, functions, a fault and
# standard input.
RUNS = [
    (["3000+2^10"], ""),
    (["3k+2^10", "x_"], ""),
    ([",1234567.891"], ""),
    (["Pi", ".4"], ""),
    (["90061.5", ":"], ""),
    (["1/2K", "e4"], ""),
    (["sin(1)+sqrt(2)*ln(3)-arctan(1)/exp(1)"], ""),
    (["2^3^2"], ""),
    ([], "1+1\n"),
]
PAGE = 4096

def read_symbols(binary):
    """The defined symbols of `binary` with a size, as (address, size, kind, name), by address."""
    listing = subprocess.run(["nm", "-S", "-n", binary], capture_output=True, text=True,
                             check=True).stdout
    return parse_symbols(listing)


def parse_symbols(listing):
    """Reads `nm -S -n`. A function without a size (the start-up files' frame_dummy, say)
    reaches to the next symbol; other symbols without a size, and labels the linker puts on
    a sized function's address, are left out."""
    symbols = []
    unsized = []
    addresses = set()
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 4 and int(fields[1], 16) > 0:
            symbols.append((int(fields[0], 16), int(fields[1], 16), fields[2], fields[3]))
        elif len(fields) == 3 and fields[1] in "tT":
            unsized.append((int(fields[0], 16), fields[1], fields[2]))
        if len(fields) in (3, 4):
            addresses.add(int(fields[0], 16))
    ordered = sorted(addresses)
    sized = {symbol[0] for symbol in symbols}
    for address, kind, name in unsized:
        if address in sized:
            continue
        following = bisect.bisect_right(ordered, address)
        if following < len(ordered):
            symbols.append((address, ordered[following] - address, kind, name))
    symbols.sort()
    return symbols


class SymbolTable:
    """Finds every symbol whose extent holds an address (aliases share one extent)."""

    def __init__(self, symbols):
        self.symbols = symbols
        self.starts = [symbol[0] for symbol in symbols]
        self.widest = max((symbol[1] for symbol in symbols), default=0)
        self.cache = {}

    def covering(self, address):
        if address not in self.cache:
            self.cache[address] = self.search(address)
        return self.cache[address]

    def search(self, address):
        found = []
        index = bisect.bisect_right(self.starts, address) - 1
        while index >= 0 and self.starts[index] + self.widest > address:
            start, size = self.symbols[index][0], self.symbols[index][1]
            if start <= address < start + size:
                found.append(self.symbols[index])
            index -= 1
        return sorted(found, key=lambda symbol: symbol[3])


def first_uses(table, addresses):
    """The symbols the addresses fall in, each once, in the order of their first address."""
    seen = set()
    ordered = []
    for address in addresses:
        for symbol in table.covering(address):
            if symbol[3] not in seen:
                seen.add(symbol[3])
                ordered.append(symbol)
    return ordered


def is_code(symbol):
    return symbol[2] in "tTwW"


# The C library picks one variant of each string function for the processor at start-up
# (__strlen_avx2, __strlen_evex, __strlen_sse2, ...); the traced run finds this machine's.
VARIANT = re.compile(r"^(__\w+?)_(?:sse|ssse3|avx|evex|erms)")


def variant_siblings(code, symbols):
    """The other processors' variants of the string functions in `code`, by name, so that
    they too lie beside the hot code on a machine that picks them."""
    families = {VARIANT.match(symbol[3]).group(1) for symbol in code
                if VARIANT.match(symbol[3])}
    taken = {symbol[3] for symbol in code}
    siblings = {symbol for symbol in symbols if is_code(symbol) and symbol[3] not in taken
                and VARIANT.match(symbol[3]) and VARIANT.match(symbol[3]).group(1) in families}
    return sorted(siblings, key=lambda symbol: symbol[3])


def order_lines(code, data):
    """The names in the linker's order: code, then data objects under a page, then larger ones."""
    small = [symbol for symbol in data if not is_code(symbol) and symbol[1] < PAGE]
    large = [symbol for symbol in data if not is_code(symbol) and symbol[1] >= PAGE]
    names = []
    for symbol in [s for s in code if is_code(s)] + small + large:
        if symbol[3] not in names:
            names.append(symbol[3])
    return names


# ptrace(2) requests and the offset of rip in struct user_regs_struct on x86-64.
PTRACE_TRACEME, PTRACE_PEEKUSER, PTRACE_SINGLESTEP = 0, 3, 9
RIP_OFFSET = 16 * 8


def instruction_addresses(binary, arguments, stdin_text):
    """Every instruction address the process runs, in order, by single-stepping it."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.ptrace.restype = ctypes.c_long
    libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p]
    with tempfile.TemporaryFile() as stdin_file:
        stdin_file.write(stdin_text.encode())
        stdin_file.seek(0)
        child = os.fork()
        if child == 0:
            try:
                os.dup2(stdin_file.fileno(), 0)
                null = os.open(os.devnull, os.O_WRONLY)
                os.dup2(null, 1)
                os.dup2(null, 2)
                libc.ptrace(PTRACE_TRACEME, 0, None, None)
                os.execv(binary, [binary] + arguments)
            finally:
                os._exit(127)  # only when the exec failed
    _, status = os.waitpid(child, 0)  # stopped at the exec, or ended without it
    if not os.WIFSTOPPED(status):
        raise RuntimeError("cannot run %s under ptrace" % binary)
    addresses = []
    while True:
        addresses.append(libc.ptrace(PTRACE_PEEKUSER, child, ctypes.c_void_p(RIP_OFFSET), None)
                         & 0xFFFFFFFFFFFFFFFF)
        libc.ptrace(PTRACE_SINGLESTEP, child, None, None)
        _, status = os.waitpid(child, 0)
        if os.WIFEXITED(status) or os.WIFSIGNALED(status):
            return addresses


def data_addresses(binary, arguments, stdin_text):
    """Every address the process reads or writes, in order, from valgrind's lackey."""
    with tempfile.NamedTemporaryFile(mode="r") as log:
        subprocess.run(["valgrind", "--tool=lackey", "--trace-mem=yes", "--log-file=" + log.name,
                        binary] + arguments, input=stdin_text.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        return parse_lackey(log.read())


def parse_lackey(log):
    access = re.compile(r"^ [LSM] +([0-9a-f]+),", re.MULTILINE)
    return [int(match.group(1), 16) for match in access.finditer(log)]


HEADER = """\
# The order in which the linker places fexpr's functions and objects, hot first: what one
# expression per process reaches, so that it lies on as few pages as it can. Written by
# scripts/link_order.py from a Release build; run it again when what one expression runs
# changes. Names missing from the binary are skipped.
"""


def read_order(text):
    """The names of an order file, without its comments and blank lines."""
    return [line.strip() for line in text.splitlines()
            if line.strip() and not line.startswith("#")]


def unlisted(code, listed):
    """The functions of `code` (symbols) that the order does not name; of aliases, which share
    a section, one named is enough."""
    by_address = {}
    for symbol in code:
        by_address.setdefault(symbol[0], []).append(symbol[3])
    listed = set(listed)
    return [names[0] for names in by_address.values() if not listed.intersection(names)]


def is_own(name):
    """A name of fexpr's own code (the namespace fexpr, mangled, and main), not the C
    library's or the C++ runtime's."""
    return name == "main" or name.startswith("_ZN5fexpr") or name.startswith("_ZNK5fexpr")


def stale(listed, symbols):
    """The names of fexpr's own in the order that no symbol of the binary has."""
    present = {symbol[3] for symbol in symbols}
    return [name for name in listed if is_own(name) and name not in present]


def check(binary, order_file):
    table = SymbolTable(read_symbols(binary))
    code = []
    for arguments, stdin_text in RUNS:
        code += instruction_addresses(binary, arguments, stdin_text)
    with open(order_file) as order:
        listed = read_order(order.read())
    missing = [name for name in unlisted(first_uses(table, code), listed) if is_own(name)]
    gone = stale(listed, table.symbols)
    for name in missing:
        print("%s does not name %s" % (order_file, name))
    for name in gone:
        print("%s names %s, which the binary does not hold" % (order_file, name))
    if missing or gone:
        print("write it again: scripts/link_order.py %s %s" % (binary, order_file))
    return 1 if missing or gone else 0


def write(binary, output):
    table = SymbolTable(read_symbols(binary))
    code, data = [], []
    for arguments, stdin_text in RUNS:
        code += instruction_addresses(binary, arguments, stdin_text)
        data += data_addresses(binary, arguments, stdin_text)
    hot_code = first_uses(table, code)
    hot_code += variant_siblings(hot_code, table.symbols)
    names = order_lines(hot_code, first_uses(table, data))
    with open(output, "w") as out:
        out.write(HEADER)
        out.write("".join(name + "\n" for name in names))
    print("%s: %d names" % (output, len(names)))
    return 0


def main():
    arguments = sys.argv[1:]
    checking = arguments[:1] == ["--check"]
    if checking:
        arguments = arguments[1:]
    binary = os.path.realpath(arguments[0] if arguments else "build/fexpr")
    order_file = arguments[1] if len(arguments) > 1 else "cmake/link_order.txt"
    return check(binary, order_file) if checking else write(binary, order_file)


if __name__ == "__main__":
    sys.exit(main())
