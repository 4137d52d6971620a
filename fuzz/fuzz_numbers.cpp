// Fuzzes the number conversions: every scan stays inside its text, every finite double
// printed with 17 significant digits reads back to itself, and the general form of up to 19
// digits is the C library's. Where they exist, the own x87 elementary functions (those of
// the Windows build) stay within two units in the last place of the C library's on the
// input's doubles.
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

#if FEXPR_X87_EXTENDED
// True when two doubles lie within two units in the last place of each other.
bool close(double own, double library) {
    if (own == library) return true;
    const double below = std::nextafter(std::nextafter(library, -INFINITY), -INFINITY);
    const double above = std::nextafter(std::nextafter(library, INFINITY), INFINITY);
    return own >= below && own <= above;
}

void check_own_functions(const std::uint8_t* data, std::size_t size) {
    using namespace fexpr::numeric;
    if (size < 2 * sizeof(double)) return;
    double x;
    double y;
    std::memcpy(&x, data, sizeof x);
    std::memcpy(&y, data + sizeof x, sizeof y);
    if (std::fabs(x) < 0x1p53) {
        const long double wide = x;
        if (!close(store(x87_sin(x)), store(std::sin(wide))) ||
            !close(store(x87_cos(x)), store(std::cos(wide))) ||
            !close(store(x87_tan(x)), store(std::tan(wide)))) {
            std::abort();
        }
    }
    if (std::fabs(x) <= 1 && (!close(store(x87_asin(x)), store(std::asin((long double)x))) ||
                              !close(store(x87_acos(x)), store(std::acos((long double)x))))) {
        std::abort();
    }
    if (std::fabs(x) < 708 && !close(store(x87_exp(x)), store(std::exp((long double)x)))) {
        std::abort();
    }
    const long double base = std::fabs(static_cast<long double>(x));
    if (base > 0 && std::isfinite(x) && std::isfinite(y) && std::fabs(y * std::log(base)) < 700 &&
        !close(store(x87_pow(base, y)), store(std::pow(base, (long double)y)))) {
        std::abort();
    }
}
#else
void check_own_functions(const std::uint8_t*, std::size_t) {}
#endif

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
