// The integer model of the x87 against the x87 itself: every operation and every chain of the
// engine over random operands, bit for bit, where long double is the x87 format.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <type_traits>

#include "numeric/extended.h"
#include "numeric/portable_extended.h"
#include "test_doubles.h"

namespace {

using fexpr::numeric::portable_extended;
using fexpr::testing::bits_of;

// Constants folded at compile time: the model is usable in constant expressions.
constexpr portable_extended sixty = 60;
static_assert(sixty.significand == 0xF000000000000000 && sixty.sign_exponent == 16383 + 5);
constexpr portable_extended minus_one = -1;
static_assert(minus_one.significand == 0x8000000000000000 && minus_one.sign_exponent == 0xBFFF);
constexpr portable_extended smallest_denormal =
    fexpr::numeric::portable_from_parts(false, -16445, 1);
static_assert(smallest_denormal.significand == 1 && smallest_denormal.sign_exponent == 0);

#if LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384 && defined(__x86_64__)

constexpr int pairs = 1000000;

portable_extended model_of(long double value) {
    portable_extended result;
    std::memcpy(&result.significand, &value, 8);
    std::memcpy(&result.sign_exponent, reinterpret_cast<const char*>(&value) + 8, 2);
    return result;
}

bool same_bits(long double hardware, portable_extended model) {
    const portable_extended expected = model_of(hardware);
    return expected.significand == model.significand &&
           expected.sign_exponent == model.sign_exponent;
}

long double hardware_of(portable_extended value) {
    long double result = 0;
    std::memcpy(&result, &value.significand, 8);
    std::memcpy(reinterpret_cast<char*>(&result) + 8, &value.sign_exponent, 2);
    return result;
}

/* Random values of the 80-bit format, drawn to reach every rounding path: the whole exponent
 * range, both ends of it, denormals, zeros, infinities, NaNs of both signs (quiet and
 * signalling, random payloads), significands with few bits (ties) and all ones (carries). */
struct operand_source {
    std::mt19937_64 random;

    explicit operand_source(std::uint64_t seed) : random(seed) {}

    std::uint64_t bits() { return random(); }
    int below(int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); }

    std::uint64_t significand() {
        const std::uint64_t top = 0x8000000000000000;
        switch (below(4)) {
            case 0:
                return top | (bits() << below(64));  // a short significand: ties
            case 1:
                return ~(bits() >> (40 + below(24)));  // long runs of ones: carries
            default:
                return top | bits();
        }
    }

    portable_extended value(int exponent_low, int exponent_high) {
        portable_extended v;
        v.significand = significand();
        const int span = exponent_high - exponent_low + 1;
        v.sign_exponent = static_cast<std::uint16_t>(exponent_low + below(span));
        if (below(2) == 0) v.sign_exponent |= 0x8000;
        return v;
    }

    portable_extended special() {
        portable_extended v;
        const int kind = below(4);
        if (kind == 0) v.significand = 0;                          // zero
        if (kind == 1) v.significand = bits() >> (1 + below(63));  // a denormal
        if (kind >= 2) v.sign_exponent = 0x7FFF;
        if (kind == 2) v.significand = 0x8000000000000000;  // infinity
        if (kind == 3) {                                    // a NaN, quiet or signalling
            v.significand = 0x8000000000000000 | (bits() >> below(64));
            if (v.significand == 0x8000000000000000) v.significand |= 1;
        }
        if (below(2) == 0) v.sign_exponent |= 0x8000;
        return v;
    }

    portable_extended any() {
        switch (below(8)) {
            case 0:
                return special();
            case 1:
                return value(1, 160);  // the bottom of the range
            case 2:
                return value(32606, 32766);  // the top
            case 3:
                return value(1, 32766);
            default:
                return value(16383 - 70, 16383 + 70);
        }
    }

    // A second operand near the first: exact cancellation, exponents a few bits apart.
    portable_extended near(portable_extended a) {
        if (below(3) != 0) return any();
        portable_extended b = a;
        const int shift = below(140) - 70;
        const int exponent = (a.sign_exponent & 0x7FFF) + shift;
        if (exponent > 0 && exponent < 0x7FFF && (a.significand >> 63) != 0) {
            b.sign_exponent = static_cast<std::uint16_t>((a.sign_exponent & 0x8000) | exponent);
        }
        if (below(2) == 0) b.sign_exponent ^= 0x8000;
        if (below(2) == 0) b.significand ^= bits() >> below(64) & 0x7FFFFFFFFFFFFFFF;
        return b;
    }
};

/* Random doubles as the engine's operands: subnormals, both ends of the range, zeros,
 * infinities, quiet NaNs of both signs with random payloads, small integers, short
 * significands. */
double random_double(operand_source& source) {
    std::uint64_t bits = source.bits();
    switch (source.below(8)) {
        case 0:
            bits &= 0x800FFFFFFFFFFFFF;  // subnormal or zero
            if (source.below(2) == 0) bits &= 0x8000000000000000 | (0xFFFFF >> source.below(20));
            break;
        case 1:
            // A quiet NaN, often with the payload of "NAN" (ties), or an infinity. The engine
            // holds no signalling NaN, and the x87 orders one against another NaN by its
            // significand before or after quieting as the compiler loads it.
            bits |= 0x7FF8000000000000;
            if (source.below(2) == 0) bits &= 0xFFF8000000000000;
            if (source.below(3) == 0) bits &= 0xFFF0000000000000;
            break;
        case 2:
            bits = (bits & 0x800FFFFFFFFFFFFF) |
                   (static_cast<std::uint64_t>(2046 - source.below(8)) << 52);
            break;
        case 3:
            return static_cast<double>(source.below(2001) - 1000);
        case 4:
            bits &= 0xFFFFFFF000000000 | source.bits() >> (12 + source.below(52));
            break;
        default:
            bits = (bits & 0x800FFFFFFFFFFFFF) |
                   (static_cast<std::uint64_t>(1023 - 60 + source.below(120)) << 52);
            break;
    }
    if ((bits & 0x7FF0000000000000) == 0x7FF0000000000000 && (bits & 0x000FFFFFFFFFFFFF) != 0) {
        bits |= 0x0008000000000000;
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Runs a property over `pairs` random cases; reports the count and the first mismatch.
template <typename property>
void check(const char* name, std::uint64_t seed, property holds) {
    operand_source source(seed);
    int mismatches = 0;
    for (int i = 0; i < pairs; ++i) {
        if (!holds(source)) {
            if (++mismatches <= 3) ADD_FAILURE() << name << ": mismatch at case " << i;
        }
    }
    std::printf("[ counts   ] %s: %d cases, %d mismatches\n", name, pairs, mismatches);
    EXPECT_EQ(mismatches, 0) << name;
}

struct binary_operation {
    const char* name;
    long double (*hardware)(long double, long double);
    portable_extended (*model)(portable_extended, portable_extended);
};

const binary_operation binary_operations[] = {
    {"add", [](long double a, long double b) { return a + b; },
     [](portable_extended a, portable_extended b) { return a + b; }},
    {"subtract", [](long double a, long double b) { return a - b; },
     [](portable_extended a, portable_extended b) { return a - b; }},
    {"multiply", [](long double a, long double b) { return a * b; },
     [](portable_extended a, portable_extended b) { return a * b; }},
    {"divide", [](long double a, long double b) { return a / b; },
     [](portable_extended a, portable_extended b) { return a / b; }},
};

TEST(PortableExtended, BinaryOperationsMatchTheX87) {
    std::uint64_t seed = 2301;
    for (const binary_operation& operation : binary_operations) {
        check(operation.name, seed++, [&](operand_source& source) {
            const portable_extended a = source.any();
            const portable_extended b = source.near(a);
            return same_bits(operation.hardware(hardware_of(a), hardware_of(b)),
                             operation.model(a, b));
        });
    }
}

TEST(PortableExtended, UnaryOperationsMatchTheX87) {
    check("sqrt", 2311, [](operand_source& source) {
        portable_extended a = source.any();
        if (source.below(4) == 0) {  // an exact square, scaled by an even power of two
            const std::uint64_t root = source.bits() >> 32;
            a = fexpr::numeric::portable_from_parts(false, 2 * source.below(200) - 200,
                                                    root * root);
        }
        return same_bits(std::sqrt(hardware_of(a)), fexpr::numeric::portable_sqrt(a));
    });
    check("negate", 2312, [](operand_source& source) {
        const portable_extended a = source.any();
        return same_bits(-hardware_of(a), -a);
    });
    check("to double", 2313, [](operand_source& source) {
        // Values around the double's range and its subnormals: the second rounding's ties.
        portable_extended a = source.value(16383 - 1090, 16383 + 1030);
        if (source.below(4) == 0) a = source.any();
        if (source.below(4) == 0) a.significand &= ~0ULL << (10 + source.below(50));
        return bits_of(static_cast<double>(hardware_of(a))) == bits_of(static_cast<double>(a));
    });
    check("from double", 2314, [](operand_source& source) {
        const double x = random_double(source);
        return same_bits(static_cast<long double>(x), portable_extended(x));
    });
    check("to int64", 2315, [](operand_source& source) {
        const portable_extended a = source.value(16383 - 4, 16383 + 62);
        return static_cast<std::int64_t>(hardware_of(a)) == static_cast<std::int64_t>(a);
    });
    check("from parts", 2316, [](operand_source& source) {
        const std::uint64_t significand = source.significand();
        const int exponent = -16445 + source.below(32766);  // the leading bit in the normal range
        const bool negative = source.below(2) == 0;
        return same_bits(fexpr::numeric::extended_from_parts(negative, exponent, significand),
                         fexpr::numeric::portable_from_parts(negative, exponent, significand));
    });
}

TEST(PortableExtended, ComparisonsMatchTheX87) {
    check("compare", 2321, [](operand_source& source) {
        const portable_extended a = source.any();
        const portable_extended b = source.below(4) == 0 ? a : source.near(a);
        const long double x = hardware_of(a);
        const long double y = hardware_of(b);
        return (x == y) == (a == b) && (x != y) == (a != b) && (x < y) == (a < b) &&
               (x <= y) == (a <= b) && (x > y) == (a > b) && (x >= y) == (a >= b) &&
               std::isinf(x) == fexpr::numeric::portable_is_infinite(a) &&
               std::isnan(x) == fexpr::numeric::portable_is_nan(a) &&
               std::signbit(x) == fexpr::numeric::portable_sign_bit(a);
    });
}

// The engine's chains, written once for both types as the engine writes them.
template <typename wide>
wide from_parts(bool negative, int exponent, std::uint64_t significand) {
    if constexpr (std::is_same_v<wide, portable_extended>) {
        return fexpr::numeric::portable_from_parts(negative, exponent, significand);
    } else {
        return fexpr::numeric::extended_from_parts(negative, exponent, significand);
    }
}

template <typename wide>
double join(double a, double b) {
    const wide x = a;
    const wide y = b;
    return static_cast<double>(x * 60 + y);
}

template <typename wide>
double degrees_to_radians(double x) {
    const wide one_over_180 = from_parts<wide>(false, -71, 0xB60B60B60B60B60B);
    return static_cast<double>(static_cast<wide>(x) * 3.141592653589793 * one_over_180);
}

template <typename wide>
double radians_to_degrees(double x) {
    const wide one_over_pi = from_parts<wide>(false, -65, 0xA2F9836E4E4416F4);
    return static_cast<double>(one_over_pi * static_cast<wide>(x) * 180);
}

template <typename wide>
std::int64_t milliseconds(double seconds) {
    const double remainder = std::fmod(seconds, 1000.0);
    const wide scaled = static_cast<wide>(remainder) * 1000 + static_cast<wide>(0.5);
    return static_cast<std::int64_t>(scaled);
}

// x^|y| by squaring, then the reciprocal for a negative y, as the power service runs it.
template <typename wide>
wide power(double x, int y) {
    auto bits = static_cast<unsigned>(y < 0 ? -y : y);
    wide base = x;
    wide result = 1;
    while (bits != 0) {
        if ((bits & 1U) != 0) result *= base;
        bits >>= 1U;
        if (bits != 0) base *= base;
    }
    return y < 0 ? 1 / result : result;
}

bool same_double(double a, double b) {
    return bits_of(a) == bits_of(b);
}

TEST(PortableExtended, EngineChainsMatchTheX87) {
    check("x*60+y", 2331, [](operand_source& source) {
        const double a = random_double(source);
        const double b = source.below(4) == 0 ? -a * 60 : random_double(source);
        return same_double(join<long double>(a, b), join<portable_extended>(a, b));
    });
    check("d2r", 2332, [](operand_source& source) {
        const double x = random_double(source);
        return same_double(degrees_to_radians<long double>(x),
                           degrees_to_radians<portable_extended>(x));
    });
    check("r2d", 2333, [](operand_source& source) {
        const double x = random_double(source);
        return same_double(radians_to_degrees<long double>(x),
                           radians_to_degrees<portable_extended>(x));
    });
    check("milliseconds", 2334, [](operand_source& source) {
        double seconds = std::ldexp(static_cast<double>(source.bits() >> 11), -53) * 3.15576e11;
        if (source.below(2) == 0) seconds = std::ldexp(std::floor(seconds * 2048), -11);
        if (seconds < 1) seconds += 1;
        return milliseconds<long double>(seconds) == milliseconds<portable_extended>(seconds);
    });
    check("power", 2335, [](operand_source& source) {
        const double x = random_double(source);
        const int y = source.below(8191) - 4095;
        const long double hardware = power<long double>(x, y);
        const portable_extended model = power<portable_extended>(x, y);
        return same_bits(hardware, model) &&
               same_double(static_cast<double>(hardware), static_cast<double>(model));
    });
    check("y*t", 2336, [](operand_source& source) {
        const double y = random_double(source);
        const portable_extended t = source.value(16383 - 64, 16383 + 12);
        const long double hardware = static_cast<long double>(y) * hardware_of(t);
        const portable_extended model = portable_extended(y) * t;
        return same_bits(hardware, model) && (hardware >= 709.78125) == (model >= 709.78125);
    });
}

#endif

// The x87's NaN rules and signed zeros, on every platform: the rows the comparison above
// draws at random, written out so that a build without the x87 checks them too.
struct nan_case {
    const char* label;
    portable_extended (*operation)(portable_extended, portable_extended);
    std::uint64_t a_significand;
    std::uint16_t a_sign_exponent;
    std::uint64_t b_significand;
    std::uint16_t b_sign_exponent;
    std::uint64_t significand;
    std::uint16_t sign_exponent;
};

portable_extended add(portable_extended a, portable_extended b) {
    return a + b;
}
portable_extended subtract(portable_extended a, portable_extended b) {
    return a - b;
}
portable_extended multiply(portable_extended a, portable_extended b) {
    return a * b;
}
portable_extended divide(portable_extended a, portable_extended b) {
    return a / b;
}

constexpr std::uint64_t top = 0x8000000000000000;
constexpr std::uint64_t quiet = 0xC000000000000000;

const nan_case nan_cases[] = {
    {"0/0 is the default NaN", divide, 0, 0, 0, 0, quiet, 0xFFFF},
    {"inf-inf", subtract, top, 0x7FFF, top, 0x7FFF, quiet, 0xFFFF},
    {"inf+-inf", add, top, 0xFFFF, top, 0x7FFF, quiet, 0xFFFF},
    {"0*inf", multiply, 0, 0x8000, top, 0x7FFF, quiet, 0xFFFF},
    {"inf/inf", divide, top, 0x7FFF, top, 0xFFFF, quiet, 0xFFFF},
    {"larger significand wins", add, quiet | 1, 0x7FFF, quiet | 2, 0xFFFF, quiet | 2, 0xFFFF},
    {"larger significand wins, order swapped", add, quiet | 2, 0xFFFF, quiet | 1, 0x7FFF, quiet | 2,
     0xFFFF},
    {"equal significands: the positive", multiply, quiet | 1, 0xFFFF, quiet | 1, 0x7FFF, quiet | 1,
     0x7FFF},
    {"quiet beats signalling", add, top | 5, 0x7FFF, quiet | 1, 0xFFFF, quiet | 1, 0xFFFF},
    {"signalling is quieted", divide, top | 5, 0xFFFF, top, 0x3FFF, quiet | 5, 0xFFFF},
    {"subtracting a NaN keeps its sign", subtract, top, 0x3FFF, quiet | 7, 0x7FFF, quiet | 7,
     0x7FFF},
    {"x-x is +0", subtract, top | 3, 0xBFFF, top | 3, 0xBFFF, 0, 0},
    {"-0+-0 is -0", add, 0, 0x8000, 0, 0x8000, 0, 0x8000},
    {"-0-+0 is -0", subtract, 0, 0x8000, 0, 0, 0, 0x8000},
    {"1/-0 is -inf", divide, top, 0x3FFF, 0, 0x8000, top, 0xFFFF},
    {"denormal*2 carries into the normal range", multiply, 0xFFFFFFFFFFFFFFFF >> 1, 0, top, 0x4000,
     0xFFFFFFFFFFFFFFFE, 1},
    {"a denormal rounds up to the smallest normal", multiply, 0x7FFFFFFFFFFFFFFF, 0,
     0x8000000000000001, 0x3FFF, top, 1},
    {"largest*2 overflows", multiply, ~0ULL, 0x7FFE, top, 0x4000, top, 0x7FFF},
};

TEST(PortableExtended, NanRulesAndSignedZeros) {
    for (const nan_case& row : nan_cases) {
        portable_extended a;
        a.significand = row.a_significand;
        a.sign_exponent = row.a_sign_exponent;
        portable_extended b;
        b.significand = row.b_significand;
        b.sign_exponent = row.b_sign_exponent;
        const portable_extended result = row.operation(a, b);
        EXPECT_EQ(result.significand, row.significand) << row.label;
        EXPECT_EQ(result.sign_exponent, row.sign_exponent) << row.label;
    }
    const portable_extended root = fexpr::numeric::portable_sqrt(portable_extended(-1.0));
    EXPECT_EQ(root.sign_exponent, 0xFFFF);
    EXPECT_EQ(root.significand, quiet);
    EXPECT_TRUE(std::signbit(static_cast<double>(root)));
}

}  // namespace
