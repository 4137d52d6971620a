// The duration layout: a number of seconds as days, hours, minutes, seconds and milliseconds.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/text_buffers.h"
#include "format/layouts.h"
#include "numeric/extended.h"
#include "numeric/integer_view.h"
#include "numeric/text_output.h"
#include "platform/text_builder.h"

namespace fexpr::format {
namespace {

// Seconds in 10000 years of 365.25 days; from here on the default layout is used.
constexpr double duration_limit = 3.15576e11;

/*
 * The milliseconds are the remainder of the seconds by 1000 (exact), times 1000 plus 0.5,
 * truncated, modulo 1000: rounded to the nearest, wrapping from 1000 to 0 without carrying
 * into the seconds (59.9996 gives 59.000). The product keeps the wide significand until it
 * is truncated; it lies between 0.5 and 1000000.5, so the conversion is always defined.
 */
int milliseconds_of(double seconds) noexcept {
    const double remainder = std::fmod(seconds, 1000.0);
    const numeric::extended scaled =
        static_cast<numeric::extended>(remainder) * 1000 + static_cast<numeric::extended>(0.5);
    return static_cast<int>(static_cast<std::int64_t>(scaled) % 1000);
}

void append_number(platform::text_builder& builder, std::int64_t value, int width) noexcept {
    const std::size_t count = numeric::format_signed(platform::builder_end(builder),
                                                     platform::builder_room(builder), value, width);
    platform::builder_advance(builder, count);
}

// "SS.mss", "MM:SS.mss", "HH:MM:SS.mss" or "D HH:MM:SS.mss" for 1 <= seconds < the limit.
void build_clock_text(double seconds, char* out) noexcept {
    const std::int64_t whole = numeric::integer_view(seconds);
    platform::text_builder builder = platform::make_builder(out, engine::text_capacity);
    if (!(seconds >= 60)) {
        append_number(builder, whole % 60, 2);
    } else if (!(seconds >= 3600)) {
        append_number(builder, whole / 60, 2);
        platform::append_char(builder, ':');
        append_number(builder, whole % 60, 2);
    } else {
        if (!(seconds >= 86400)) {
            append_number(builder, whole / 3600, 2);
        } else {
            append_number(builder, whole / 86400, 0);
            platform::append_char(builder, ' ');
            append_number(builder, whole % 86400 / 3600, 2);
        }
        platform::append_char(builder, ':');
        append_number(builder, whole % 3600 / 60, 2);
        platform::append_char(builder, ':');
        append_number(builder, whole % 60, 2);
    }
    platform::append_char(builder, '.');
    append_number(builder, milliseconds_of(seconds), 3);
}

}  // namespace

bool duration_falls_back(double value) noexcept {
    return !(std::fabs(value) < duration_limit);
}

/*
 * Tricky cases: a NaN and an infinity print in the default layout; below one second the
 * text is "%.3lf", which rounds on its own (0.9996 gives 1.000); a negative value prints
 * its magnitude behind a '-'. Duration texts are never grouped.
 */
void print_duration(const run_settings& run, double value, engine::digit_grouping grouping,
                    platform::output_stream* stream) noexcept {
    if (duration_falls_back(value)) {
        print_layout_line(run, default_layout, grouping, value, stream);
        return;
    }
    const bool negative = !(value >= 0);
    if (negative) value = -value;
    char* text = engine::number_text;
    if (!(value >= 1)) {
        numeric::format_fixed(text, engine::text_capacity, 3, value);
    } else {
        build_clock_text(value, text);
    }
    if (negative) platform::write_stream(stream, "-", 1);
    platform::write_stream(stream, text);
    platform::write_stream(stream, "\n", 1);
}

}  // namespace fexpr::format
