// Fuzzes the number conversions: every scan stays inside its text, and every finite double
// printed with 17 significant digits reads back to itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "numeric/decimal_input.h"
#include "numeric/text_output.h"
#include "numeric/text_scan.h"

namespace {

constexpr std::size_t max_input = 4096;

void check_scans(const char* text, std::size_t length) {
    using namespace fexpr::numeric;
    const char* end = nullptr;
    static_cast<void>(text_to_double(text, &end));
    if (end < text || end > text + length) std::abort();
    double value = 0;
    int consumed = -1;
    if (scan_double(text, &value, &consumed) == 1 &&
        (consumed < 0 || static_cast<std::size_t>(consumed) > length)) {
        std::abort();
    }
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
    double back = 0;
    int consumed = 0;
    if (scan_double(text, &back, &consumed) != 1 || std::memcmp(&back, &value, sizeof back) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > max_input) return 0;
    char text[max_input + 1];
    std::memcpy(text, data, size);
    text[size] = '\0';
    check_scans(text, std::strlen(text));
    check_round_trip(data, size);
    return 0;
}
