// Edge rows, substitute results (NaN signs included) and report texts of the math services.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "error_capture.h"
#include "numeric/math_services.h"
#include "test_doubles.h"

namespace {

using namespace fexpr::numeric;
using fexpr::testing::bits_of;
using fexpr::testing::capture_standard_error;
using fexpr::testing::same_value;

const double inf = std::numeric_limits<double>::infinity();
const double pos_nan = std::copysign(std::numeric_limits<double>::quiet_NaN(), 1.0);
const double neg_nan = std::copysign(std::numeric_limits<double>::quiet_NaN(), -1.0);
const double double_max = std::numeric_limits<double>::max();
const double two_53 = 9007199254740992.0;
const double pi = 3.141592653589793;
const double half_pi = 1.5707963267948966;

std::string report_line(const char* line) {
    return line[0] == '\0' ? std::string() : "\r\n" + std::string(line) + "\r\n";
}

struct unary_case {
    const char* label;
    double (*service)(double);
    double argument;
    double expected;
    const char* report;  // the line on standard error, "" for none
};

const unary_case unary_cases[] = {
    // Trigonometric services: a silent total loss from 2^53 on.
    {"sin 0", math_sin, 0.0, 0.0, ""},
    {"sin -0", math_sin, -0.0, -0.0, ""},
    {"sin 2^53", math_sin, two_53, pos_nan, ""},
    {"sin -2^53", math_sin, -two_53, pos_nan, ""},
    {"sin 1e16", math_sin, 1e16, pos_nan, ""},
    {"sin 1e300", math_sin, 1e300, pos_nan, ""},
    {"sin +inf", math_sin, inf, pos_nan, ""},
    {"sin -inf", math_sin, -inf, pos_nan, ""},
    {"sin -nan", math_sin, neg_nan, pos_nan, ""},
    {"cos 0", math_cos, 0.0, 1.0, ""},
    {"cos pi", math_cos, pi, -1.0, ""},
    {"cos 2^53", math_cos, two_53, pos_nan, ""},
    {"cos -nan", math_cos, neg_nan, pos_nan, ""},
    {"tan 0", math_tan, 0.0, 0.0, ""},
    {"tan nearest pi/2", math_tan, half_pi, 1.633123935319537e16, ""},
    {"tan -2^53", math_tan, -two_53, pos_nan, ""},
    {"tan -inf", math_tan, -inf, pos_nan, ""},
    // Square root.
    {"sqrt +0", math_sqrt, 0.0, 0.0, ""},
    {"sqrt -0", math_sqrt, -0.0, -0.0, ""},
    {"sqrt 16", math_sqrt, 16.0, 4.0, ""},
    {"sqrt 2", math_sqrt, 2.0, 1.4142135623730951, ""},
    {"sqrt +inf", math_sqrt, inf, inf, ""},
    {"sqrt +nan", math_sqrt, pos_nan, pos_nan, ""},
    {"sqrt -1", math_sqrt, -1.0, pos_nan, "sqrt: DOMAIN error"},
    {"sqrt -4", math_sqrt, -4.0, pos_nan, "sqrt: DOMAIN error"},
    {"sqrt -subnormal", math_sqrt, -0x1p-1074, pos_nan, "sqrt: DOMAIN error"},
    {"sqrt -inf", math_sqrt, -inf, pos_nan, "sqrt: DOMAIN error"},
    {"sqrt -nan", math_sqrt, neg_nan, pos_nan, "sqrt: DOMAIN error"},
    // Arc sine and arc cosine.
    {"asin +0", math_asin, 0.0, 0.0, ""},
    {"asin -0", math_asin, -0.0, 0.0, ""},
    {"asin 1", math_asin, 1.0, half_pi, ""},
    {"asin -1", math_asin, -1.0, -half_pi, ""},
    {"asin 2", math_asin, 2.0, pos_nan, "asin: DOMAIN error"},
    {"asin just above 1", math_asin, 0x1.0000000000001p0, pos_nan, "asin: DOMAIN error"},
    {"asin -inf", math_asin, -inf, pos_nan, "asin: DOMAIN error"},
    {"asin +nan", math_asin, pos_nan, pos_nan, "asin: DOMAIN error"},
    {"asin -nan", math_asin, neg_nan, pos_nan, "asin: DOMAIN error"},
    {"acos +0", math_acos, 0.0, half_pi, ""},
    {"acos -0", math_acos, -0.0, half_pi, ""},
    {"acos 1", math_acos, 1.0, 0.0, ""},
    {"acos -1", math_acos, -1.0, pi, ""},
    {"acos -1.5", math_acos, -1.5, pos_nan, "acos: DOMAIN error"},
    {"acos +inf", math_acos, inf, pos_nan, "acos: DOMAIN error"},
    {"acos -nan", math_acos, neg_nan, pos_nan, "acos: DOMAIN error"},
    // Arc tangent never reports.
    {"atan +inf", math_atan, inf, half_pi, ""},
    {"atan -inf", math_atan, -inf, -half_pi, ""},
    {"atan -0", math_atan, -0.0, -0.0, ""},
    {"atan 1", math_atan, 1.0, 0.7853981633974483, ""},
    {"atan +nan", math_atan, pos_nan, pos_nan, ""},
    {"atan -nan", math_atan, neg_nan, neg_nan, ""},
    // Logarithms.
    {"log +0", math_log, 0.0, -inf, "log: SING error"},
    {"log -0", math_log, -0.0, -inf, "log: SING error"},
    {"log -1", math_log, -1.0, neg_nan, "log: DOMAIN error"},
    {"log -inf", math_log, -inf, neg_nan, "log: DOMAIN error"},
    {"log -nan", math_log, neg_nan, neg_nan, "log: DOMAIN error"},
    {"log +inf", math_log, inf, inf, "log: OVERFLOW error"},
    {"log +nan", math_log, pos_nan, pos_nan, ""},
    {"log 1", math_log, 1.0, 0.0, ""},
    {"log e", math_log, 2.718281828459045, 1.0, ""},
    {"log smallest subnormal", math_log, 0x1p-1074, -744.4400719213812, ""},
    {"log10 +0", math_log10, 0.0, -inf, "log10: SING error"},
    {"log10 -0", math_log10, -0.0, -inf, "log10: SING error"},
    {"log10 -1", math_log10, -1.0, neg_nan, "log10: DOMAIN error"},
    {"log10 -inf", math_log10, -inf, neg_nan, "log10: DOMAIN error"},
    {"log10 -nan", math_log10, neg_nan, neg_nan, "log10: DOMAIN error"},
    {"log10 +inf", math_log10, inf, inf, "log10: OVERFLOW error"},
    {"log10 +nan", math_log10, pos_nan, pos_nan, ""},
    {"log10 1000", math_log10, 1000.0, 3.0, ""},
    {"log10 1", math_log10, 1.0, 0.0, ""},
    {"log10 1e-300", math_log10, 1e-300, -300.0, ""},
    // Exponential: the two thresholds are exact.
    {"exp 0", math_exp, 0.0, 1.0, ""},
    {"exp 1", math_exp, 1.0, 2.718281828459045, ""},
    {"exp 709.78", math_exp, 709.78, 1.7928227943945155e308, ""},
    {"exp at overflow limit", math_exp, 709.7822265625, inf, "exp: OVERFLOW error"},
    {"exp 710", math_exp, 710.0, inf, "exp: OVERFLOW error"},
    {"exp 1000", math_exp, 1000.0, inf, "exp: OVERFLOW error"},
    {"exp +inf", math_exp, inf, inf, "exp: OVERFLOW error"},
    {"exp +nan", math_exp, pos_nan, inf, "exp: OVERFLOW error"},
    {"exp at underflow limit", math_exp, -708.39599609375, 0.0, ""},
    {"exp -1000", math_exp, -1000.0, 0.0, ""},
    {"exp -inf", math_exp, -inf, 0.0, ""},
    {"exp -nan", math_exp, neg_nan, 0.0, ""},
    // Ceiling, floor and absolute value never report.
    {"ceil 2.1", math_ceil, 2.1, 3.0, ""},
    {"ceil -0.5", math_ceil, -0.5, -0.0, ""},
    {"ceil 2^52+1", math_ceil, 4503599627370497.0, 4503599627370497.0, ""},
    {"ceil -inf", math_ceil, -inf, -inf, ""},
    {"ceil -nan", math_ceil, neg_nan, neg_nan, ""},
    {"floor -2.1", math_floor, -2.1, -3.0, ""},
    {"floor 0.5", math_floor, 0.5, 0.0, ""},
    {"floor -0", math_floor, -0.0, -0.0, ""},
    {"floor +inf", math_floor, inf, inf, ""},
    {"floor +nan", math_floor, pos_nan, pos_nan, ""},
    {"fabs -3", math_fabs, -3.0, 3.0, ""},
    {"fabs -0", math_fabs, -0.0, 0.0, ""},
    {"fabs -inf", math_fabs, -inf, inf, ""},
    {"fabs -nan", math_fabs, neg_nan, pos_nan, ""},
};

TEST(MathServices, UnaryEdgeRows) {
    for (const unary_case& row : unary_cases) {
        double result = 0;
        const std::string written =
            capture_standard_error([&] { result = row.service(row.argument); });
        EXPECT_TRUE(same_value(row.expected, result)) << row.label;
        EXPECT_EQ(report_line(row.report), written) << row.label;
    }
}

struct binary_case {
    const char* label;
    double (*service)(double, double);
    double first;
    double second;
    double expected;
    const char* report;
};

const binary_case binary_cases[] = {
    // Floating remainder: the four rules in order.
    {"1 % 0", math_fmod, 1.0, 0.0, 0.0, ""},
    {"-1 % -0", math_fmod, -1.0, -0.0, 0.0, ""},
    {"nan % 0", math_fmod, neg_nan, 0.0, 0.0, ""},
    {"inf % 0", math_fmod, -inf, 0.0, 0.0, ""},
    {"5 % inf", math_fmod, 5.0, inf, 5.0, ""},
    {"-5 % -inf", math_fmod, -5.0, -inf, -5.0, ""},
    {"-0 % inf", math_fmod, -0.0, inf, -0.0, ""},
    {"inf % nan", math_fmod, inf, pos_nan, inf, ""},
    {"-nan % -nan", math_fmod, neg_nan, neg_nan, neg_nan, ""},
    {"5 % -nan", math_fmod, 5.0, neg_nan, 5.0, ""},
    {"+0 % 3", math_fmod, 0.0, 3.0, 0.0, ""},
    {"-0 % 3", math_fmod, -0.0, 3.0, 0.0, ""},
    {"-inf % 3", math_fmod, -inf, 3.0, 0.0, ""},
    {"-nan % 3", math_fmod, neg_nan, 3.0, 0.0, ""},
    {"-6 % 3", math_fmod, -6.0, 3.0, -0.0, ""},
    {"-7 % 3", math_fmod, -7.0, 3.0, -1.0, ""},
    {"7 % -3", math_fmod, 7.0, -3.0, 1.0, ""},
    {"5.5 % 2", math_fmod, 5.5, 2.0, 1.5, ""},
    {"1e17 % 3 exact", math_fmod, 1e17, 3.0, 1.0, ""},
    {"max % smallest subnormal", math_fmod, double_max, 0x1p-1074, 0.0, ""},
    // Power: zero base.
    {"0 ^ 2", math_pow, 0.0, 2.0, 0.0, ""},
    {"-0 ^ 3", math_pow, -0.0, 3.0, 0.0, ""},
    {"0 ^ +inf", math_pow, 0.0, inf, 0.0, ""},
    {"-0 ^ +nan", math_pow, -0.0, pos_nan, 0.0, ""},
    {"0 ^ 0", math_pow, 0.0, 0.0, 1.0, "pow: DOMAIN error"},
    {"-0 ^ 0", math_pow, -0.0, 0.0, 1.0, "pow: DOMAIN error"},
    {"0 ^ -0", math_pow, 0.0, -0.0, inf, "pow: DOMAIN error"},
    {"0 ^ -1", math_pow, 0.0, -1.0, inf, "pow: DOMAIN error"},
    {"-0 ^ -3", math_pow, -0.0, -3.0, inf, "pow: DOMAIN error"},
    {"0 ^ -inf", math_pow, 0.0, -inf, inf, "pow: DOMAIN error"},
    {"0 ^ -nan", math_pow, 0.0, neg_nan, inf, "pow: DOMAIN error"},
    // Infinite or NaN base.
    {"inf ^ 0", math_pow, inf, 0.0, inf, "pow: OVERFLOW error"},
    {"-inf ^ 3", math_pow, -inf, 3.0, inf, "pow: OVERFLOW error"},
    {"nan ^ 2", math_pow, pos_nan, 2.0, inf, "pow: OVERFLOW error"},
    {"-nan ^ +nan", math_pow, neg_nan, pos_nan, inf, "pow: OVERFLOW error"},
    {"inf ^ -0", math_pow, inf, -0.0, 0.0, ""},
    {"-inf ^ -1", math_pow, -inf, -1.0, 0.0, ""},
    {"nan ^ -nan", math_pow, pos_nan, neg_nan, 0.0, ""},
    // Zero, infinite or NaN exponent.
    {"5 ^ 0", math_pow, 5.0, 0.0, 1.0, ""},
    {"-5 ^ -0", math_pow, -5.0, -0.0, 1.0, ""},
    {"2 ^ +inf", math_pow, 2.0, inf, inf, "pow: OVERFLOW error"},
    {"0.5 ^ -inf", math_pow, 0.5, -inf, inf, "pow: OVERFLOW error"},
    {"1 ^ +nan", math_pow, 1.0, pos_nan, inf, "pow: OVERFLOW error"},
    {"-2 ^ -nan", math_pow, -2.0, neg_nan, inf, "pow: OVERFLOW error"},
    // Negative base with a non-integral exponent.
    {"-8 ^ (1/3)", math_pow, -8.0, 1.0 / 3.0, neg_nan, "pow: DOMAIN error"},
    {"-2 ^ 0.5", math_pow, -2.0, 0.5, neg_nan, "pow: DOMAIN error"},
    {"-2 ^ 2^63", math_pow, -2.0, 0x1p63, neg_nan, "pow: DOMAIN error"},
    {"-2 ^ -2^64", math_pow, -2.0, -0x1p64, neg_nan, "pow: DOMAIN error"},
    // Repeated squaring: exact for exact powers, one rounding at the end.
    {"2 ^ 10", math_pow, 2.0, 10.0, 1024.0, ""},
    {"10 ^ 15", math_pow, 10.0, 15.0, 1e15, ""},
    {"10 ^ 22", math_pow, 10.0, 22.0, 1e22, ""},
    {"-2 ^ 3", math_pow, -2.0, 3.0, -8.0, ""},
    {"2 ^ -2", math_pow, 2.0, -2.0, 0.25, ""},
    {"3 ^ 34 rounds once", math_pow, 3.0, 34.0, 16677181699666568.0, ""},
    {"-3 ^ 33", math_pow, -3.0, 33.0, -5559060566555523.0, ""},
    {"2 ^ 1023", math_pow, 2.0, 1023.0, 0x1p1023, ""},
    {"2 ^ -1074 stays subnormal", math_pow, 2.0, -1074.0, 0x1p-1074, ""},
    {"max ^ 1 beyond the t limit", math_pow, double_max, 1.0, double_max, ""},
    {"-max ^ 1", math_pow, -double_max, 1.0, -double_max, ""},
    {"max ^ -1", math_pow, double_max, -1.0, 0x0.4p-1022, ""},
    {"-1 ^ 4095", math_pow, -1.0, 4095.0, -1.0, ""},
    // Beyond the double range or beyond squaring: the t = y ln|x| rows.
    {"2 ^ 1024", math_pow, 2.0, 1024.0, inf, "pow: OVERFLOW error"},
    {"2 ^ -1075", math_pow, 2.0, -1075.0, 0.0, ""},
    {"10 ^ 400", math_pow, 10.0, 400.0, inf, "pow: OVERFLOW error"},
    {"10 ^ -400", math_pow, 10.0, -400.0, 0.0, ""},
    {"-10 ^ 401", math_pow, -10.0, 401.0, inf, "pow: OVERFLOW error"},
    {"-10 ^ -401", math_pow, -10.0, -401.0, 0.0, ""},
    {"-2 ^ 4097", math_pow, -2.0, 4097.0, inf, "pow: OVERFLOW error"},
    {"-0.5 ^ 4097", math_pow, -0.5, 4097.0, 0.0, ""},
    {"10 ^ 308.5", math_pow, 10.0, 308.5, inf, "pow: OVERFLOW error"},
    {"10 ^ -400.5", math_pow, 10.0, -400.5, 0.0, ""},
    {"1e-300 ^ -1.5", math_pow, 1e-300, -1.5, inf, "pow: OVERFLOW error"},
    {"2 ^ 0.5", math_pow, 2.0, 0.5, 1.4142135623730951, ""},
    {"4 ^ -0.5", math_pow, 4.0, -0.5, 0.5, ""},
    {"1 ^ 1e10", math_pow, 1.0, 1e10, 1.0, ""},
    {"-1 ^ 5000", math_pow, -1.0, 5000.0, 1.0, ""},
    {"-1 ^ 5001", math_pow, -1.0, 5001.0, -1.0, ""},
    {"-1 ^ 2^53", math_pow, -1.0, two_53, 1.0, ""},
};

TEST(MathServices, BinaryEdgeRows) {
    for (const binary_case& row : binary_cases) {
        double result = 0;
        const std::string written =
            capture_standard_error([&] { result = row.service(row.first, row.second); });
        EXPECT_TRUE(same_value(row.expected, result)) << row.label;
        EXPECT_EQ(report_line(row.report), written) << row.label;
    }
}

// A negative base with an odd exponent beyond repeated squaring keeps its sign.
TEST(MathServices, PowerNegatesOddExponentsBeyondSquaring) {
    const double result = math_pow(-1.0001, 4097.0);
    EXPECT_LT(result, 0.0);
    EXPECT_NEAR(-std::pow(1.0001, 4097.0), result, 1e-14);
    EXPECT_GT(math_pow(-1.0001, 4098.0), 0.0);
}

TEST(MathServices, ReportWritesOneLinePerPrintedKind) {
    struct report_case {
        math_error_kind kind;
        double substitute;
        double expected;
        const char* line;
    };
    const report_case cases[] = {
        {math_domain, pos_nan, pos_nan, "svc: DOMAIN error"},
        {math_singularity, -inf, -inf, "svc: SING error"},
        {math_overflow, inf, inf, "svc: OVERFLOW error"},
        {math_partial_loss, 2.5, 2.5, "svc: PLOSS error"},
        {math_underflow, 5.0, 0.0, ""},
        {math_underflow, neg_nan, 0.0, ""},
        {math_total_loss, neg_nan, neg_nan, ""},
        {math_total_loss, 7.0, 7.0, ""},
    };
    for (const report_case& row : cases) {
        double result = 0;
        const std::string written = capture_standard_error(
            [&] { result = report_math_error(row.kind, "svc", row.substitute); });
        EXPECT_TRUE(same_value(row.expected, result)) << row.line;
        EXPECT_EQ(report_line(row.line), written) << static_cast<int>(row.kind);
    }
}

// An overlong report name is cut; the kind and the line ends are still written whole.
TEST(MathServices, ReportCutsAnOverlongName) {
    const std::string name(300, 'n');
    const std::string written =
        capture_standard_error([&] { report_math_error(math_overflow, name.c_str(), inf); });
    ASSERT_GT(written.size(), 30u);
    EXPECT_EQ("\r\nnnn", written.substr(0, 5));
    EXPECT_EQ(": OVERFLOW error\r\n", written.substr(written.size() - 18));
    EXPECT_LE(written.size(), 96u);
}

// Reports of nested services come out in the order the services run and do not stop the
// evaluation: the substitute takes part in what follows.
TEST(MathServices, ChainedReportsKeepTheirOrder) {
    double result = 0;
    std::string written = capture_standard_error([&] { result = math_log(math_exp(1000.0)); });
    EXPECT_TRUE(same_value(inf, result));
    EXPECT_EQ("\r\nexp: OVERFLOW error\r\n\r\nlog: OVERFLOW error\r\n", written);

    written = capture_standard_error([&] { result = math_fmod(5.0, math_exp(710.0)); });
    EXPECT_TRUE(same_value(5.0, result));
    EXPECT_EQ("\r\nexp: OVERFLOW error\r\n", written);
}

// Results just inside the exponential's thresholds are ordinary normal doubles.
TEST(MathServices, ExponentialJustInsideItsThresholds) {
    const double below_overflow = std::nextafter(709.7822265625, 0.0);
    const double above_underflow = std::nextafter(-708.39599609375, 0.0);
    EXPECT_TRUE(std::isfinite(math_exp(below_overflow)));
    EXPECT_GE(math_exp(above_underflow), std::numeric_limits<double>::min());
}

// Trigonometric arguments just below 2^53 are still computed.
TEST(MathServices, TrigonometryJustBelowItsLimit) {
    const double below = std::nextafter(two_53, 0.0);
    for (double (*service)(double) : {math_sin, math_cos, math_tan}) {
        EXPECT_TRUE(std::isfinite(service(below)));
        EXPECT_TRUE(std::isfinite(service(-below)));
    }
    EXPECT_NEAR(0.5, math_sin(pi / 6), 1e-16);
}

}  // namespace
