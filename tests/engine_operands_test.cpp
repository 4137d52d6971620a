// Operand scanning: Pi, unit letters, names, radix literals, decimal numbers.
#include <cctype>
#include <cmath>
#include <limits>
#include <string>

#include "engine/functions.h"
#include "engine_harness.h"
#include "engine_test_tables.h"
#include "numeric/math_services.h"

namespace {

using namespace fexpr::testing;

const double pi = 3.141592653589793;
const double two_63 = 9223372036854775808.0;

TEST(EngineOperands, PiAndUnitLetters) {
    const value_case cases[] = {{"Pi", pi},        {"pi", pi},           {"PI", pi},
                                {"pI", pi},        {"K", 1024},          {"k", 1000},
                                {"3K", 3072},      {"m", 1e6},           {"g", 1e9},
                                {"t", 1e12},       {"p", 1e15},          {"M", 1048576},
                                {"G", 1073741824}, {"T", 1099511627776}, {"P", 1125899906842624},
                                {"Pi*2", 2 * pi},  {"K+1", 1025},        {"(K)", 1024},
                                {"2(K)", 2048},    {"sinPi*0", 0},       {"-K", -1024}};
    expect_values(cases);
}

TEST(EngineOperands, WhatMayNotAdjoinPiOrAUnitLetter) {
    const failure_case cases[] = {
        {"Pi2", 7, stuck},
        {"PiPi", 2, joined},
        {"Pie", 2, joined},
        {"Pi(1)", 3, pi_before_group},
        {"(1)Pi", 1, pi_after_group},
        {"KK", 2, joined},
        {"Kt", 2, joined},
        {"Ksin1", 2, joined},
        {"K(2)", 3, "On the right side of K, there is a left parenthesis"},
        {"m(2)", 3, "On the right side of m, there is a left parenthesis"},
        {"(2)K", 1, "K encounters a right parenthesis on the left side"},
        {"(2)p", 1, "p encounters a right parenthesis on the left side"},
        {"(2)t", 1, "t encounters a right parenthesis on the left side"},
        {"(2)Pi", 1, pi_after_group},
        {"k2", 7, stuck},
        {"PiX", 4, unknown_name},
        {"Kb", 4, unknown_name},
        {"KB", 4, unknown_name},
        {"Po", 4, unknown_name},
        {"GO", 4, unknown_name},
        {"KX", 4, unknown_name},
        {"Kx", 9, incorrect}};
    expect_failures(cases);
}

TEST(EngineOperands, FunctionNamesIgnoreCase) {
    using fexpr::numeric::math_cos;
    using fexpr::numeric::math_exp;
    using fexpr::numeric::math_sin;
    const value_case cases[] = {
        {"SIN(0)", 0},         {"sin0", 0},   {"Sqrt(16)", 4},
        {"tan0", 0},           {"TAN(0)", 0}, {"sincos0", math_sin(math_cos(0))},
        {"exp2", math_exp(2)}, {"sqrt16", 4}, {"sqrt(9)+1", 4},
        {"2sqrt9", 6},         {"ARCTAN0", 0}};
    expect_values(cases);
    const failure_case failures[] = {
        {"sinh(1)", 4, unknown_name}, {"foo", 4, unknown_name}, {"expo", 4, unknown_name},
        {"inf", 4, unknown_name},     {"nan", 4, unknown_name}, {"2e", 4, unknown_name},
        {"sh", 4, unknown_name},      {"s", 4, unknown_name},   {"shift", 4, unknown_name}};
    expect_failures(failures);
}

// Every name, in any case, reads as its own function; the name less its last character
// names none (t and p begin unit letters, so tan is left out).
TEST(EngineOperands, EveryFunctionNameInEveryCase) {
    using fexpr::engine::function_names;
    using fexpr::engine::named_functions;
    for (int position = 0; position < fexpr::engine::named_function_count; ++position) {
        const std::string name = function_names[position];
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string mixed = name;
        mixed[0] = upper[0];
        const double expected = named_functions[position].apply(0.5);
        for (const std::string& spelling : {name, upper, mixed}) {
            const engine_run run = run_engine(spelling + "(0.5)");
            EXPECT_FALSE(run.ended) << spelling;
            EXPECT_EQ(bits_of(run.value), bits_of(expected)) << spelling;
        }
        if (name[0] == 't') continue;
        const engine_run shorter = run_engine(name.substr(0, name.size() - 1) + "(0.5)");
        EXPECT_EQ(shorter.status, 4) << name;
    }
}

// Hexadecimal literals on both sides of 15 digits, with and without a leading '0' (after
// which a second prefix is taken) and with every digit letter in both cases.
TEST(EngineOperands, HexadecimalLiteralsOfEveryLength) {
    const value_case cases[] = {{"0x1", 1},
                                {"0xa", 10},
                                {"0xAbCdEf", 11259375},
                                {"0x123456789abcdef", 81985529216486895.0},
                                {"0xFFFFFFFFFFFFFFF", 1152921504606846975.0},
                                {"0x1000000000000000", 1152921504606846976.0},
                                {"0x123456789ABCDEF0", 1311768467463790320.0},
                                {"0x01", 1},
                                {"0x0x1F", 31},
                                {"0x00000000000000001", 1},
                                {"0x1F+0x1F", 62},
                                {"0x1g", 1e9},
                                {"0x7fffffffffffffff0", 9223372036854775807.0},
                                {"-0xF", -15},
                                {"0xF(2)", 30}};
    expect_values(cases);
    const failure_case failures[] = {{"0x1Fx2", 4, unknown_name}, {"0xFk1", 7, stuck}};
    expect_failures(failures);
}

TEST(EngineOperands, RadixLiterals) {
    const std::string ones64 = repeat_text("1", 64);
    const value_case cases[] = {{"0x10", 16},
                                {"0XfF", 255},
                                {"0x", 0},
                                {"0xFFFFFFFFFFFFFFFF", -1},
                                {"0x7FFFFFFF", 2147483647},
                                {"0x10000000000000000", two_63},
                                {"0x8000000000000000", -two_63},
                                {"0b101", 5},
                                {"0B11", 3},
                                {"0b", 0},
                                {"0o17", 15},
                                {"0O17", 15},
                                {"0o", 0},
                                {"0o1777777777777777777777", -1},
                                {"0o2000000000000000000000", 0},
                                {"0x10+0b1", 17},
                                {"0b11(2)", 6},
                                {"2*0x10", 32}};
    expect_values(cases);
    const engine_run all_ones = run_engine("0b" + ones64);
    EXPECT_FALSE(all_ones.ended);
    EXPECT_EQ(all_ones.value, -1);
    EXPECT_EQ(run_engine("0b" + ones64 + "1").status, 7);  // 64 digits at most
    const failure_case failures[] = {{"0b102", 7, stuck},
                                     {"0o8", 7, stuck},
                                     {"0xz", 4, unknown_name},
                                     {"0b1b", 4, unknown_name}};
    expect_failures(failures);
}

TEST(EngineOperands, DecimalNumbers) {
    const value_case cases[] = {{".5", 0.5},         {"5.", 5},     {"1e3", 1000},   {"007", 7},
                                {"1e400", HUGE_VAL}, {"1e-400", 0}, {"1.5e+2", 150}, {"2e-1", 0.2}};
    expect_values(cases);
    const failure_case failures[] = {{".", 8, invalid_character},
                                     {"#", 8, invalid_character},
                                     {"2+\x80", 8, invalid_character},
                                     {"\xff", 8, invalid_character},
                                     {"2#", 7, stuck},
                                     {"2.3.4", 7, stuck},
                                     {"1e3e3", 4, unknown_name}};
    expect_failures(failures);
}

}  // namespace
