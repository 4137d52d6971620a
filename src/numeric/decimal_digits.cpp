// Exact decimal digits of a double, built on the exact, locale-free std::to_chars.
#include "numeric/decimal_digits.h"

#include <charconv>

namespace fexpr::numeric {
namespace {

constexpr decimal_digits zero_digits() noexcept {
    return decimal_digits{{}, 0, 0};
}

// Reads "d.ddde±XX" as written by std::to_chars in scientific form.
decimal_digits parse_scientific(const char* text, const char* end) noexcept {
    decimal_digits result = zero_digits();
    const char* p = text;
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') continue;
        if (result.count < computed_digits) result.digit[result.count++] = *p;
    }
    if (p == end) return result;
    ++p;  // 'e'
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    int exponent = 0;
    for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
    result.exponent = negative ? -exponent : exponent;
    return result;
}

// Whether magnitude, whose leading digit stands for 10^exponent, exceeds 5 × 10^exponent.
// A rounding to one digit settles every case but a leading 5, where the exact expansion
// (at most 767 significant digits for any double) decides; exactly 5 × 10^exponent is a tie
// that rounds to the even neighbour zero.
bool exceeds_half(double magnitude, int exponent) noexcept {
    const decimal_digits one = significant_digits(magnitude, 1);
    if (one.exponent > exponent || one.digit[0] > '5') return true;
    if (one.digit[0] < '5') return false;
    char exact[800];
    const auto written =
        std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific, 770);
    if (written.ec != std::errc{} || exact[0] != '5')
        return written.ec == std::errc{} && exact[0] > '5';
    for (const char* p = exact + 1; p != written.ptr && *p != 'e'; ++p) {
        if (*p >= '1' && *p <= '9') return true;
    }
    return false;
}

}  // namespace

decimal_digits significant_digits(double magnitude, int wanted) noexcept {
    if (magnitude == 0) return zero_digits();
    const int precision = (wanted < computed_digits ? wanted : computed_digits) - 1;
    char text[40];
    const auto written =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                      precision < 0 ? 0 : precision);
    if (written.ec != std::errc{}) return zero_digits();
    return parse_scientific(text, written.ptr);
}

/* Rounds at a fixed decimal position. The leading exponent comes from a 19-digit rounding,
 * which never carries into the next power of ten (a double's relative spacing, at least
 * 2^-53, is far above 5 × 10^-20), so it is the exponent of the exact value. Tricky cases:
 * no digit position left (k = 0), where the value becomes 10^(exponent+1) or zero by an exact
 * comparison with one half; and a carry (9.96 to one decimal), which to_chars reports as a
 * raised exponent with trailing zeros. */
decimal_digits digits_to_power(double magnitude, int lowest_power, int max_digits) noexcept {
    if (magnitude == 0) return zero_digits();
    const decimal_digits full = significant_digits(magnitude, computed_digits);
    long long kept = static_cast<long long>(full.exponent) - lowest_power + 1;
    if (kept > max_digits) kept = max_digits;
    if (kept >= computed_digits) return full;
    if (kept >= 1) return significant_digits(magnitude, static_cast<int>(kept));
    if (kept < 0 || !exceeds_half(magnitude, full.exponent)) return zero_digits();
    decimal_digits unit = zero_digits();
    unit.digit[0] = '1';
    unit.count = 1;
    unit.exponent = full.exponent + 1;
    return unit;
}

}  // namespace fexpr::numeric
