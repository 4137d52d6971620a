// The pre-pass: grouping mode, the multiplication 'x' and numbers bound to unit letters.
#include <cmath>
#include <string>

#include "engine_harness.h"
#include "engine_test_tables.h"

namespace {

using namespace fexpr::testing;

const double pi = 3.141592653589793;

TEST(EnginePrepass, RewrittenTexts) {
    const struct {
        const char* expression;
        const char* prepared;
    } cases[] = {{"3k", "(3k)"},
                 {"1/2K", "1/(2K)"},
                 {"1e3k", "(1e3k)"},
                 {".5k", "(.5k)"},
                 {"2kx3", "(2k)*3"},
                 {"1+2k", "1(+2k)"},
                 {"1 + 2k", "1 +( 2k)"},
                 {"2*-3k", "2*(-3k)"},
                 {"1,000k", "1,(000k)"},
                 {"1,000", "1,000"},
                 {"2Pi", "2Pi"},
                 {"2pi", "2pi"},
                 {"2tan(0)", "2tan(0)"},
                 {"2Tan(0)", "2Tan(0)"},
                 {"2tk", "(2t)k"},
                 {"2P", "(2P)"},
                 {"2x3", "2*3"},
                 {"2 x 3", "2 * 3"},
                 {"2X3", "2X3"},
                 {"0x10", "0x10"},
                 {"(0x10)", "(0x10)"},
                 {"2*0x10", "2*0x10"},
                 {"10x3", "10*3"},
                 {"1.0x5", "1.0x5"},
                 {"Pix2", "Pix2"},
                 {"Pi x 2", "Pi * 2"},
                 {"x2", "x2"},
                 {"2x", "2*"},
                 {"kx3", "k*3"},
                 {"ax3", "ax3"},
                 {"2xsin1", "2xsin1"},
                 {"3k  ", "(3k)"},
                 {" 3", " 3"},
                 {"2 \t ", "2"},
                 {"1k1k", "(1k)(1k)"},
                 {"-3k", "(-3k)"},
                 {"1ek", "1ek"},
                 {"+INF", "+INF"},
                 {"", ""},
                 {"x", "x"},
                 {"0x", "0x"},
                 {"2e3xk", "2e3xk"},
                 // A radix literal with a unit letter is wrapped whole.
                 {"0x1k", "(0x1k)"},
                 {"0x10K", "(0x10K)"},
                 {"0X1Fk", "(0X1Fk)"},
                 {"0b11k", "(0b11k)"},
                 {"0o17M", "(0o17M)"},
                 {"2*0x1k", "2*(0x1k)"},
                 {"1+0x1k", "1(+0x1k)"},
                 {"(0B1k)", "((0B1k))"},
                 {"0b12k", "(0b12k)"},
                 {"0xk", "(0xk)"},
                 {"0x1kk", "(0x1k)k"},
                 {"0x1Pi", "0x1Pi"},
                 {"0x1F*2k", "0x1F*(2k)"},
                 {"10x1k", "10*(1k)"},
                 {"1.0b1k", "1.0b(1k)"},
                 // Unit letters after a character that ends no number are never wrapped.
                 {"sqrt4k", "sqrt(4k)"},
                 {"2 k", "2 k"},
                 {"a1k", "a(1k)"},
                 {"Pk", "Pk"},
                 {"e5k", "e(5k)"},
                 {"1.k", "(1.k)"},
                 {"1e+k", "1e+k"},
                 {"Pi+2k", "Pi(+2k)"},
                 {"shiftll000701(2k)", "shiftll000701((2k))"},
                 {"(2)k", "(2)k"},
                 {"2 xk", "2 xk"},
                 {"_1k", "_(1k)"},
                 {"tan1k", "tan(1k)"}};
    for (const auto& c : cases) EXPECT_EQ(prepared_text(c.expression), c.prepared) << c.expression;
}

TEST(EnginePrepass, GroupingMode) {
    const struct {
        const char* expression;
        int mode;
    } cases[] = {{",1234567", 1}, {"_1234567", 2}, {"1,234", 0}, {" ,1", 0}, {"1_2", 0}};
    for (const auto& c : cases) {
        const engine_run run = run_engine(c.expression);
        EXPECT_EQ(run.grouping_mode, c.mode) << c.expression;
        EXPECT_FALSE(run.ended) << c.expression;
    }
}

TEST(EnginePrepass, ValuesAfterRewriting) {
    const value_case cases[] = {{"2x3", 6},
                                {"2 x 3", 6},
                                {"0x10", 16},
                                {"(0x10)", 16},
                                {"10x3", 30},
                                {"2kx3", 6000},
                                {"Pi x 2", 2 * pi},
                                {"3k", 3000},
                                {"1/2K", 0.00048828125},
                                {"1e3k", 1e6},
                                {".5k", 500},
                                {"2Pi", 2 * pi},
                                {"2pi", 2 * pi},
                                {"2tan(0)", 0},
                                {"1+2k", 2000},
                                {"1 + 2k", 2001},
                                {"2*-3k", -6000},
                                {"1,000k", 0},
                                {",1234567", 1234567},
                                {"_12_34", 1234},
                                {"0x1k", 1000},
                                {"0xAk", 10000},
                                {"0x10K", 16384},
                                {"0b11k", 3000},
                                {"0o17k", 15000},
                                {"1/0x2K", 0.00048828125},
                                {"2*-0x1k", -2000}};
    expect_values(cases);
    const failure_case failures[] = {{"2X3", 4, unknown_name},  {"1.0x5", 4, unknown_name},
                                     {"Pix2", 4, unknown_name}, {"x2", 4, unknown_name},
                                     {"2x", 9, incorrect},      {"0b12k", 7, stuck},
                                     {"0o78k", 7, stuck}};
    expect_failures(failures);
}

// Every number carrying a unit letter grows by two characters; the longest texts the driver
// accepts still fit, whole.
TEST(EnginePrepass, GrowthNeverCutsTheText) {
    const std::string units = repeat_text("1k", 8191) + "1";
    EXPECT_EQ(units.size(), 16383u);
    EXPECT_EQ(prepared_text(units), repeat_text("(1k)", 8191) + "1");
    const std::string signed_units = repeat_text("+1k", 5461);
    EXPECT_EQ(prepared_text(signed_units), repeat_text("(+1k)", 5461));
    const engine_run run = run_engine(repeat_text("2K/", 5460) + "2K");
    EXPECT_FALSE(run.ended) << run.message;
    EXPECT_EQ(run.value, 0);  // 2048 divided 5460 times by 2048 underflows to zero
    const engine_run product = run_engine(repeat_text("1k", 8191));
    EXPECT_FALSE(product.ended) << product.message;
    EXPECT_EQ(product.value, HUGE_VAL);
    // A digit after a wrapped number follows a group: two numbers stuck together.
    EXPECT_EQ(run_engine(repeat_text("1k", 8191) + "1").status, 7);
}

}  // namespace
