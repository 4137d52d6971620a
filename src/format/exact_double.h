// What double a value really is (--exact): its shortest decimal, its hexadecimal floating
// form, and its sign, exponent and fraction fields.
#pragma once

#include <cstddef>

#include "platform/output_stream.h"

namespace fexpr::format {

// The shortest decimal text, in the form of "%.*lg", that both the number reader and a
// correctly rounding reader read back to `value`: at most 17 significant digits, and 18 in
// the top binade, where the number reader truncates. Of two such texts the nearer to the
// value. Special values print as "+INF", "-INF", "+NAN" and "-NAN". Returns the length.
std::size_t format_shortest(char* out, std::size_t size, double value) noexcept;

// The hexadecimal floating form of "%a": "0x1.999999999999ap-4", "0x1p+0", "-0x0p+0",
// subnormals as "0x0.0000000000001p-1022"; special values named as above.
std::size_t format_hex_float(char* out, std::size_t size, double value) noexcept;

// The lines "shortest", "hex", "sign", "exponent" (unbiased, with the class of a zero, a
// subnormal, an infinity or a NaN) and "fraction" (the 52 fraction bits in hexadecimal), as
// "label<TAB>text".
void print_exact_double(double value, platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
