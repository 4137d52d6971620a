// Seeded properties of --all and --exact, for random values and for the values of random
// expressions: every --all line is what its suffix alone prints, under every word size and
// reading, and the shortest text reads back to the same double.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "engine/text_buffers.h"
#include "engine_harness.h"
#include "error_capture.h"
#include "format/all_layouts.h"
#include "format/exact_double.h"
#include "format/layouts.h"
#include "format/word_size.h"
#include "numeric/decimal_input.h"
#include "numeric/text_scan.h"
#include "random_expressions.h"

namespace fexpr::format {
namespace {

platform::output_stream memory;

std::string text_of(const platform::output_stream& stream) {
    return std::string(stream.buffer, stream.length);
}

// The lines of --all for `value`, and the same lines built from print_result with the
// suffix each line is labelled with; its warnings are those of an integer layout, once.
void expect_all_equals_single(const run_settings& run, double value,
                              engine::digit_grouping grouping = engine::no_groups) {
    platform::open_memory_stream(&memory);
    const std::string warnings =
        testing::capture_standard_error([&] { print_all_layouts(run, value, grouping, &memory); });
    const std::string all_lines = text_of(memory);
    platform::open_memory_stream(&memory);
    EXPECT_EQ(
        warnings, testing::capture_standard_error([&] {
            print_result(run, {layout_hex_grouped, default_precision}, grouping, value, &memory);
        }))
        << value;
    std::istringstream lines(all_lines);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const std::string label = line.substr(0, line.find('\t'));
        const result_layout layout =
            label == "general" ? default_layout : parse_format_suffix(label.c_str());
        platform::open_memory_stream(&memory);
        print_result(run, layout, grouping, value, &memory);
        EXPECT_EQ(line + "\n", label + "\t" + text_of(memory)) << value;
        ++count;
    }
    EXPECT_EQ(count, 6) << value;
}

double random_value(std::mt19937_64& random) {
    const std::uint64_t bits = random();
    double value = 0;
    switch (bits % 4) {
        case 0:  // any encoding
            std::memcpy(&value, &bits, sizeof value);
            return value;
        case 1:  // an integer of up to 64 bits, either sign
            return static_cast<double>(static_cast<std::int64_t>(random()) >> (random() % 64));
        case 2:  // a short decimal
            return static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) /
                   1000.0;
        default:  // a duration
            return std::ldexp(static_cast<double>(random() % (1u << 30)), -int(random() % 20));
    }
}

TEST(OutputSwitchesProperties, AllLinesEqualSingleSuffixes) {
    std::mt19937_64 random(20261209);
    const word_settings words[] = {{64, integer_reading::none},
                                   {8, integer_reading::signed_word},
                                   {16, integer_reading::unsigned_word},
                                   {32, integer_reading::none}};
    for (const word_settings& word : words) {
        const run_settings run = {word, presentation::single, nullptr};
        for (int round = 0; round < 1000; ++round) {
            expect_all_equals_single(run, random_value(random));
        }
    }
}

// The shortest text of --exact reads back to the value by the number reader and by strtod
// (format_exact_double_test.cpp checks that it is the shortest).
void expect_shortest_reads_back(double value) {
    if (!std::isfinite(value)) return;  // special values have no digits
    char text[64];
    format_shortest(text, sizeof text, value);
    const char* end = nullptr;
    EXPECT_EQ(numeric::text_to_double(text, &end), value) << text;
    EXPECT_EQ(std::strtod(text, nullptr), value) << text;
}

// The values of random expressions, with the digit groups their first character asks for.
TEST(OutputSwitchesProperties, RandomExpressions) {
    testing::expression_maker maker(1512);
    const word_settings words[] = {{64, integer_reading::none},
                                   {8, integer_reading::unsigned_word},
                                   {16, integer_reading::signed_word},
                                   {32, integer_reading::none}};
    int evaluated = 0;
    for (int round = 0; round < 8000; ++round) {
        const std::string expression = (round % 7 == 0   ? ","
                                        : round % 7 == 1 ? "_"
                                                         : "") +
                                       maker.make();
        const testing::engine_run run = testing::run_engine(expression, true);
        if (run.ended) continue;
        ++evaluated;
        const run_settings settings = {words[round % 4], presentation::single, nullptr};
        expect_all_equals_single(settings, run.value,
                                 static_cast<engine::digit_grouping>(run.grouping_mode));
        expect_shortest_reads_back(run.value);
    }
    EXPECT_GT(evaluated, 2000);
}

// Special values are never grouped, in any layout that groups, alone or in --all: the grouped
// output equals the ungrouped one.
TEST(OutputSwitchesProperties, SpecialValuesAreNeverGrouped) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {infinity, -infinity, nan, -nan};
    const char* const suffixes[] = {"", ".0", ".3", "g1", "g5", ":", "e4"};
    for (const double value : values) {
        for (const engine::digit_grouping grouping :
             {engine::groups_of_three, engine::groups_of_four}) {
            for (const char* suffix : suffixes) {
                const result_layout layout = parse_format_suffix(suffix);
                platform::open_memory_stream(&memory);
                print_result(plain_run, layout, engine::no_groups, value, &memory);
                const std::string plain = text_of(memory);
                platform::open_memory_stream(&memory);
                print_result(plain_run, layout, grouping, value, &memory);
                EXPECT_EQ(text_of(memory), plain) << value << ' ' << suffix;
            }
            platform::open_memory_stream(&memory);
            testing::capture_standard_error(
                [&] { print_all_layouts(plain_run, value, grouping, &memory); });
            const std::string grouped = text_of(memory);
            platform::open_memory_stream(&memory);
            testing::capture_standard_error(
                [&] { print_all_layouts(plain_run, value, engine::no_groups, &memory); });
            EXPECT_EQ(grouped, text_of(memory)) << value;
        }
    }
}

}  // namespace
}  // namespace fexpr::format
