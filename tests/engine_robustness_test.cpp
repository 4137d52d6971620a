// Deep nesting, the longest texts, random garbage, and evaluations that must not leak into
// the next one.
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "engine/text_buffers.h"
#include "engine_harness.h"
#include "engine_test_tables.h"

namespace {

using namespace fexpr::testing;

TEST(EngineRobustness, DeepNesting) {
    const engine_run deepest = run_engine(std::string(16383, '(') + "7");
    EXPECT_FALSE(deepest.ended) << deepest.message;
    EXPECT_EQ(deepest.value, 7);
    const engine_run closed = run_engine(std::string(8191, '(') + "7" + std::string(8191, ')'));
    EXPECT_EQ(closed.value, 7);
    const engine_run signs = run_engine(repeat_text("(-", 8191) + "1");
    EXPECT_EQ(signs.value, -1);  // an odd number of minus signs
    const engine_run functions = run_engine(repeat_text("sqrt(", 3276) + "1");
    EXPECT_EQ(functions.value, 1);
    const engine_run products = run_engine(repeat_text("2(", 8191) + "1");
    EXPECT_EQ(products.value, std::numeric_limits<double>::infinity());
    const engine_run empty = run_engine(std::string(16383, '('));
    EXPECT_EQ(empty.status, 9);
}

// Every kind of long text ends with a value or a diagnostic, and the pre-pass at most doubles
// it (the bound of the work that follows; the time it takes is measured by the benchmark
// evaluate_long_pieces).
TEST(EngineRobustness, LongTextsOfEveryKind) {
    const char* pieces[] = {"1k",   "K", "(",    ")",   "#",
                            "9",    "+", "sqrt", "Pi",  " ",
                            ",",    "x", "0x",   "0b1", "shiftll000701",
                            "\xff", "e", ".",    "(2)"};
    for (const char* piece : pieces) {
        const std::string text = repeat_text(piece, 16383 / std::string(piece).size());
        EXPECT_LE(prepared_text(text).size(), 2 * text.size()) << piece;
        const engine_run run = run_engine(text);
        if (run.ended) {
            EXPECT_GE(run.status, 1) << piece;
        }
    }
}

// A failed evaluation, at any depth, leaves nothing behind for the next one.
TEST(EngineRobustness, NothingLeaksAfterADiagnostic) {
    const char* failing[] = {"((((2+", "(((sqrtsqrt", "((2)3", "(((((#", "2^3^2", "(((Pi(1)"};
    for (const char* text : failing) {
        EXPECT_TRUE(run_engine(text).ended) << text;
        const engine_run next = run_engine("1+2*3");
        EXPECT_FALSE(next.ended) << text;
        EXPECT_EQ(next.value, 7) << text;
    }
}

// Random texts over the language's characters and a few others never crash, never hang and
// always end either with a value or with one of the statuses 1 … 10.
TEST(EngineRobustness, RandomGarbage) {
    const std::string alphabet =
        "0123456789+-*/%^&|@{}:().,_ xXbBoOeEkKmMgGtTpPiIsSqrnalcfdh\t\x80\xff#";
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const std::size_t length = random() % 40;
        for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        const engine_run run = run_engine(text, true);
        if (run.ended) {
            EXPECT_GE(run.status, 1) << text;
            EXPECT_LE(run.status, 10) << text;
            EXPECT_EQ(run.message.back(), '\n') << text;
        }
    }
}

}  // namespace
