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

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
/* The eight digits of a value below 10^8, leading zeros included, as one little-endian word:
 * the two halves of four digits go in the two 32-bit lanes of one number, split into two
 * pairs of digits per lane (x / 100 as x × 10486 / 2^20 for x below 10^4), then into digits
 * per 16-bit lane (x / 10 as x × 103 / 2^10 for x below 100), tens before units: no loop
 * over the pairs, for every printed result (bench/instruction_gate.sh, per line). */
void write_eight_digits(char* out, std::uint32_t value) noexcept {
    const std::uint64_t high = value / 10000;
    const std::uint64_t merged = high | (static_cast<std::uint64_t>(value - high * 10000) << 32);
    const std::uint64_t hundreds = ((merged * 10486) >> 20) & 0x0000007F0000007FULL;
    const std::uint64_t pairs = ((merged - 100 * hundreds) << 16) + hundreds;
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FULL;
    const std::uint64_t digits = tens + ((pairs - 10 * tens) << 8);
    const std::uint64_t text = digits + 0x3030303030303030ULL;
    std::memcpy(out, &text, sizeof text);
}
#else
// "00", "01", … "99": two digits at a time.
constexpr char digit_pairs[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546"
    "4748495051525354555657585960616263646566676869707172737475767778798081828384858687888990919293"
    "949596979899";

void write_eight_digits(char* out, std::uint32_t value) noexcept {
    for (int count = 8; count >= 2; count -= 2, value /= 100) {
        const std::uint32_t pair = value % 100 * 2;
        out[count - 2] = digit_pairs[pair];
        out[count - 1] = digit_pairs[pair + 1];
    }
}
#endif

// The inverse of an odd number modulo 2^64, by Newton's iteration (each step doubles the
// correct low bits, from the 3 that x = a gives).
constexpr std::uint64_t inverse_modulo_2_64(std::uint64_t odd) noexcept {
    std::uint64_t inverse = odd;
    for (int step = 0; step < 5; ++step) inverse *= 2 - odd * inverse;
    return inverse;
}

constexpr std::uint64_t rotate_right(std::uint64_t value, int bits) noexcept {
    return (value >> bits) | (value << (64 - bits));
}

/* Divides value by 10^k when it is a multiple of it, and tells whether it was. Multiplying by
 * the inverse of 5^k modulo 2^64 gives value / 5^k for the multiples of 5^k, which are
 * exactly the values whose product is at most (2^64 - 1) / 5^k; a multiple of 2^k then has
 * k low zero bits, which the rotation moves to the top, above (2^64 - 1) / 10^k unless they
 * are zero. One multiplication and one comparison, where a remainder costs two
 * multiplications and a subtraction. */
template <int k>
bool divide_out_power_of_ten(std::uint64_t& value) noexcept {
    constexpr std::uint64_t inverse = inverse_modulo_2_64(powers_of_five[k]);
    constexpr std::uint64_t largest_quotient = ~0ULL / powers_of_ten[k];
    const std::uint64_t quotient = rotate_right(value * inverse, k);
    if (quotient > largest_quotient) return false;
    value = quotient;
    return true;
}

// Divides the trailing zero digits out of a nonzero value of `count` digits (at most 19)
// and returns how many there were (fewer than count).
int drop_trailing_zeros(std::uint64_t& value, int count) noexcept {
    int zeros = 0;
    if (count > 16 && divide_out_power_of_ten<16>(value)) zeros += 16;
    if (divide_out_power_of_ten<8>(value)) zeros += 8;
    if (divide_out_power_of_ten<4>(value)) zeros += 4;
    if (divide_out_power_of_ten<2>(value)) zeros += 2;
    if (divide_out_power_of_ten<1>(value)) zeros += 1;
    return zeros;
}

// A 128-bit unsigned number.
struct wide {
    std::uint64_t high;
    std::uint64_t low;
};

/* The full product of two 64-bit numbers: one multiplication where the compiler has a
 * 128-bit integer type (GCC and Clang on 64-bit targets), else four 32-bit products; every
 * printed result takes it (bench/instruction_gate.sh, per line). */
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

// The quotient of number / 2^shift, when it fits in 64 bits, and whether rounding it half to
// even on the dropped remainder adds one.
struct shifted {
    bool fits;
    std::uint64_t quotient;
    bool up;
};

// Whether a quotient whose remainder compares with half the divisor as `rest` says (-1
// below, 0 equal, 1 above) rounds up.
constexpr bool rounds_up(std::uint64_t quotient, int rest) noexcept {
    return rest > 0 || (rest == 0 && (quotient & 1) != 0);
}

int compare_rest(std::uint64_t rest_high, std::uint64_t rest_low, std::uint64_t half_high,
                 std::uint64_t half_low) noexcept {
    if (rest_high != half_high) return rest_high > half_high ? 1 : -1;
    if (rest_low != half_low) return rest_low > half_low ? 1 : -1;
    return 0;
}

/* The usual shift is 1 … 63, where the remainder fits in one word: adding the quotient's
 * lowest bit to it makes a tie round to even with one comparison. Tricky cases: shifts of 0,
 * of 64 and above (the quotient comes from the high word alone), and negative shifts, which
 * multiply and are exact when nothing is lost. */
shifted shift_right(wide number, int shift) noexcept {
    if (shift > 0 && shift < 64) {
        if ((number.high >> shift) != 0) return shifted{false, 0, false};
        const std::uint64_t quotient = (number.low >> shift) | (number.high << (64 - shift));
        const std::uint64_t rest = number.low & ((1ULL << shift) - 1);
        return shifted{true, quotient, rest + (quotient & 1) > (1ULL << (shift - 1))};
    }
    if (shift < 0) {
        const int left = -shift;
        if (number.high != 0 || left >= 64 || (number.low >> (64 - left)) != 0) {
            return shifted{false, 0, false};
        }
        return shifted{true, number.low << left, false};
    }
    if (shift == 0) return shifted{number.high == 0, number.low, false};
    if (shift == 64) {
        const int rest = compare_rest(number.low, 0, 1ULL << 63, 0);
        return shifted{true, number.high, rounds_up(number.high, rest)};
    }
    if (shift >= 128) return shifted{true, 0, false};
    const int high_shift = shift - 64;
    const std::uint64_t rest_high = number.high & ((1ULL << high_shift) - 1);
    const std::uint64_t quotient = number.high >> high_shift;
    const int rest = compare_rest(rest_high, number.low, 1ULL << (high_shift - 1), 0);
    return shifted{true, quotient, rounds_up(quotient, rest)};
}

// floor(log10(2^power)) for |power| below 1650, in integers.
int floor_log10_of_power_of_two(int power) noexcept {
    const long long scaled = static_cast<long long>(power) * 78913;
    return static_cast<int>(scaled >= 0 ? scaled / 262144 : -((-scaled + 262143) / 262144));
}

}  // namespace

/* Exact rounding in integers, for the magnitudes that need a scale 10^s with 0 <= s <= 27,
 * decimal exponents wanted - 28 … wanted - 1 (10^-13 up to 10^15 for 15 digits, where
 * typical results lie): the value m × 2^k times 5^s × 2^s is a 128-bit number, shifted down
 * with the remainder deciding the half-to-even rounding. The estimated exponent is the true
 * one or one below it; a quotient of wanted + 1 digits shows the latter. A rounding up to
 * 10^wanted carries into the exponent. */
bool rounded_integer(double magnitude, int wanted, decimal_integer& result) noexcept {
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
        std::uint64_t value = digits.quotient + (digits.up ? 1 : 0);
        if (value == powers_of_ten[wanted]) {
            value = powers_of_ten[wanted - 1];
            ++exponent;
        }
        result.count = wanted - drop_trailing_zeros(value, wanted);
        result.significand = value;
        result.exponent = exponent;
        return true;
    }
    return false;
}

const char* write_integer_digits(char* out, const decimal_integer& number) noexcept {
    const std::uint64_t value = number.significand;
    const std::uint64_t high = value / 100000000;
    write_eight_digits(out + 16, static_cast<std::uint32_t>(value - high * 100000000));
    if (number.count > 8) {
        const std::uint64_t top = high / 100000000;
        write_eight_digits(out + 8, static_cast<std::uint32_t>(high - top * 100000000));
        if (number.count > 16) write_eight_digits(out, static_cast<std::uint32_t>(top));
    }
    return out + integer_digits_end - number.count;
}

const char* rounded_digits(double magnitude, int wanted, char* out,
                           decimal_integer& number) noexcept {
    return rounded_integer(magnitude, wanted, number) ? write_integer_digits(out, number) : nullptr;
}

namespace {

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
// written byte by byte would stall on reading them back as a whole (bench/bench_numeric.cpp,
// general_15).
decimal_digits significant_digits(double magnitude, int wanted) noexcept {
    decimal_digits result = zero_digits();
    if (magnitude == 0) return result;
    const int kept = wanted < significant_digit_limit ? wanted : significant_digit_limit;
    decimal_integer number{};
    char buffer[integer_digits_capacity];
    const char* digits = kept >= 1 ? rounded_digits(magnitude, kept, buffer, number) : nullptr;
    if (digits != nullptr) {
        std::memcpy(result.digit, digits, static_cast<std::size_t>(number.count));
        result.count = number.count;
        result.exponent = number.exponent;
        return result;
    }
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
