// Exact decimal digits of a double: in integers for typical magnitudes, else by std::to_chars.
#include "numeric/decimal_digits.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace fexpr::numeric {
namespace {

constexpr decimal_digits zero_digits() noexcept {
    return decimal_digits{{}, 0, 0};
}

// 10^0 … 10^19 and 5^0 … 5^27 (the largest powers that fit in 64 bits).
constexpr std::uint64_t powers_of_ten[20] = {1ULL,
                                             10ULL,
                                             100ULL,
                                             1000ULL,
                                             10000ULL,
                                             100000ULL,
                                             1000000ULL,
                                             10000000ULL,
                                             100000000ULL,
                                             1000000000ULL,
                                             10000000000ULL,
                                             100000000000ULL,
                                             1000000000000ULL,
                                             10000000000000ULL,
                                             100000000000000ULL,
                                             1000000000000000ULL,
                                             10000000000000000ULL,
                                             100000000000000000ULL,
                                             1000000000000000000ULL,
                                             10000000000000000000ULL};
constexpr int max_power_of_five = 27;
constexpr std::uint64_t powers_of_five[max_power_of_five + 1] = {1ULL,
                                                                 5ULL,
                                                                 25ULL,
                                                                 125ULL,
                                                                 625ULL,
                                                                 3125ULL,
                                                                 15625ULL,
                                                                 78125ULL,
                                                                 390625ULL,
                                                                 1953125ULL,
                                                                 9765625ULL,
                                                                 48828125ULL,
                                                                 244140625ULL,
                                                                 1220703125ULL,
                                                                 6103515625ULL,
                                                                 30517578125ULL,
                                                                 152587890625ULL,
                                                                 762939453125ULL,
                                                                 3814697265625ULL,
                                                                 19073486328125ULL,
                                                                 95367431640625ULL,
                                                                 476837158203125ULL,
                                                                 2384185791015625ULL,
                                                                 11920928955078125ULL,
                                                                 59604644775390625ULL,
                                                                 298023223876953125ULL,
                                                                 1490116119384765625ULL,
                                                                 7450580596923828125ULL};

// "00", "01", … "99": two digits at a time.
constexpr char digit_pairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

// The `count` lowest decimal digits of a value below 2^32, two at a time with 32-bit
// quotients.
void write_short_digits(char* out, int count, std::uint32_t value) noexcept {
    for (; count >= 2; count -= 2, value /= 100) {
        const std::uint32_t pair = value % 100 * 2;
        out[count - 2] = digit_pairs[pair];
        out[count - 1] = digit_pairs[pair + 1];
    }
    if (count == 1) out[0] = static_cast<char>('0' + value % 10);
}

// Drops the trailing zero digits of a nonzero value of at most eight digits, `count` of them,
// and returns how many remain.
int drop_trailing_zeros(std::uint32_t& value, int count) noexcept {
    if (value % 10000 == 0) {
        value /= 10000;
        count -= 4;
    }
    if (value % 100 == 0) {
        value /= 100;
        count -= 2;
    }
    if (value % 10 == 0) {
        value /= 10;
        count -= 1;
    }
    return count;
}

/* Writes the digits of value, which has exactly `count` digits (at most 19, the first not
 * '0'), without its trailing '0' digits (they read as '0' anyway), and returns how many were
 * written. The value is split into eight-digit parts below 2^32 first: the trailing zeros
 * divided away and the pairs written with 64-bit quotients cost about 28 instructions more
 * per printed result (bench/instruction_gate.sh, 1.7% of a line). */
int write_significant_digits(char* out, int count, std::uint64_t value) noexcept {
    if (count <= 8) {
        std::uint32_t part = static_cast<std::uint32_t>(value);
        count = drop_trailing_zeros(part, count);
        write_short_digits(out, count, part);
        return count;
    }
    const std::uint64_t high = value / 100000000;
    std::uint32_t low = static_cast<std::uint32_t>(value - high * 100000000);
    if (low == 0) return write_significant_digits(out, count - 8, high);
    const int low_count = drop_trailing_zeros(low, 8);
    if (count - 8 <= 8) {
        write_short_digits(out, count - 8, static_cast<std::uint32_t>(high));
    } else {
        const std::uint64_t top = high / 100000000;
        write_short_digits(out + count - 16, 8, static_cast<std::uint32_t>(high - top * 100000000));
        write_short_digits(out, count - 16, static_cast<std::uint32_t>(top));
    }
    write_short_digits(out + count - 8, low_count, low);
    return count - 8 + low_count;
}

// A 128-bit unsigned number.
struct wide {
    std::uint64_t high;
    std::uint64_t low;
};

/* The full product of two 64-bit numbers: one multiplication where the compiler has a
 * 128-bit integer type (GCC and Clang on 64-bit targets), else four 32-bit products, which
 * cost about 20 instructions more per printed result (1% of the instructions per line of
 * bench/instruction_gate.sh). */
#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 unsigned_128;

wide multiply(std::uint64_t a, std::uint64_t b) noexcept {
    const unsigned_128 product = static_cast<unsigned_128>(a) * b;
    return wide{static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
}
#else
wide multiply(std::uint64_t a, std::uint64_t b) noexcept {
    const std::uint64_t mask = 0xffffffffULL;
    const std::uint64_t low_low = (a & mask) * (b & mask);
    const std::uint64_t low_high = (a & mask) * (b >> 32);
    const std::uint64_t high_low = (a >> 32) * (b & mask);
    const std::uint64_t high_high = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (low_low >> 32) + (low_high & mask) + (high_low & mask);
    return wide{high_high + (low_high >> 32) + (high_low >> 32) + (middle >> 32),
                (middle << 32) | (low_low & mask)};
}
#endif

// The quotient of number / 2^shift, when it fits in 64 bits, and how the dropped remainder
// compares with half the divisor (-1 below, 0 equal, 1 above).
struct shifted {
    bool fits;
    std::uint64_t quotient;
    int rest;
};

int compare_rest(std::uint64_t rest_high, std::uint64_t rest_low, std::uint64_t half_high,
                 std::uint64_t half_low) noexcept {
    if (rest_high != half_high) return rest_high > half_high ? 1 : -1;
    if (rest_low != half_low) return rest_low > half_low ? 1 : -1;
    return 0;
}

/* Tricky cases: shifts of 0, of 64 and above (the quotient comes from the high word alone),
 * and negative shifts, which multiply and are exact when nothing is lost. */
shifted shift_right(wide number, int shift) noexcept {
    if (shift < 0) {
        const int left = -shift;
        if (number.high != 0 || left >= 64 || (number.low >> (64 - left)) != 0) {
            return shifted{false, 0, 0};
        }
        return shifted{true, number.low << left, -1};
    }
    if (shift == 0) return shifted{number.high == 0, number.low, -1};
    if (shift < 64) {
        if ((number.high >> shift) != 0) return shifted{false, 0, 0};
        const std::uint64_t rest = number.low & ((1ULL << shift) - 1);
        return shifted{true, (number.low >> shift) | (number.high << (64 - shift)),
                       compare_rest(0, rest, 0, 1ULL << (shift - 1))};
    }
    if (shift == 64) return shifted{true, number.high, compare_rest(number.low, 0, 1ULL << 63, 0)};
    if (shift >= 128) return shifted{true, 0, -1};
    const int high_shift = shift - 64;
    const std::uint64_t rest_high = number.high & ((1ULL << high_shift) - 1);
    return shifted{true, number.high >> high_shift,
                   compare_rest(rest_high, number.low, 1ULL << (high_shift - 1), 0)};
}

// floor(log10(2^power)) for |power| below 1650, in integers.
int floor_log10_of_power_of_two(int power) noexcept {
    const long long scaled = static_cast<long long>(power) * 78913;
    return static_cast<int>(scaled >= 0 ? scaled / 262144 : -((-scaled + 262143) / 262144));
}

/* Exact rounding to `wanted` (1 … 19) digits in integers, for the magnitudes that need a
 * scale 10^s with 0 <= s <= 27, decimal exponents wanted - 28 … wanted - 1 (10^-13 up to
 * 10^15 for 15 digits, where typical results lie): the value m × 2^k times 5^s × 2^s is a
 * 128-bit number, shifted down with the remainder deciding the half-to-even rounding. The
 * estimated exponent is the true one or one below it; a quotient of wanted + 1 digits shows
 * the latter. A rounding up to 10^wanted carries into the exponent. Trailing zero digits are
 * not stored. Returns false outside that range, for zero, subnormals and specials. */
bool exact_digits(double magnitude, int wanted, decimal_digits& result) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0 || biased >= 2047) return false;
    const std::uint64_t mantissa = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int binary_exponent = biased - 1075;
    int exponent = floor_log10_of_power_of_two(biased - 1023);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int scale = wanted - 1 - exponent;
        if (scale < 0 || scale > max_power_of_five) return false;
        const shifted digits =
            shift_right(multiply(mantissa, powers_of_five[scale]), -(binary_exponent + scale));
        if (!digits.fits || digits.quotient >= powers_of_ten[wanted]) {
            ++exponent;
            continue;
        }
        if (digits.quotient < powers_of_ten[wanted - 1]) return false;
        std::uint64_t value = digits.quotient;
        if (digits.rest > 0 || (digits.rest == 0 && (value & 1) != 0)) ++value;
        if (value == powers_of_ten[wanted]) {
            value = powers_of_ten[wanted - 1];
            ++exponent;
        }
        const int count = write_significant_digits(result.digit, wanted, value);
        result.count = count;
        result.exponent = exponent;
        return true;
    }
    return false;
}

// Reads "d.ddde±XX" as written by std::to_chars in scientific form.
decimal_digits parse_scientific(const char* text, const char* end) noexcept {
    decimal_digits result = zero_digits();
    const char* p = text;
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') continue;
        if (result.count < significant_digit_limit) result.digit[result.count++] = *p;
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

// One named result on every path, built in the caller's object: a copy of the digits just
// written byte by byte would stall on reading them back as a whole (a second object for the
// exact path made general_15 of bench/bench_numeric.cpp about 3% slower, medians of 9).
decimal_digits significant_digits(double magnitude, int wanted) noexcept {
    decimal_digits result = zero_digits();
    if (magnitude == 0) return result;
    const int kept = wanted < significant_digit_limit ? wanted : significant_digit_limit;
    if (kept >= 1 && exact_digits(magnitude, kept, result)) return result;
    const int precision = kept - 1;
    char text[40];
    const auto written =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                      precision < 0 ? 0 : precision);
    if (written.ec == std::errc{}) result = parse_scientific(text, written.ptr);
    return result;
}

/* Rounds at a fixed decimal position. The leading exponent comes from a 19-digit rounding,
 * which never carries into the next power of ten (a double's relative spacing, at least
 * 2^-53, is far above 5 × 10^-20), so it is the exponent of the exact value. Tricky cases:
 * no digit position left (k = 0), where the value becomes 10^(exponent+1) or zero by an exact
 * comparison with one half; and a carry (9.96 to one decimal), which to_chars reports as a
 * raised exponent with trailing zeros. */
decimal_digits digits_to_power(double magnitude, int lowest_power, int max_digits) noexcept {
    if (magnitude == 0) return zero_digits();
    const decimal_digits full = significant_digits(magnitude, significant_digit_limit);
    long long kept = static_cast<long long>(full.exponent) - lowest_power + 1;
    if (kept > max_digits) kept = max_digits;
    if (kept >= significant_digit_limit) return full;
    if (kept >= 1) return significant_digits(magnitude, static_cast<int>(kept));
    if (kept < 0 || !exceeds_half(magnitude, full.exponent)) return zero_digits();
    decimal_digits unit = zero_digits();
    unit.digit[0] = '1';
    unit.count = 1;
    unit.exponent = full.exponent + 1;
    return unit;
}

}  // namespace fexpr::numeric
