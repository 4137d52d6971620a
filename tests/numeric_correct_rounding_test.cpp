// The elementary functions against MPFR: seeded random arguments over each function's whole
// domain, MPFR's value rounded to 64 bits (nearest, ties to even) as the reference, compared
// bit for bit, and as the double store() makes of it. FEXPR_FUNCTION_CHECK_COUNT sets the
// arguments per function (scripts/check-functions runs 10,000,000).
#if FEXPR_HAVE_MPFR
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>

#include "numeric/elementary_functions.h"

namespace {

using fexpr::numeric::elementary_function;
using fexpr::numeric::extended_parts;

using generator = std::mt19937_64;

// A double with random bits between the binary exponents low and high (subnormals below
// -1022), and a random sign when signed_value.
double random_bits(generator& random, int low, int high, bool signed_value) {
    const int exponent = low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
    const double m = std::ldexp(static_cast<double>(random() >> 12), -53) + 0.5;
    double value = std::ldexp(m, exponent + 1);
    if (exponent < -1022) value = std::ldexp(static_cast<double>(random() >> 12), -1074);
    return signed_value && (random() & 1U) != 0 ? -value : value;
}

double uniform(generator& random, double low, double high) {
    return low + (high - low) * std::ldexp(static_cast<double>(random() >> 11), -53);
}

// x moved by up to 64 units in the last place either way.
double nudge(generator& random, double x) {
    const int steps = static_cast<int>(random() % 129) - 64;
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) {
        x = std::nextafter(x, steps < 0 ? -INFINITY : INFINITY);
    }
    return x;
}

// Arguments of the trigonometric functions: any magnitude below 2^53, near multiples of
// pi/2 up to 2^53, and the first turns.
double trigonometric_argument(generator& random) {
    switch (random() % 3) {
        case 0:
            return random_bits(random, -1074, 52, true);
        case 1: {
            const double k =
                std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 53));
            const double near = std::floor(k) * 1.5707963267948966;
            return near < 9007199254740992.0 ? nudge(random, near) : 1.0;
        }
        default:
            return uniform(random, -10, 10);
    }
}

double arc_argument(generator& random) {
    switch (random() % 3) {
        case 0:
            return uniform(random, -1, 1);
        case 1: {
            const double near_one = 1 - std::ldexp(static_cast<double>(random() % 1024),
                                                   -10 - static_cast<int>(random() % 53));
            return (random() & 1U) != 0 ? -near_one : near_one;
        }
        default:
            return random_bits(random, -1074, -1, true);
    }
}

double logarithm_argument(generator& random) {
    switch (random() % 4) {
        case 0:
            return random_bits(random, -1074, 1023, false);
        case 1:
            return nudge(random, 1.0);
        case 2:
            return 1 + std::ldexp(uniform(random, -1, 1), -static_cast<int>(random() % 52));
        default:
            return nudge(random, std::pow(10.0, static_cast<double>(random() % 23)));
    }
}

double exponential_argument(generator& random) {
    switch (random() % 4) {
        case 0:
            return uniform(random, -708.39599609375, 709.7822265625);
        case 1:
            return random_bits(random, -1074, 9, true);
        case 2:
            return nudge(random, (random() & 1U) != 0 ? 709.78 : -708.39);
        default:
            return uniform(random, -2, 2);
    }
}

struct power_arguments {
    double x;
    double y;
};

/* Powers: y chosen for a t = y ln x anywhere in the range, x near 1 with huge y, and squares
 * raised to halves (exact results, some of them exact midpoints of 64-bit values). */
power_arguments power_argument(generator& random) {
    switch (random() % 4) {
        case 0: {
            const double x = random_bits(random, -1074, 1023, false);
            return {x, uniform(random, -709, 709) / std::log(x)};
        }
        case 1: {
            const double x = 1 + std::ldexp(static_cast<double>(random() % 4096) - 2048, -52);
            return {x, uniform(random, -709, 709) / std::log(x)};
        }
        case 2: {
            const double a = static_cast<double>((random() >> 42) | 1U);
            return {a * a, static_cast<double>(random() % 7) + 0.5};
        }
        default:
            return {uniform(random, 0, 20), uniform(random, -60, 60)};
    }
}

// MPFR at 64 bits, rounding to nearest, with room for every exponent.
struct reference {
    mpfr_t x;
    mpfr_t y;
    mpfr_t value;
    mpz_t significand;

    reference() {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
        mpfr_inits2(64, x, y, value, static_cast<mpfr_ptr>(nullptr));
        mpz_init(significand);
    }
    ~reference() {
        mpfr_clears(x, y, value, static_cast<mpfr_ptr>(nullptr));
        mpz_clear(significand);
    }

    void compute(elementary_function function, double a, double b) {
        mpfr_set_d(x, a, MPFR_RNDN);
        mpfr_set_d(y, b, MPFR_RNDN);
        switch (function) {
            case elementary_function::sin:
                mpfr_sin(value, x, MPFR_RNDN);
                break;
            case elementary_function::cos:
                mpfr_cos(value, x, MPFR_RNDN);
                break;
            case elementary_function::tan:
                mpfr_tan(value, x, MPFR_RNDN);
                break;
            case elementary_function::asin:
                mpfr_asin(value, x, MPFR_RNDN);
                break;
            case elementary_function::acos:
                mpfr_acos(value, x, MPFR_RNDN);
                break;
            case elementary_function::atan:
                mpfr_atan(value, x, MPFR_RNDN);
                break;
            case elementary_function::log:
                mpfr_log(value, x, MPFR_RNDN);
                break;
            case elementary_function::log10:
                mpfr_log10(value, x, MPFR_RNDN);
                break;
            case elementary_function::exp:
                mpfr_exp(value, x, MPFR_RNDN);
                break;
            case elementary_function::pow:
                mpfr_pow(value, x, y, MPFR_RNDN);
                break;
        }
    }

    // The value as parts: significand * 2^exponent with the top bit of 64 set.
    extended_parts parts() {
        if (mpfr_zero_p(value)) return {mpfr_signbit(value) != 0, 0, 0};
        const long exponent = mpfr_get_z_2exp(significand, value);
        mpz_abs(significand, significand);
        const auto high = static_cast<std::uint64_t>(mpz_getlimbn(significand, 0));
        return {mpfr_signbit(value) != 0, static_cast<int>(exponent), high};
    }
};

struct function_case {
    const char* name;
    elementary_function function;
};

const function_case function_cases[] = {
    {"sin", elementary_function::sin},   {"cos", elementary_function::cos},
    {"tan", elementary_function::tan},   {"asin", elementary_function::asin},
    {"acos", elementary_function::acos}, {"atan", elementary_function::atan},
    {"log", elementary_function::log},   {"log10", elementary_function::log10},
    {"exp", elementary_function::exp},   {"pow", elementary_function::pow},
};

// The name in test listings.
void PrintTo(const function_case& c, std::ostream* out) {
    *out << c.name;
}

power_arguments argument_for(elementary_function function, generator& random) {
    switch (function) {
        case elementary_function::sin:
        case elementary_function::cos:
        case elementary_function::tan:
            return {trigonometric_argument(random), 0};
        case elementary_function::asin:
        case elementary_function::acos:
            return {arc_argument(random), 0};
        case elementary_function::atan:
            return {(random() % 1000) == 0 ? INFINITY : random_bits(random, -1074, 1023, true), 0};
        case elementary_function::log:
        case elementary_function::log10:
            return {logarithm_argument(random), 0};
        case elementary_function::exp:
            return {exponential_argument(random), 0};
        case elementary_function::pow:
            return power_argument(random);
    }
    return {0, 0};
}

long argument_count() {
    const char* text = std::getenv("FEXPR_FUNCTION_CHECK_COUNT");
    return text != nullptr && std::atol(text) > 0 ? std::atol(text) : 100000;
}

class CorrectRounding : public testing::TestWithParam<function_case> {};

TEST_P(CorrectRounding, MatchesMpfr) {
    const function_case& c = GetParam();
    generator random(20261210 + static_cast<unsigned>(c.function));
    reference mpfr;
    const long count = argument_count();
    long differences = 0;
    long checked = 0;
    const std::uint64_t fallbacks_before = fexpr::numeric::elementary_fallbacks();
    while (checked < count) {
        const power_arguments args = argument_for(c.function, random);
        if (c.function == elementary_function::pow &&
            !(std::fabs(args.y * std::log(args.x)) < 709.78 && std::isfinite(args.y))) {
            continue;
        }
        ++checked;
        const extended_parts ours = fexpr::numeric::elementary_parts(c.function, args.x, args.y);
        mpfr.compute(c.function, args.x, args.y);
        const extended_parts theirs = mpfr.parts();
        const double stored = fexpr::numeric::store(
            fexpr::numeric::extended_from_parts(ours.negative, ours.exponent, ours.significand));
        const double expected = mpfr_get_d(mpfr.value, MPFR_RNDN);
        const bool same = ours.significand == theirs.significand &&
                          ours.exponent == theirs.exponent && ours.negative == theirs.negative &&
                          (stored == expected || (std::isnan(stored) && std::isnan(expected)));
        if (!same && ++differences <= 5) {
            ADD_FAILURE() << c.name << "(" << std::hexfloat << args.x << ", " << args.y
                          << "): ours " << ours.significand << "p" << std::dec << ours.exponent
                          << ", MPFR " << std::hex << theirs.significand << "p" << std::dec
                          << theirs.exponent;
        }
    }
    const std::uint64_t fallbacks = fexpr::numeric::elementary_fallbacks() - fallbacks_before;
    std::printf("%-5s %ld arguments, %ld differences, %llu fallbacks\n", c.name, checked,
                differences, static_cast<unsigned long long>(fallbacks));
    std::fflush(stdout);
    EXPECT_EQ(differences, 0);
}

INSTANTIATE_TEST_SUITE_P(Functions, CorrectRounding, testing::ValuesIn(function_cases),
                         [](const testing::TestParamInfo<function_case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
#endif
