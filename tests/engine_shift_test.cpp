// The bit-field shift: its worked examples, the field boundaries of both shift descriptor
// forms, and the bit text it works on.
#include <cstdint>
#include <string>

#include "engine/bit_shift.h"
#include "engine_harness.h"
#include "engine_test_tables.h"

namespace {

using namespace fexpr::testing;

const double two_63 = 9223372036854775808.0;

TEST(EngineShift, WorkedExamples) {
    const value_case cases[] = {
        {"shiftll000701(13)", 26},    {"shiftlr000701(13)", 6},       {"shiftal000301(13)", 10},
        {"shiftar000301(13)", 14},    {"shiftrl000301(13)", 11},      {"shiftrr000301(13)", 14},
        {"shiftrr000302(6)", 9},      {"shiftll04l0402(255)", 207},   {"shiftlr04l0402(255)", 63},
        {"shiftar04l0402(255)", 255}, {"shiftar04l0402(112)", 16},    {"shiftll000701(5.9)", 10},
        {"shiftar006301(0-2)", -1},   {"shiftlr006301(0-2)", two_63}, {"shiftrr006301(1)", -two_63},
        {"shiftll00070113", 26},      {"shift ll 00 07 01 (13)", 26}};
    expect_values(cases);
}

TEST(EngineShift, FieldEdges) {
    const value_case cases[] = {// A count equal to the field's length.
                                {"shiftll000708(255)", 0},
                                {"shiftal000708(255)", 0},
                                {"shiftlr000708(255)", 0},
                                {"shiftar000708(128)", 255},
                                {"shiftar000708(127)", 0},
                                {"shiftrl000708(13)", 13},
                                {"shiftrr000708(13)", 13},
                                // The full-width field moves the sign bit like any other.
                                {"shiftll0l6401(0x4000000000000000)", -two_63},
                                {"shiftlr0l6401(0-1)", two_63},
                                {"shiftrl0l6464(0-5)", -5},
                                // Bits outside the field stay, set or not.
                                {"shiftlr000301(499)", 497},
                                {"shiftrl04l0401(0xF0F)", 0xF0F},
                                {"shiftll62l0201(0x4000000000000000)", -two_63},
                                {"shiftll626301(0x4000000000000001)", -two_63},
                                // Fractional, negative and zero operands.
                                {"shiftll000701(0-5.9)", -10},
                                {"shiftrr000701(0)", 0},
                                {"shiftar00l6432(0)", 0},
                                // Operands without an integer view work on the pattern of -2^63.
                                {"shiftlr006301(0/0)", 4611686018427387904.0},
                                {"shiftll006301(1/0)", 0},
                                // Stacked with other functions, innermost first.
                                {"shiftll000701shiftll000701(1)", 4},
                                {"sqrtshiftll000702(4)", 4}};
    expect_values(cases);
}

// Both forms at the edges of every field: start 0 … 62, end start + 1 … 63, length 2 … 64 with
// start + length <= 64, count 1 … length. Each "%2d" takes at most two characters, a sign
// included; the first form decides alone once it filled all five fields.
TEST(EngineShift, DescriptorBoundaries) {
    const value_case accepted[] = {{"shiftll626301(1)", 1},  {"shiftll050601(32)", 64},
                                   {"shiftll000708(1)", 0},  {"shiftll62l0201(1)", 1},
                                   {"shiftll00l6464(1)", 0}, {"shiftrl00l6464(3)", 3},
                                   {"shiftll00l0201(1)", 2}, {"shiftll+0+7+1(13)", 26},
                                   {"shiftll0l081(13)", 26}, {"shiftll0l64+1(1)", 2}};
    expect_values(accepted);
    const failure_case rejected[] = {
        {"shiftll636301(1)", 4, unknown_name},  {"shiftll050501(1)", 4, unknown_name},
        {"shiftll006401(1)", 4, unknown_name},  {"shiftll000700(1)", 4, unknown_name},
        {"shiftll000709(1)", 4, unknown_name},  {"shiftll-10701(1)", 4, unknown_name},
        {"shiftll0007-1(1)", 4, unknown_name},  {"shiftll1l6401(1)", 4, unknown_name},
        {"shiftll00l6501(1)", 4, unknown_name}, {"shiftll62l0301(1)", 4, unknown_name},
        {"shiftll00l0101(1)", 4, unknown_name}, {"shiftll00l6465(1)", 4, unknown_name},
        {"shiftll00l6400(1)", 4, unknown_name}, {"shiftll071(13)", 4, unknown_name},
        {"shiftxl000701(1)", 4, unknown_name},  {"shiftlx000701(1)", 4, unknown_name},
        {"shiftLl000701(1)", 4, unknown_name},  {"shiftla000701(1)", 4, unknown_name},
        {"SHIFTll000701(1)", 4, unknown_name},  {"shiftll", 4, unknown_name},
        {"shiftll000701*2", 5, adhesion},       {"shiftll000701", 9, incorrect}};
    expect_failures(rejected);
}

TEST(EngineShift, BitText) {
    const struct {
        std::int64_t value;
        const char* bits;
    } cases[] = {{0, "0000000000000000000000000000000000000000000000000000000000000000"},
                 {5, "0000000000000000000000000000000000000000000000000000000000000101"},
                 {-1, "1111111111111111111111111111111111111111111111111111111111111111"},
                 {-2, "1111111111111111111111111111111111111111111111111111111111111110"},
                 {INT64_MIN, "1000000000000000000000000000000000000000000000000000000000000000"},
                 {INT64_MAX, "0111111111111111111111111111111111111111111111111111111111111111"}};
    for (const auto& c : cases) {
        char bits[65];
        fexpr::engine::build_bit_text(c.value, bits);
        EXPECT_EQ(std::string(bits), c.bits) << c.value;
    }
}

}  // namespace
