// The reading --explain shows: a table of expressions and how the evaluator read them, the
// caret lines of faults and the digit-group warnings, and seeded properties over random
// expressions: a reading read again gives the same value and reads the same way again.
#include <gtest/gtest.h>

#include <string>

#include "engine/reading_record.h"
#include "engine/reading_report.h"
#include "engine/text_buffers.h"
#include "engine_harness.h"
#include "error_capture.h"
#include "random_expressions.h"
#include "test_doubles.h"

namespace fexpr::testing {
namespace {

engine::reading_record record;

struct explained_run {
    engine_run run;
    std::string reading;  // empty when there is none to show
};

// Evaluates with the reading recorded and writes it out.
explained_run explain(const std::string& expression) {
    explained_run result{run_engine(expression, true, &record), ""};
    static char text[engine::text_capacity];
    if (!result.run.ended && engine::render_reading(record, text, sizeof text) > 0) {
        result.reading = text;
    }
    return result;
}

struct reading_case {
    const char* expression;
    const char* reading;
};

const reading_case reading_cases[] = {
    {"sqrt16^2", "(sqrt(16))^2"},
    {"3k+2^10", "(3*1000)+(2^10)"},
    {"8/2^2/2", "(8/(2^2))/2"},  // a middle-class operator reduces the one below a power
    {"8/2^2*2", "(8/(2^2))*2"},
    {"2-3-4", "(2-3)-4"},
    {"2^3*2^2", "(2^3)*(2^2)"},
    {"1|2*3", "1|(2*3)"},  // pushed over a bottom '|'
    {"2*3|1", "(2*3)|1"},
    {"7&3+1", "(7&3)+1"},
    {"1:2:3", "(1:2):3"},
    {"-2^2", "-(2^2)"},
    {"-16}2", "-(16}2)"},
    {"+5", "5"},
    {"2*(-3)", "2*(-3)"},
    {"((2))", "2"},
    {"(2+3", "2+3"},
    {"2)+3", "2"},  // text after the outermost ')' is not read
    // The pre-pass takes the sign into the wrapped number: '1+2k' is 1 times (+2k).
    {"1+2k", "1*(2*1000)"},
    {"1 + 2k", "1+(2*1000)"},
    {"1,000k", "1*(000*1000)"},
    {"3k/2K", "(3*1000)/(2*1024)"},
    {"2kx3", "(2*1000)*3"},
    {"1e3k", "1e3*1000"},
    {".5k", ".5*1000"},
    {"t", "1000000000000"},
    {"P", "1125899906842624"},
    {"pi*2", "Pi*2"},
    {"2x3", "2*3"},
    {"2(3)", "2*3"},
    {"(1)(2)(3)", "(1*2)*3"},
    {"2sin0", "2*(sin(0))"},
    {"(2)sqrt(16)", "2*(sqrt(16))"},
    {"sincos0", "sin(cos(0))"},
    {"SQRT(16)", "sqrt(16)"},
    {"expo", ""},  // exp, then 'o' names nothing: a fault has no reading
    {"round(2.5)+ceil1.5", "(round(2.5))+(ceil(1.5))"},
    {"shiftll000701(13)", "shiftll00l0801(13)"},
    {"shiftar1l0402(-9)", "shiftar01l0402(-9)"},
    {"0x10+0b101+0o17", "(0x10+0b101)+0o17"},
    {"0xFFFFFFFFFFFFFFFF+1", "0xFFFFFFFFFFFFFFFF+1"},
    {"1 000 000", "1000000"},
    {"1,5", "15"},
    {"1e400", "1e400"},
    // A radix prefix without digits is 0; read again, "0x+1000" would be the literal 0x1000.
    {"0x+k", "0x0+1000"},
    {"0b", "0b0"},
};

TEST(EngineReading, Table) {
    for (const reading_case& row : reading_cases) {
        EXPECT_EQ(explain(row.expression).reading, row.reading) << row.expression;
    }
}

struct report_case {
    const char* expression;
    bool stopped;       // a fault: the caret lines come from the diagnostic
    const char* error;  // what goes to standard error
};

const report_case report_cases[] = {
    {"2^3^2", true, "stopped: 2^3^2\n            ^\n"},
    {"2+", true, "stopped: 2+\n           ^\n"},
    {"foo", true, "stopped: foo\n         ^\n"},
    // The caret stands under the text as the evaluator received it, blanks included.
    {"1 + 2 # 3", true, "stopped: 1 + 2 # 3\n               ^\n"},
    {"(2)K", true, "stopped: (2)K\n            ^\n"},
    // What follows Pi or a unit letter is what the statuses 2 and 3 reject.
    {"PiPi", true, "stopped: PiPi\n           ^\n"},
    {"2+K(2)", true, "stopped: 2+K(2)\n            ^\n"},
    {"k k", true, "stopped: k k\n           ^\n"},
    {"2*-3k", false, "read as: 2*(-(3*1000))\n"},
    {"100-1,9", false,
     "read as: 100-19\nwarning: 100-1,9\n              ^ ',' marks groups of 3 digits, not a "
     "decimal point; 1 digit follows it\n"},
    {"1_000+2_0000", false,
     "read as: 1000+20000\nwarning: 1_000+2_0000\n          ^ '_' marks groups of 4 digits; 3 "
     "digits follow it\n"},
    {"1,,000", false,
     "read as: 1000\nwarning: 1,,000\n          ^ ',' marks groups of 3 digits, not a decimal "
     "point; no digit follows it\n"},
    // The first character asks for the grouping of the result and is no group mark.
    {",1234567", false, "read as: 1234567\n"},
    {"_1234_5678", false, "read as: 12345678\n"},
    {"1,000,000", false, "read as: 1000000\n"},
    // A fault still warns, after the caret lines.
    {"1,5#", true,
     "stopped: 1,5#\n            ^\nwarning: 1,5#\n          ^ ',' marks groups of 3 digits, not "
     "a decimal point; 1 digit follows it\n"},
};

TEST(EngineReading, CaretsAndWarnings) {
    for (const report_case& row : report_cases) {
        error_capture capture;
        capture.start();
        const engine_run run = run_engine(row.expression, false, &record);
        if (!run.ended) engine::print_reading(record);
        const std::string error = capture.finish();
        EXPECT_EQ(run.ended, row.stopped) << row.expression;
        EXPECT_EQ(error, row.error) << row.expression;
    }
}

// A long text is shown around its caret, with "..." where it is cut.
TEST(EngineReading, LongTextAroundTheCaret) {
    error_capture capture;
    capture.start();
    run_engine(std::string(100, '1') + "#" + std::string(100, '2'), false, &record);
    const std::string error = capture.finish();
    EXPECT_EQ(error, "stopped: ..." + std::string(50, '1') + "#" + std::string(21, '2') + "...\n" +
                         std::string(9 + 3 + 50, ' ') + "^\n");
}

// More steps than the record holds, and a reading longer than a line: nothing wrong is shown.
TEST(EngineReading, LimitsOfTheRecord) {
    EXPECT_EQ(explain(std::string(9000, '(') + "7").reading, "");
    const std::string sum = repeat_text("1+", 300) + "1";
    const explained_run long_one = explain(sum);
    // 301 ones, 300 pluses and parentheses around the 299 sums that are left operands.
    EXPECT_EQ(long_one.reading.size(), 301 + 300 + 2 * 299);
    error_capture capture;
    capture.start();
    const engine_run run = run_engine(sum, false, &record);
    engine::print_reading(record);
    const std::string error = capture.finish();
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(error,
              "read as: " + long_one.reading.substr(0, engine::shown_reading_length) + " ...\n");
}

// A function that gives -0 is read again inside parentheses, which add it to +0: the one
// case where a reading read again may differ in the sign of a zero.
bool has_negative_zero() {
    for (std::size_t i = 0; i < record.event_count; ++i) {
        if (record.events[i].negative_zero) return true;
    }
    return false;
}

TEST(EngineReadingProperties, ReadingReadAgainGivesTheSameValueAndReading) {
    expression_maker maker(20261209);
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string expression = maker.make();
        const explained_run first = explain(expression);
        if (first.run.ended || first.reading.empty() || has_negative_zero()) continue;
        const explained_run again = explain(first.reading);
        ASSERT_FALSE(again.run.ended) << expression << " read as " << first.reading;
        EXPECT_TRUE(same_value(first.run.value, again.run.value))
            << expression << " read as " << first.reading;
        EXPECT_EQ(again.reading, first.reading) << expression;
        ++compared;
    }
    EXPECT_GT(compared, 5000);
}

}  // namespace
}  // namespace fexpr::testing
