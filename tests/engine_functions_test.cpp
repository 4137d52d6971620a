// The unary functions: application order, the degree conversions, sign and round, and the
// math errors they report on standard error.
#include <cmath>
#include <limits>
#include <string>

#include "engine/functions.h"
#include "engine_harness.h"
#include "engine_test_tables.h"
#include "numeric/math_services.h"

namespace {

using namespace fexpr::testing;

const double inf = std::numeric_limits<double>::infinity();
const double pi = 3.141592653589793;

// A negative zero that a function gives stays negative while it is an operand ('1/ceil(0-0.5)'
// is -inf); the level's bottom '+' then makes a whole expression of -0 into 0 + -0 = +0.
TEST(EngineFunctions, ValuesAndOrderOfApplication) {
    using fexpr::numeric::math_cos;
    using fexpr::numeric::math_sin;
    const value_case cases[] = {{"sin0", 0},
                                {"cosPi", -1},
                                {"tan0", 0},
                                {"Tan0", 0},
                                {"lg1000", 3},
                                {"ln1", 0},
                                {"exp0", 1},
                                {"exp(0-1000)", 0},
                                {"ceil2.1", 3},
                                {"floor(0-2.1)", -3},
                                {"1/ceil(0-0.5)", -inf},
                                {"sign(0-5)", -1},
                                {"sign0", 0},
                                {"ceil(0-0.5)", 0},
                                {"sign7", 1},
                                {"signceil(0-0.5)", 0},
                                {"abs(0-3)", 3},
                                {"absceil(0-0.5)", 0},
                                {"SQRT16", 4},
                                {"Sqrt16", 4},
                                {"sqrtsqrt256", 4},
                                {"sqrtsqrt16", 2},
                                {"lnexp2", 2},
                                {"sqrt16^2", 16},
                                {"sqrt(9+16)", 5},
                                {"r2dd2r45", 45},
                                {"sincos1", math_sin(math_cos(1))},
                                {"arctan(1/0)", pi / 2},
                                {"-sqrt4", -2},
                                {"2^sqrt4", 4},
                                {"sqrt(sqrt(16))", 2}};
    expect_values(cases);
}

TEST(EngineFunctions, DegreeConversions) {
    const value_case cases[] = {
        {"d2r180", pi}, {"d2r90", 1.5707963267948966}, {"d2r1", 0.017453292519943295},
        {"r2dPi", 180}, {"r2d1", 57.29577951308232},   {"d2r0", 0}};
    expect_values(cases);
    EXPECT_EQ(bits_of(run_engine("d2r180").value), 0x400921FB54442D18ull);
    // The two products with a 64-bit significand differ from x * (pi / 180) in double.
    EXPECT_EQ(run_engine("d2r10000000000").value, 174532925.19943294);
}

TEST(EngineFunctions, RoundHalvesToEven) {
    const value_case cases[] = {
        {"round2.4", 2},          {"round2.6", 3},
        {"round2.5", 2},          {"round3.5", 4},
        {"round0.5", 0},          {"round(0-2.5)", -2},
        {"1/round(0-0.4)", -inf}, {"round1e300", 1e300},
        {"round(1/0)", inf},      {"round4503599627370495.5", 4503599627370496}};
    expect_values(cases);
}

TEST(EngineFunctions, SignAndRoundDirectly) {
    using fexpr::engine::round_to_places;
    using fexpr::engine::sign_of;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(bits_of(sign_of(-0.0)), bits_of(0.0));
    EXPECT_EQ(bits_of(sign_of(-nan)), bits_of(-nan));
    EXPECT_EQ(bits_of(sign_of(nan)), bits_of(nan));
    EXPECT_EQ(sign_of(-inf), -1);
    const struct {
        double x;
        short places;
        double rounded;
    } cases[] = {
        {1.25, 1, 1.2},
        {0.125, 2, 0.12},
        {-4503599627370495.5, 15, -4503599627370495.5},  // a text longer than 31 characters
        {std::ldexp(1.0, 70), 0, std::ldexp(1.0, 70)},
        {-1e35, 0, -1e35},
        {1e300, 3, 1e300},
        {-inf, 0, -inf}};
    for (const auto& c : cases) {
        EXPECT_EQ(bits_of(round_to_places(c.x, c.places)), bits_of(c.rounded)) << c.x;
    }
    EXPECT_TRUE(std::signbit(round_to_places(-nan, 0)));
    EXPECT_TRUE(std::isnan(round_to_places(nan, 0)));
}

// Math errors go to standard error under the service's report name and evaluation goes on.
TEST(EngineFunctions, MathErrorsAreReportedAndEvaluationGoesOn) {
    const struct {
        const char* expression;
        const char* report;
        double value;
    } cases[] = {{"sqrt(0-4)", "\r\nsqrt: DOMAIN error\r\n", std::nan("")},
                 {"lg0", "\r\nlog10: SING error\r\n", -inf},
                 {"ln0", "\r\nlog: SING error\r\n", -inf},
                 {"exp1000", "\r\nexp: OVERFLOW error\r\n", inf},
                 {"arcsin2", "\r\nasin: DOMAIN error\r\n", std::nan("")},
                 {"arccos2", "\r\nacos: DOMAIN error\r\n", std::nan("")},
                 {"lnexp1000", "\r\nexp: OVERFLOW error\r\n\r\nlog: OVERFLOW error\r\n", inf},
                 {"sin10000000000000000", "", std::nan("")},
                 {"exp(0-1000)", "", 0},
                 {"0^0", "\r\npow: DOMAIN error\r\n", 1}};
    for (const auto& c : cases) {
        const engine_run run = run_engine(c.expression, true);
        EXPECT_FALSE(run.ended) << c.expression;
        EXPECT_EQ(run.error_text, c.report) << c.expression;
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(run.value)) << c.expression;
        } else {
            EXPECT_EQ(run.value, c.value) << c.expression;
        }
    }
}

// A function in front of Pi or a unit letter runs on it before what follows the constant is
// rejected.
TEST(EngineFunctions, PendingFunctionRunsBeforeWhatFollowsAConstantIsRejected) {
    const struct {
        const char* expression;
        int status;
        const char* report;
    } cases[] = {{"arcsinPik", 2, "\r\nasin: DOMAIN error\r\n"},
                 {"arcsinPi(1)", 3, "\r\nasin: DOMAIN error\r\n"},
                 {"arccosk(1)", 3, "\r\nacos: DOMAIN error\r\n"},
                 {"expPsin1", 2, "\r\nexp: OVERFLOW error\r\n"},
                 {"(arcsin2)Pi", 1, "\r\nasin: DOMAIN error\r\n"},
                 {"arcsin(2)k", 1, "\r\nasin: DOMAIN error\r\n"}};
    for (const auto& c : cases) {
        const engine_run run = run_engine(c.expression, true);
        EXPECT_EQ(run.status, c.status) << c.expression;
        EXPECT_EQ(run.error_text, c.report) << c.expression;
    }
}

// A function in front of a character that starts no number runs on 0 before status 8.
TEST(EngineFunctions, PendingFunctionRunsBeforeInvalidCharacter) {
    const engine_run run = run_engine("ln#", true);
    EXPECT_EQ(run.status, 8);
    EXPECT_EQ(run.message, std::string(invalid_character) + "\n");
    EXPECT_EQ(run.error_text, "\r\nlog: SING error\r\n");
    const failure_case cases[] = {
        {"sin", 9, incorrect}, {"(sin)", 9, incorrect}, {"sqrt*2", 5, adhesion}};
    expect_failures(cases);
}

}  // namespace
