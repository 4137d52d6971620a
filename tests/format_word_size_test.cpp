// Seeded property of --bits, --signed and --unsigned: random doubles near the edges of every
// word size, shown in the general and the hexadecimal layout, against exact 128-bit integer
// arithmetic, the warnings on standard error included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "error_capture.h"
#include "format/layouts.h"
#include "format/word_size.h"

namespace fexpr::format {
namespace {

using wide = __int128;

constexpr wide two_to(int power) {
    return static_cast<wide>(1) << power;
}

constexpr char accuracy_warning[] =
    "Attention: Calculations exceeding 13 hexadecimal digits may be inaccurate!\n";

// What a value must show, worked out with integers wider than any word.
struct expected_word {
    std::string general;  // the general layout under the reading, when there is one
    std::string hex;      // the x layout
    std::string warnings;
};

std::string decimal_of(wide number) {
    const bool negative = number < 0;
    unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(number) : number;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

/*
 * The truncated value, where it has one, decides everything. The view of a value with none
 * (infinities, NaNs, from 2^63 up) is -2^63; under a reading, [2^63, 2^64) keeps its own
 * value. A value fits when it is a signed or unsigned number of the word, and at 64 bits
 * without a reading always.
 */
expected_word reference(double value, word_settings word) {
    const bool finite = std::isfinite(value) && std::fabs(value) < 0x1p100;
    const wide truncated = finite ? static_cast<wide>(value) : 0;
    const bool has_view = finite && truncated >= -two_to(63) && truncated < two_to(63);
    const bool above_view = finite && truncated >= two_to(63) && truncated < two_to(64);
    const bool exact = has_view || (above_view && word.reading != integer_reading::none);
    const wide word_value = (exact ? truncated : -two_to(63)) & (two_to(word.bits) - 1);
    const bool fits =
        (word.bits == 64 && word.reading == integer_reading::none) ||
        (finite && truncated >= -two_to(word.bits - 1) && truncated < two_to(word.bits));
    expected_word expected;
    const bool negative = word_value >= two_to(word.bits - 1);
    expected.general = decimal_of(word.reading == integer_reading::signed_word && negative
                                      ? word_value - two_to(word.bits)
                                      : word_value) +
                       "\n";
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%0*llx\n", word.bits / 4,
                  static_cast<unsigned long long>(word_value));
    expected.hex = hex;
    if (!(has_view && truncated >= -two_to(52) && truncated < two_to(52))) {
        expected.warnings = accuracy_warning;
    }
    if (!fits) {
        expected.warnings += "Attention: The value does not fit in " + std::to_string(word.bits) +
                             " bits, only its low bits are shown!\n";
    }
    return expected;
}

platform::output_stream memory;

// The line and the warnings print_result gives for `value` in `layout`, in the run's word.
std::string shown(const run_settings& run, result_layout layout, double value,
                  std::string& warnings) {
    platform::open_memory_stream(&memory);
    warnings = testing::capture_standard_error(
        [&] { print_result(run, layout, engine::no_groups, value, &memory); });
    return std::string(memory.buffer, memory.length);
}

// A double near an edge: one of the doubles next to it, or the edge plus a small offset with
// a fraction; or a value that fits no word.
double value_near(double edge, std::mt19937_64& random) {
    constexpr double beyond[] = {std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(),
                                 -std::numeric_limits<double>::quiet_NaN(),
                                 1e30,
                                 -1e30,
                                 std::numeric_limits<double>::max()};
    switch (random() % 8) {
        case 0:
            return beyond[random() % std::size(beyond)];
        case 1:
            return std::nextafter(edge, 0.0);
        case 2:
            return std::nextafter(edge, edge < 0 ? -1e300 : 1e300);
        case 3:
            return edge;
        default:
            return edge + static_cast<double>(static_cast<int>(random() % 7) - 3) +
                   std::ldexp(static_cast<double>(random() % 1024), -10) * (random() % 2 ? 1 : -1);
    }
}

TEST(WordSizeProperties, WordsAndWarningsEqualWideIntegers) {
    std::mt19937_64 random(1963);
    constexpr integer_reading readings[] = {integer_reading::none, integer_reading::signed_word,
                                            integer_reading::unsigned_word};
    constexpr result_layout hex_layout = {layout_hex, default_precision};
    int values = 0;
    for (const int bits : {8, 16, 32, 64}) {
        const double edges[] = {0.0,
                                -std::ldexp(1.0, bits - 1),
                                std::ldexp(1.0, bits - 1),
                                std::ldexp(1.0, bits),
                                0x1p52,
                                -0x1p52,
                                0x1p63,
                                -0x1p63,
                                0x1p64};
        for (const integer_reading reading : readings) {
            const word_settings word = {bits, reading};
            const run_settings run = {word, presentation::single, nullptr};
            for (int round = 0; round < 1500; ++round) {
                const double value = value_near(edges[round % std::size(edges)], random);
                const expected_word expected = reference(value, word);
                std::string warnings;
                ASSERT_EQ(shown(run, hex_layout, value, warnings), expected.hex)
                    << value << ' ' << bits;
                ASSERT_EQ(warnings, expected.warnings) << value << ' ' << bits;
                ++values;
                if (reading == integer_reading::none) continue;
                ASSERT_EQ(shown(run, default_layout, value, warnings), expected.general)
                    << value << ' ' << bits;
                ASSERT_EQ(warnings, expected.warnings) << value << ' ' << bits;
            }
        }
    }
    std::printf("[ property ] %d values\n", values);
}

}  // namespace
}  // namespace fexpr::format
