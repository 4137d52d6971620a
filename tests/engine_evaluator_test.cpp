// Operators, precedence classes, levels and the diagnostics of the evaluator.
#include <cmath>
#include <limits>
#include <string>

#include "engine_harness.h"
#include "engine_test_tables.h"

namespace {

using namespace fexpr::testing;

const double two_63 = 9223372036854775808.0;

TEST(EngineEvaluator, OperatorsAndTheirClasses) {
    const value_case cases[] = {{"2+3*4/2^2-1", 4},
                                {"2-3-4", -5},
                                {"2/4/5", 0.1},
                                {"2^(3^2)", 512},
                                {"2^3*2^2", 32},
                                {"-2^2", -4},
                                {"-7%3", -1},
                                {"7%(0-3)", 1},
                                {"-16}2", -4},
                                {"(-15)}2", -4},
                                {"1{4", 16},
                                {"5&3", 1},
                                {"5|3", 7},
                                {"5@3", 6},
                                {"2.9&7", 2},
                                {"(-2.5)&7", 6},
                                {"7%0", 0},
                                {"7.5%2", 1.5},
                                {"1:30", 90},
                                {"1:2:3", 3723},
                                {"2*(-3)", -6},
                                {"+5", 5},
                                {"(+5)*2", 10},
                                {"10-2*3+1", 5},
                                {"1-2|4", -1},
                                {"-(-3)", 3},
                                {"(-(-(-3)))", -3},
                                {"2^10", 1024},
                                {"1{63", -two_63},
                                {"3*2^2*2", 24},
                                {"1/0", std::numeric_limits<double>::infinity()},
                                {"0-1/0", -std::numeric_limits<double>::infinity()}};
    expect_values(cases);
}

// The two cases of the middle-class arrival: chains stay left to right after a power, and a
// bottom '|' or '@' lets a middle-class operator be pushed like '+' and '-'.
TEST(EngineEvaluator, MiddleClassAfterHighClassAndOverBitwiseBottom) {
    const value_case cases[] = {{"8/2^2/2", 1},  {"8/2^2*2", 4}, {"2*3^2%5", 3}, {"1|2*3", 7},
                                {"1+2|3*4", 15}, {"2*3|1", 7},   {"1@3*2", 7},   {"6@1&3", 7},
                                {"9-1|2*2", 12}, {"2^2*3+1", 13}};
    expect_values(cases);
    std::string chain = "2";
    for (int i = 0; i < 200; ++i) chain += "*2^1";
    const engine_run run = run_engine(chain);
    EXPECT_FALSE(run.ended) << run.message;
    EXPECT_EQ(run.value, std::ldexp(1.0, 201));
}

// Shift counts outside 0 … 63 and operands without an integer view.
TEST(EngineEvaluator, ShiftCountsAndMissingIntegerViews) {
    const value_case cases[] = {{"1{64", 0},
                                {"1{100", 0},
                                {"(0-1)}64", -1},
                                {"(0-1)}1000", -1},
                                {"8}64", 0},
                                {"8{(0-2)", 2},
                                {"(0-8)}(0-2)", -32},
                                {"(0-8){(0-1)", -4},
                                {"1{(0-9223372036854775808)", 0},
                                {"(0-1)}(0-9223372036854775808)", 0},
                                {"5}0", 5},
                                {"1{62", 4611686018427387904.0},
                                {"(0/0)|0", -two_63},
                                {"(1/0)&(0-1)", -two_63},
                                {"9223372036854775808@0", -two_63},
                                {"0x7FFFFFFFFFFFFFFF&(0-1)", -two_63}};
    expect_values(cases);
}

// Arithmetic keeps a 64-bit significand until the value is stored, on every platform, and
// an invalid operation gives the x87's negative NaN; of two NaNs with the same payload the
// positive one comes through.
TEST(EngineEvaluator, ExtendedIntermediateResults) {
    const double negative_nan = -std::numeric_limits<double>::quiet_NaN();
    const double positive_nan = std::numeric_limits<double>::quiet_NaN();
    const value_case cases[] = {
        {"91.169:19.61", 5489.75},
        {"137.279*712.658", 97832.977581999992},
        {"0/0", negative_nan},
        {"(1/0)-(1/0)", negative_nan},
        {"0*(1/0)", negative_nan},
        {"(0/0)*(0-1)", negative_nan},
        {"0-(0/0)", negative_nan},
        {"(0/0)+(0-(0/0))", negative_nan},
        {"(0/0)+sqrt(0-1)", positive_nan},
        {"3e306:(0-1e307)", 1.7000000000000001e+308},
        {"(0-1.7976931348623157e308):(1/0)", std::numeric_limits<double>::infinity()}};
    expect_values(cases);
}

TEST(EngineEvaluator, LevelsAndImplicitMultiplication) {
    const value_case cases[] = {
        {"(2+3", 5},     {"((2)", 2},        {"2)+3", 2},           {"2(3)", 6},
        {"(1+1)(3)", 6}, {"(2)sqrt(16)", 8}, {"(2)tan(0)", 0},      {"1 000", 1000},
        {"1,000", 1000}, {"1_000", 1000},    {"1\t0 0,0_0", 10000}, {"(2)(3)(4)", 24},
        {"2(3)^2", 18},  {"-(3)", -3},       {"2(-3)", -6},         {"((((((7", 7}};
    expect_values(cases);
}

// Groups of one number (with a sign and a unit letter or without) are read without a level
// of their own; they give what the level gives, and what follows them is judged as after
// any group.
TEST(EngineEvaluator, GroupsOfOneNumber) {
    const value_case values[] = {{"(2k)", 2000},
                                 {"(+2k)", 2000},
                                 {"(-2k)", -2000},
                                 {"(-0k)", 0},
                                 {"(-0)", 0},
                                 {"(.5k)", 500},
                                 {"(5.k)", 5000},
                                 {"(1.2.3k)", 360},
                                 {"(2t)", 2e12},
                                 {"(3p)", 3e15},
                                 {"(3P)", 3377699720527872.0},
                                 {"(+.5)", 0.5},
                                 {"(-2)^2", 4},
                                 {"(2k", 2000},
                                 {"1+2k", 2000},
                                 {"(2)(3k)", 6000},
                                 {"(1.5)(2)", 3},
                                 {"sqrt(+16)", 4},
                                 {"(2)tan(0)", 0},
                                 {"(0x1k)", 1000},
                                 {"(1e3k)", 1e6},
                                 {"2*-3k", -6000},
                                 {"-(-0)", 0},
                                 {"(12345678901234567890)", 12345678901234567890.0}};
    expect_values(values);
    const failure_case failures[] = {
        {"(.k)", 8, invalid_character},
        {"(2)3", 7, stuck},
        {"(2)K", 1, "K encounters a right parenthesis on the left side"},
        {"(2kk)", 1, "k encounters a right parenthesis on the left side"},
        {"(2k)(", 9, incorrect}};
    expect_failures(failures);
    // Behind 47 waiting functions, as a group of any other shape; one more is too many.
    const engine_run simple = run_engine(repeat_text("sqrt", 47) + "(1k)");
    const engine_run other = run_engine(repeat_text("sqrt", 47) + "(1k+0)");
    EXPECT_FALSE(simple.ended) << simple.message;
    EXPECT_EQ(bits_of(simple.value), bits_of(other.value));
    EXPECT_EQ(run_engine(repeat_text("sqrt", 48) + "(1k)").status, 10);
}

TEST(EngineEvaluator, Diagnostics) {
    const failure_case cases[] = {
        {"2^3^2", 6, high_together}, {"2{3^2", 6, high_together}, {"2}1{2", 6, high_together},
        {"2*-3", 5, adhesion},       {"--3", 5, adhesion},        {"*2", 5, adhesion},
        {"(*2)", 5, adhesion},       {"2+*3", 5, adhesion},       {"sin+1", 5, adhesion},
        {"2*-(3)", 5, adhesion},     {"", 9, incorrect},          {"()", 9, incorrect},
        {"2+", 9, incorrect},        {"-", 9, incorrect},         {"2+sin", 9, incorrect},
        {"(2+)", 9, incorrect},      {"(", 9, incorrect},         {"2*(", 9, incorrect},
        {"(2)3", 7, stuck},          {"(2)#", 7, stuck},          {"2.3.4", 7, stuck}};
    expect_failures(cases);
}

// 47 pending functions fill an operator stack to 48 entries; one more is too many, also
// when an implicit multiplication already took a place.
TEST(EngineEvaluator, StackDepthGuard) {
    const std::string sqrt47 = repeat_text("sqrt", 47) + "1";
    const std::string sqrt48 = repeat_text("sqrt", 48) + "1";
    const engine_run deepest = run_engine(sqrt47);
    EXPECT_FALSE(deepest.ended) << deepest.message;
    EXPECT_EQ(deepest.value, 1);
    const engine_run too_deep = run_engine(sqrt48);
    EXPECT_EQ(too_deep.status, 10);
    EXPECT_EQ(too_deep.message, std::string(too_complex) + "\n");
    EXPECT_FALSE(run_engine("2" + repeat_text("sqrt", 46) + "4").ended);
    EXPECT_EQ(run_engine("2" + repeat_text("sqrt", 47) + "4").status, 10);
    EXPECT_EQ(run_engine("(" + repeat_text("abs", 48) + "1)").status, 10);
}

}  // namespace
