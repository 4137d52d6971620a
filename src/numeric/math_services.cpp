// The mathematical services: edge cases, substitute results and the report of math errors.
#include "numeric/math_services.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

#include "numeric/elementary_functions.h"
#include "numeric/extended.h"
#include "platform/output_stream.h"
#include "platform/text_builder.h"

namespace fexpr::numeric {
namespace {

// Printed names of the error kinds, indexed by kind.
constexpr const char* kind_names[] = {"",          "DOMAIN", "SING", "OVERFLOW",
                                      "UNDERFLOW", "TLOSS",  "PLOSS"};
constexpr int kind_count = static_cast<int>(sizeof kind_names / sizeof kind_names[0]);

// Trigonometric arguments from 2^53 on have no meaningful fraction of a turn left.
constexpr double trig_limit = 9007199254740992.0;
// Exponential arguments from which the result leaves the normal double range.
constexpr double exp_overflow_limit = 709.7822265625;
constexpr double exp_underflow_limit = -708.39599609375;
// Limit of y·ln|x| for the power.
constexpr double pow_exponent_limit = 709.78125;
// Integral exponents below this magnitude are raised by repeated squaring.
constexpr double pow_squaring_limit = 4096.0;
// Exponents of 2^63 or more in magnitude count as not integral.
constexpr double pow_integral_limit = 9223372036854775808.0;

double positive_nan() noexcept {
    return std::copysign(std::numeric_limits<double>::quiet_NaN(), 1.0);
}

double negative_nan() noexcept {
    return std::copysign(std::numeric_limits<double>::quiet_NaN(), -1.0);
}

double positive_infinity() noexcept {
    return std::numeric_limits<double>::infinity();
}

bool is_positive_nan(double x) noexcept {
    return std::isnan(x) && !std::signbit(x);
}

// True when y is a whole number below 2^63 in magnitude.
bool is_integral(double y) noexcept {
    return std::fabs(y) < pow_integral_limit && std::trunc(y) == y;
}

// True for an integral y that is odd (every double from 2^53 on is even).
bool is_odd_integral(double y) noexcept {
    return is_integral(y) && std::fmod(y, 2.0) != 0.0;
}

/* x^y for an integral |y| < 4096 by square and multiply over the bits of |y|, in extended
 * precision, with the reciprocal taken at the end for a negative y. Returns false when the
 * stored result would leave the double range: it overflows to infinity, or underflows to zero
 * (subnormal results are exact enough and are kept). The extended range is wider than the
 * double range, so the intermediate squares of 10^400 stay finite; a product that overflows
 * even the extended range gives infinity and is caught the same way. */
bool power_by_squaring(double x, double y, double* result) noexcept {
    auto bits = static_cast<unsigned>(std::fabs(y));
    extended base = x;
    extended power = 1;
    while (bits != 0) {
        if ((bits & 1U) != 0) power *= base;
        bits >>= 1U;
        if (bits != 0) base *= base;
    }
    if (y < 0) {
        if (power == 0 || extended_is_infinite(power)) return false;
        power = 1 / power;
    }
    const double stored = store(power);
    if (std::isinf(stored) || stored == 0) return false;
    *result = stored;
    return true;
}

// The power for finite nonzero x and finite nonzero y once the special rows are settled.
double power_of_finite(double x, double y) noexcept {
    double result = 0;
    if (is_integral(y) && std::fabs(y) < pow_squaring_limit && power_by_squaring(x, y, &result)) {
        return result;
    }
    const double magnitude = std::fabs(x);
    const extended t = static_cast<extended>(y) * elementary_log(magnitude);
    if (t >= pow_exponent_limit) {
        return report_math_error(math_overflow, "pow", positive_infinity());
    }
    if (t <= -pow_exponent_limit) return report_math_error(math_underflow, "pow", 0.0);
    // e^t is |x|^y; the power itself gives it without the error that rounding t carries.
    result = store(elementary_pow(magnitude, y));
    return x < 0 && is_odd_integral(y) ? -result : result;
}

// The sign-independent tests shared by the two logarithms; returns true when settled.
bool logarithm_edge(double x, const char* name, double* result) noexcept {
    if (x == 0) {
        *result =
            report_math_error(math_singularity, name, -std::numeric_limits<double>::infinity());
    } else if (std::signbit(x)) {
        *result = report_math_error(math_domain, name, negative_nan());
    } else if (std::isinf(x)) {
        *result = report_math_error(math_overflow, name, positive_infinity());
    } else if (std::isnan(x)) {
        *result = x;
    } else {
        return false;
    }
    return true;
}

}  // namespace

double report_math_error(math_error_kind kind, const char* name, double substitute) noexcept {
    if (kind == math_underflow) return 0.0;
    if (kind == math_total_loss) return substitute;
    const int index = static_cast<int>(kind);
    const char* kind_name = index > 0 && index < kind_count ? kind_names[index] : "UNKNOWN";
    // Report names are short; a longer one is cut so that the kind and the line ends still fit.
    char message[96];
    platform::text_builder builder = platform::make_builder(message, sizeof message);
    platform::append_text(builder, platform::standard_error_crlf);
    platform::append_text(builder, name, sizeof message - 26);
    platform::append_text(builder, ": ");
    platform::append_text(builder, kind_name);
    platform::append_text(builder, " error");
    platform::append_text(builder, platform::standard_error_crlf);
    platform::write_standard_error(message, builder.length);
    return substitute;
}

/* Sine, cosine and tangent: arguments of magnitude 2^53 or more, infinities and NaNs are a
 * silent total loss with a positive NaN. Near an odd multiple of pi/2 the tangent is a large
 * finite value (the double nearest pi/2 gives 1.633123935319537e16). */
double math_sin(double x) noexcept {
    if (!(std::fabs(x) < trig_limit)) {
        return report_math_error(math_total_loss, "sin", positive_nan());
    }
    return store(elementary_sin(x));
}

double math_cos(double x) noexcept {
    if (!(std::fabs(x) < trig_limit)) {
        return report_math_error(math_total_loss, "cos", positive_nan());
    }
    return store(elementary_cos(x));
}

double math_tan(double x) noexcept {
    if (!(std::fabs(x) < trig_limit)) {
        return report_math_error(math_total_loss, "tan", positive_nan());
    }
    return store(elementary_tan(x));
}

// Square root: ±0 and positive NaNs come back unchanged; negative values, -inf and negative
// NaNs are a domain error with a positive NaN.
double math_sqrt(double x) noexcept {
    if (x == 0 || is_positive_nan(x)) return x;
    if (std::signbit(x)) return report_math_error(math_domain, "sqrt", positive_nan());
    return store(elementary_sqrt(x));
}

// Arc sine: ±0 gives +0; |x| > 1, infinities and NaNs are a domain error.
double math_asin(double x) noexcept {
    if (!(std::fabs(x) <= 1.0)) {
        return report_math_error(math_domain, "asin", positive_nan());
    }
    if (x == 0) return 0.0;
    return store(elementary_asin(x));
}

double math_acos(double x) noexcept {
    if (!(std::fabs(x) <= 1.0)) {
        return report_math_error(math_domain, "acos", positive_nan());
    }
    return store(elementary_acos(x));
}

// Arc tangent: defined everywhere, a NaN comes back unchanged.
double math_atan(double x) noexcept {
    if (std::isnan(x)) return x;
    return store(elementary_atan(x));
}

double math_log(double x) noexcept {
    double result = 0;
    if (logarithm_edge(x, "log", &result)) return result;
    return store(elementary_log(x));
}

double math_log10(double x) noexcept {
    double result = 0;
    if (logarithm_edge(x, "log10", &result)) return result;
    return store(elementary_log10(x));
}

/* Exponential: from 709.7822265625 on, +inf and positive NaNs overflow (+inf, reported);
 * up to -708.39599609375, -inf and negative NaNs underflow silently to 0. Between the two the
 * result is a normal double. */
double math_exp(double x) noexcept {
    if (x >= exp_overflow_limit || is_positive_nan(x)) {
        return report_math_error(math_overflow, "exp", positive_infinity());
    }
    if (x <= exp_underflow_limit || std::isnan(x)) {
        return report_math_error(math_underflow, "exp", 0.0);
    }
    return store(elementary_exp(x));
}

double math_ceil(double x) noexcept {
    return std::ceil(x);
}

double math_floor(double x) noexcept {
    return std::floor(x);
}

double math_fabs(double x) noexcept {
    return std::fabs(x);
}

/* Floating remainder in this order: a zero divisor gives +0; an infinite or NaN divisor gives
 * the dividend itself; a zero, infinite or NaN dividend gives +0; otherwise the exact
 * remainder with the sign of the dividend (std::fmod is exact). */
double math_fmod(double a, double b) noexcept {
    if (b == 0) return 0.0;
    if (!std::isfinite(b)) return a;
    if (a == 0 || !std::isfinite(a)) return 0.0;
    return std::fmod(a, b);
}

/* Power: the first matching row decides. A zero base: positive y (+inf and positive NaNs
 * included) gives +0, y = +0 a domain error with 1, a negative y (-0, -inf and negative NaNs
 * included) a domain error with +inf. An infinite or NaN base overflows for y >= +0 and
 * underflows silently otherwise. Then y = ±0 gives 1, an infinite or NaN y overflows, and a
 * negative base with a non-integral y is a domain error with a negative NaN. */
double math_pow(double x, double y) noexcept {
    const bool y_positive = y > 0 || is_positive_nan(y);
    const bool y_at_least_plus_zero = y_positive || (y == 0 && !std::signbit(y));
    if (x == 0) {
        if (y_positive) return 0.0;
        if (y_at_least_plus_zero) return report_math_error(math_domain, "pow", 1.0);
        return report_math_error(math_domain, "pow", positive_infinity());
    }
    if (!std::isfinite(x)) {
        if (y_at_least_plus_zero) {
            return report_math_error(math_overflow, "pow", positive_infinity());
        }
        return report_math_error(math_underflow, "pow", 0.0);
    }
    if (y == 0) return 1.0;
    if (!std::isfinite(y)) return report_math_error(math_overflow, "pow", positive_infinity());
    if (x < 0 && !is_integral(y)) return report_math_error(math_domain, "pow", negative_nan());
    return power_of_finite(x, y);
}

}  // namespace fexpr::numeric
