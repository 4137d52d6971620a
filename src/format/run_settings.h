// The settings of one run: what the switches chose before anything is evaluated, handed as
// one struct to every step that depends on them.
#pragma once

#include "engine/reading_record.h"

namespace fexpr::format {

// How the general layout shows a value: as it always does, or as the integer view read as
// a two's-complement or an unsigned word.
enum class integer_reading { none, signed_word, unsigned_word };

// The word of the integer layouts (--bits) and the integer reading (--signed, --unsigned).
struct word_settings {
    int bits;  // 8, 16, 32 or 64
    integer_reading reading;
};

// How the command line's result is shown: in its one layout, in every layout (--all), or as
// the double it is (--exact).
enum class presentation { single, all_layouts, exact };

struct run_settings {
    word_settings word;
    presentation shown;
    // Under --explain, where the engine records how it reads each expression; nullptr else.
    engine::reading_record* reading;
};

// The settings of a run without switches.
inline constexpr run_settings plain_run = {
    {64, integer_reading::none}, presentation::single, nullptr};

}  // namespace fexpr::format
