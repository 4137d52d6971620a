// Fuzzes the number conversions: every scan stays inside its text, every finite double
// printed with 17 significant digits reads back to itself, and the general form of up to 19
// digits is the C library's. The elementary functions, on the input's doubles, give normalized
// values within two units in the last place of the C library's long-double ones.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "numeric/decimal_input.h"
#include "numeric/elementary_functions.h"
#include "numeric/text_output.h"
#include "numeric/text_scan.h"

namespace {

constexpr std::size_t max_input = 4096;

void check_scans(const char* text, std::size_t length) {
    using namespace fexpr::numeric;
    const scanned_number decimal = scan_number(text);
    if (decimal.end < text || decimal.end > text + length) std::abort();
    if ((decimal.kind == number_kind::none) != (decimal.end == text)) std::abort();
    int consumed = -1;
    std::int64_t hex = 0;
    if (scan_hex(text, &hex, &consumed) == 1 && static_cast<std::size_t>(consumed) > length) {
        std::abort();
    }
    int number = 0;
    if (scan_int(text, 2, &number, &consumed) == 1 && static_cast<std::size_t>(consumed) > length) {
        std::abort();
    }
    char digits[65] = "";
    static_cast<void>(scan_charset(text, "0-7", 24, digits, &consumed));
    static_cast<void>(parse_integer_radix(text, 2));
}

// Outside the top binade, where reading truncates toward zero, 17 digits read back exactly.
void check_round_trip(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr::numeric;
    if (size < sizeof(double)) return;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!(value - value == 0) || (value >= 0x1p1023 || value <= -0x1p1023)) return;
    char text[64];
    format_exponent(text, sizeof text, 16, value);
    const double back = scan_number(text).value;
    if (std::memcmp(&back, &value, sizeof back) != 0) std::abort();
}

// The general form, written straight into its buffer for typical magnitudes, has the digits
// and the layout of the C library's "%.*g" at 1 to 19 significant digits.
void check_general_form(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr::numeric;
    if (size < sizeof(double) + 1) return;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!(value - value == 0)) return;
    const int precision = data[sizeof value] % 19 + 1;
    char own[number_text_capacity];
    char library[number_text_capacity];
    format_general(own, sizeof own, precision, value);
    std::snprintf(library, sizeof library, "%.*g", precision, value);
    if (std::strcmp(own, library) != 0) std::abort();
}

// True when two doubles lie within two units in the last place of each other.
bool close(double own, double library) {
    if (own == library) return true;
    const double below = std::nextafter(std::nextafter(library, -INFINITY), -INFINITY);
    const double above = std::nextafter(std::nextafter(library, INFINITY), INFINITY);
    return own >= below && own <= above;
}

// A function's value at the input's doubles, where they lie in its domain: a significand with
// its top bit set (or a zero) and, where long double is the x87 format, within two units in
// the last place of the C library's long-double value after store.
void check_function(fexpr::numeric::elementary_function function, double x, double y,
                    long double library) {
    using namespace fexpr::numeric;
    const extended_parts parts = elementary_parts(function, x, y);
    if (parts.significand != 0 && (parts.significand >> 63) == 0) std::abort();
    const double own =
        store(extended_from_parts(parts.negative, parts.exponent, parts.significand));
#if LDBL_MANT_DIG == 64
    if (!close(own, store(library))) std::abort();
#else
    static_cast<void>(library);
    static_cast<void>(own);
#endif
}

void check_own_functions(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr::numeric;
    using function = elementary_function;
    if (size < 2 * sizeof(double)) return;
    double x;
    double y;
    std::memcpy(&x, data, sizeof x);
    std::memcpy(&y, data + sizeof x, sizeof y);
    const long double wide = x;
    if (std::fabs(x) < 0x1p53) {
        check_function(function::sin, x, 0, std::sin(wide));
        check_function(function::cos, x, 0, std::cos(wide));
        check_function(function::tan, x, 0, std::tan(wide));
    }
    if (std::fabs(x) <= 1) {
        check_function(function::asin, x, 0, std::asin(wide));
        check_function(function::acos, x, 0, std::acos(wide));
    }
    if (!std::isnan(x)) check_function(function::atan, x, 0, std::atan(wide));
    if (x > 0 && std::isfinite(x)) {
        check_function(function::log, x, 0, std::log(wide));
        check_function(function::log10, x, 0, std::log10(wide));
        if (std::isfinite(y) && std::fabs(y * std::log(wide)) < 709) {
            check_function(function::pow, x, y, std::pow(wide, static_cast<long double>(y)));
        }
    }
    if (x > -708 && x < 709) check_function(function::exp, x, 0, std::exp(wide));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > max_input) return 0;
    char text[max_input + 1];
    std::memcpy(text, data, size);
    text[size] = '\0';
    check_scans(text, std::strlen(text));
    check_round_trip(data, size);
    check_general_form(data, size);
    check_own_functions(data, size);
    return 0;
}
