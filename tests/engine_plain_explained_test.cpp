// A plain run and a run under --explain are the same evaluation: the same value to the bit,
// or the same diagnostic, and the same result-stream text. The explained run reads every
// group as a level of its own, so it is the reference for the plain run's group of one
// number (read_group_of_number), which it never takes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/reading_record.h"
#include "engine_harness.h"
#include "random_expressions.h"

namespace {

using namespace fexpr::testing;

fexpr::engine::reading_record record;

void expect_same_runs(const std::string& expression) {
    const engine_run plain = run_engine(expression, true);
    const engine_run explained = run_engine(expression, true, &record);
    EXPECT_EQ(plain.ended, explained.ended) << expression;
    EXPECT_EQ(plain.status, explained.status) << expression;
    EXPECT_EQ(plain.message, explained.message) << expression;
    // An evaluation that ends through a diagnostic returns no grouping.
    if (!explained.ended) {
        EXPECT_EQ(plain.grouping_mode, explained.grouping_mode) << expression;
    }
    EXPECT_EQ(bits_of(plain.value), bits_of(explained.value))
        << expression << " gave " << plain.value << ", explained " << explained.value;
}

TEST(EnginePlainExplained, NumbersWithUnitLetters) {
    const char* const cases[] = {
        // Signs and white space taken into the group, and groups side by side.
        "1k", "-3k", "+3k", "1k+1k", "1k+1k+1k", "2-1k", "2 -1k", "2 - 1k", "2 1k", "2*-3k", "1k1k",
        "1kk", "(1k)", "((1k))", "1k(2)", "2(1k)", "1k Pi", "Pi1k", "k1k", "1k2", " \t 1k", "1k  ",
        "\v-1k", "2\f+1k", "1 + 2k", "2^1k", "2^-1k", "-2k^2", "1/2K",
        // Zeros keep the sign their group gives them.
        "-0k", "+0k", "0k", "-0k*-1", "1/-0k", "-0.0K", "0-0k",
        // Points, long digit runs and values out of range.
        ".5k", "1.k", "1.5.5k", "0.000001p", "123456789012345678901234k", "1e308k",
        "99999999999999999999k*1P", "1,000k", "1_5k", ",1k", "_1k",
        // Groups of other numbers: exponent parts, radix literals, infinities.
        "1e3k", "1e+3k", "2e-3K", "0x1k", "0X1Fk", "0b11k", "0o17M", "0b12k", "0o78k", "0xk",
        "0x1kk", "+INFk", "-NANk", "1+0x1k", "1k+1e3k", "1k+0x1k",
        // Names that begin with unit letters, and functions of groups.
        "sqrt4k", "tan1k", "sin1k+1k", "2tk", "2P", "2Pi", "2pi", "Pi+2k", "abs-1k", "d2r1k",
        "sign-0k", "shiftll000701(2k)", "shiftll1 2k", "1k shiftll000701",
        // Operators around and faults.
        "1k+", "+1k-", "1k**2", "1k^^2", "(1k", "1k)", "1k)+5", "2x1k", "1kx2", "1k x 2", "1k%3",
        "1k&3k", "1k|2", "1k@3", "1k{2", "1k}2", "1k:30", "3:1k", "1k?"};
    for (const char* expression : cases) expect_same_runs(expression);
}

// A group that begins with a number is read without a level of its own where the number
// ends it.
TEST(EnginePlainExplained, GroupsThatBeginWithNumbers) {
    const char* const cases[] = {"(7)",     "(-7)",
                                 "(+7)",    "(-0)",
                                 "(+0)",    "(0)",
                                 "(-0)*-1", "1/(-0)",
                                 "(7)(8)",  "(7)Pi",
                                 "(7)k",    "(7)sin0",
                                 "(7)7",    "2(7)",
                                 "Pi(7)",   "k(7)",
                                 "sin(7)",  "-(7)",
                                 "(7)^2",   "2^(-7)",
                                 "(1e5)",   "(1.5e-3)",
                                 "(2e)",    "(7.)",
                                 "(.5)",    "(12345678901234567890)",
                                 "(1e400)", "(-1e400)",
                                 "(7+1)",   "(-7*2)",
                                 "(7^2^3)", "((7))",
                                 "(7",      "(7)+",
                                 "(7))",    "(0x10)",
                                 "(-0b1)",  "(0o7)",
                                 "(--7)",   "(-+7)",
                                 "(+-7)",   "(7k)",
                                 "(7(2))",  "(7Pi)",
                                 "(7sin0)", "(7 )",
                                 "( 7)",    "(- 7)",
                                 "(7,5)",   "(7_5)",
                                 "(7:30)",  "(1:2:3)",
                                 "(7%2)",   "(7&3)"};
    for (const char* expression : cases) expect_same_runs(expression);
}

// Chains of groups: operators of each class before, inside and after them, functions
// waiting for a group, a stack near its depth, and numbers of each length and form.
TEST(EnginePlainExplained, ProductsOfGroups) {
    const std::string cases[] = {"2/1k+1k+1k",
                                 "2^1k+1k",
                                 "2*3^1k+1k",
                                 "1k+1k^2",
                                 "1k+1k^2+1k",
                                 "1|1k+1k*2",
                                 "2:1k+1k",
                                 "2%1k+1k",
                                 "2&1k+1k+1k",
                                 "sqrt1k+1k",
                                 "1k*sqrt4k+1k",
                                 "1k+1k(2)",
                                 "1k+1kPi",
                                 "1k+1k sin1",
                                 "(1k+1k)+1k",
                                 "((1k+1k))1k-1k",
                                 "1k-1k-1k",
                                 "-1k-1k*-1k",
                                 "1k+1k+1k*2",
                                 "1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P+1P",
                                 "1.5k+.5k+1.k+007k",
                                 "123456789012345k+1234567890123456k+1k",
                                 "0.1k+0.2k 0.3k",
                                 "1k+ 1k+\t1k",
                                 "2*(" + repeat_text("1k+", 60) + "1)",
                                 repeat_text("sin", 46) + "1k+1k+1k",
                                 repeat_text("2|", 47) + "1k+1k+1k",
                                 repeat_text("(", 40) + repeat_text("1k+", 20) + "1k"};
    for (const std::string& expression : cases) expect_same_runs(expression);
}

// Chains of groups after waiting functions and open levels of each count around the depth
// the stacks allow: a group read without its level ends where the level would.
TEST(EnginePlainExplained, ProductsNearTheStackDepth) {
    for (int count = 40; count <= 50; ++count) {
        for (const char* chain : {"1k+1k+1k", "2-1k-1k+1k^2", "1k 2k 3k"}) {
            expect_same_runs(repeat_text("sin", count) + chain);
            expect_same_runs(repeat_text("2*sin", count) + chain);
            expect_same_runs(repeat_text("(", count) + chain);
        }
    }
}

// Long texts of pieces that make chains of groups, with what may stand between and after.
TEST(EnginePlainExplainedProperties, RandomChainsOfGroups) {
    const char* const pieces[] = {"1k", "+2K", "-3m", "+.5g", "1.25P", "7k",  " ", "\t",
                                  "+",  "-",   "*",   "/",    "^",     "(",   ")", "sqrt",
                                  "7",  "Pi",  "|",   ":",    "0x1k",  "1e3k"};
    constexpr unsigned piece_count = sizeof pieces / sizeof pieces[0];
    std::mt19937_64 random(20261217);
    for (int round = 0; round < 5000; ++round) {
        std::string expression;
        const unsigned count = 1 + static_cast<unsigned>(random() % 40);
        for (unsigned i = 0; i < count; ++i) {
            // Most pieces are groups, so that chains of them are common.
            expression += random() % 2 == 0 ? pieces[random() % 6] : pieces[random() % piece_count];
        }
        expect_same_runs(expression);
    }
}

// Texts with control bytes, groups of every number form, and many groups.
TEST(EnginePlainExplained, ControlBytesAndManyGroups) {
    const std::string cases[] = {"1k\x01",
                                 "\x02+1k",
                                 "1k+\x01",
                                 std::string("\x01") + "1k",
                                 "1k+2k 3k\x02",
                                 "1k\x03",
                                 "\x03 1k 2k",
                                 "1k+2k+1e3k+4k",
                                 " 1k 2k+0x1k",
                                 "1.5k+2k-INFk",
                                 repeat_text("1k+", 600) + "1",
                                 repeat_text("2k", 511),
                                 repeat_text("2k", 512),
                                 repeat_text("2k", 513),
                                 repeat_text("1k/", 4000) + "1k"};
    for (const std::string& expression : cases) expect_same_runs(expression);
}

TEST(EnginePlainExplainedProperties, RandomExpressions) {
    expression_maker maker(20261216);
    for (int round = 0; round < 10000; ++round) expect_same_runs(maker.make());
}

// Texts of pieces around numbers with unit letters, joined at random: signs, blanks and
// group marks beside them, radix literals and exponent parts before them, letters after, and
// control bytes.
TEST(EnginePlainExplainedProperties, RandomPiecesAroundUnitLetters) {
    const char* const pieces[] = {"1k", "-2K",  " 3m", "+.5g", "7",    "0",    "Pi",  "sin", "(",
                                  ")",  "+",    "-",   "*",    "/",    "^",    " ",   ",",   "_",
                                  "\t", "0x1",  "0b",  "e3",   "e",    "k",    "t",   "P",   "x",
                                  ".",  "9.25", "\v",  "INF",  "\x01", "\x02", "\x03"};
    constexpr unsigned piece_count = sizeof pieces / sizeof pieces[0];
    std::mt19937_64 random(20261216);
    for (int round = 0; round < 10000; ++round) {
        std::string expression;
        const unsigned count = 1 + static_cast<unsigned>(random() % 12);
        for (unsigned i = 0; i < count; ++i) expression += pieces[random() % piece_count];
        expect_same_runs(expression);
    }
}

}  // namespace
