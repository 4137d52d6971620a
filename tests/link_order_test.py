#!/usr/bin/env python3
"""Tests of scripts/link_order.py's pure parts: reading nm and lackey, finding the symbols an
address falls in, and the order of the names it writes."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import link_order  # noqa: E402

NM_LISTING = """\
0000000000401000 t __preinit_array_start
0000000000401000 0000000000000010 T _start
0000000000401010 0000000000000020 T memcpy
0000000000401010 0000000000000020 t __memcpy_avx
0000000000401030 0000000000000000 t empty_function
0000000000401040 t frame_dummy
0000000000401050 0000000000000004 T after_frame_dummy
                 U undefined_symbol
0000000000401060 r unsized_table
0000000000500000 0000000000010000 b big_buffer
0000000000500100 0000000000000008 b inside_big
0000000000510000 0000000000000008 B counter
"""


class ReadingTest(unittest.TestCase):
    def test_nm_keeps_sized_definitions_by_address(self):
        names = [symbol[3] for symbol in link_order.parse_symbols(NM_LISTING)]
        self.assertEqual(names, ["_start", "memcpy", "__memcpy_avx", "frame_dummy",
                                 "after_frame_dummy", "big_buffer",
                                 "inside_big", "counter"])

    def test_lackey_keeps_data_accesses_only(self):
        cases = [
            ("I  00401000,3\n L 00500000,8\n", [0x500000]),
            (" S 00510000,8\n M 00510004,4\n", [0x510000, 0x510004]),
            ("==123== Lackey, an example Valgrind tool\nI  00401000,3\n", []),
        ]
        for log, addresses in cases:
            with self.subTest(log=log):
                self.assertEqual(link_order.parse_lackey(log), addresses)


class CoveringTest(unittest.TestCase):
    table = link_order.SymbolTable(link_order.parse_symbols(NM_LISTING))

    def test_addresses(self):
        cases = [
            (0x400FFF, []),
            (0x401000, ["_start"]),  # not the linker's label on the same address
            (0x40100F, ["_start"]),
            (0x401010, ["__memcpy_avx", "memcpy"]),  # aliases share an extent
            (0x401030, []),  # a symbol of size 0 covers nothing
            (0x401040, ["frame_dummy"]),  # a function without a size reaches the next symbol
            (0x40104F, ["frame_dummy"]),
            (0x401050, ["after_frame_dummy"]),
            (0x401060, []),  # data without a size covers nothing
            (0x500000, ["big_buffer"]),
            (0x500104, ["big_buffer", "inside_big"]),
            (0x50FFFF, ["big_buffer"]),  # far into a large object, past smaller ones
            (0x510008, []),
        ]
        for address, names in cases:
            with self.subTest(address=hex(address)):
                self.assertEqual([s[3] for s in self.table.covering(address)], names)

    def test_first_uses_keeps_the_first_order_once(self):
        addresses = [0x510000, 0x401000, 0x510004, 0x401018, 0x401000, 0x500000]
        names = [s[3] for s in link_order.first_uses(self.table, addresses)]
        self.assertEqual(names, ["counter", "_start", "__memcpy_avx", "memcpy", "big_buffer"])


class VariantTest(unittest.TestCase):
    symbols = [(1, 8, "t", "__strlen_avx2"), (2, 8, "t", "__strlen_evex"),
               (3, 8, "t", "__strlen_sse2"), (4, 8, "t", "__strlen_evex512"),
               (5, 8, "t", "__strnlen_evex"), (6, 8, "t", "__memmove_avx_unaligned_erms"),
               (7, 8, "t", "__memmove_sse2_unaligned"), (8, 8, "r", "__strlen_sse2_table"),
               (9, 8, "T", "strlen"), (10, 8, "t", "__strcmp_avx2")]

    def test_siblings(self):
        cases = [
            (["__strlen_avx2"], ["__strlen_evex", "__strlen_evex512", "__strlen_sse2"]),
            (["__memmove_avx_unaligned_erms"], ["__memmove_sse2_unaligned"]),
            (["__strcmp_avx2"], []),  # no other variant in the binary
            (["strlen"], []),  # not a variant: nothing to add
            (["__strlen_avx2", "__strlen_sse2"], ["__strlen_evex", "__strlen_evex512"]),
        ]
        by_name = {symbol[3]: symbol for symbol in self.symbols}
        for hot, siblings in cases:
            with self.subTest(hot=hot):
                code = [by_name[name] for name in hot]
                found = link_order.variant_siblings(code, self.symbols)
                self.assertEqual([symbol[3] for symbol in found], siblings)


class OrderTest(unittest.TestCase):
    def test_code_then_small_then_large_data(self):
        code = [(1, 16, "T", "main"), (2, 16, "t", "helper"), (3, 8, "b", "not_code")]
        data = [(10, 65536, "b", "stream"), (11, 8, "d", "flag"), (12, 4096, "B", "page"),
                (13, 4095, "r", "table"), (14, 16, "T", "main")]
        self.assertEqual(link_order.order_lines(code, data),
                         ["main", "helper", "flag", "table", "stream", "page"])

    def test_a_name_is_written_once(self):
        code = [(1, 16, "T", "main"), (1, 16, "W", "main")]
        data = [(10, 8, "d", "flag"), (10, 8, "d", "flag")]
        self.assertEqual(link_order.order_lines(code, data), ["main", "flag"])


class CheckTest(unittest.TestCase):
    def test_order_file_without_comments(self):
        text = "# a comment\n\nmain\n  helper  \n#another\n"
        self.assertEqual(link_order.read_order(text), ["main", "helper"])

    def test_unlisted(self):
        code = [(1, 8, "T", "memcpy"), (1, 8, "t", "__memcpy_avx"), (2, 8, "T", "main"),
                (3, 8, "t", "renamed")]
        cases = [
            (["memcpy", "main", "renamed"], []),
            (["__memcpy_avx", "main", "renamed"], []),  # one alias named is enough
            (["main", "renamed"], ["memcpy"]),
            (["memcpy", "main", "old_name"], ["renamed"]),
            ([], ["memcpy", "main", "renamed"]),
        ]
        for listed, missing in cases:
            with self.subTest(listed=listed):
                self.assertEqual(link_order.unlisted(code, listed), missing)

    def test_own_names(self):
        for name, own in [("main", True), ("_ZN5fexpr6engine13evaluate_textEPc", True),
                          ("_ZNK5fexpr8platform4nameEv", True), ("__strlen_avx2", False),
                          ("intel_check_word", False), ("_ZN9__gnu_cxx1fEv", False)]:
            with self.subTest(name=name):
                self.assertEqual(link_order.is_own(name), own)

    def test_stale_names_of_our_own_only(self):
        symbols = [(1, 8, "T", "main"), (2, 8, "t", "_ZN5fexpr1fEv")]
        listed = ["main", "_ZN5fexpr1fEv", "_ZN5fexpr3oldEv", "__strlen_evex", "handle_amd"]
        self.assertEqual(link_order.stale(listed, symbols), ["_ZN5fexpr3oldEv"])


if __name__ == "__main__":
    unittest.main()
