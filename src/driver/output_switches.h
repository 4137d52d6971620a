// The switches that change how a result is shown: --all, --exact, --bits, --signed and
// --unsigned, and --explain, which shows how the expression was read.
#pragma once

#include <cstddef>

#include "format/run_settings.h"
#include "platform/output_stream.h"

namespace fexpr::driver {

// Takes the switch `name` (`length` characters, then its optional `value`) into the run's
// settings when it is an output switch and returns true; a bad value or a second switch of
// its kind ends the process with status 64. Returns false for every other name.
bool take_output_switch(format::run_settings& run, const char* parameter, const char* name,
                        std::size_t length, const char* value) noexcept;

// The help lines of the output switches, in the layout of the other switches' lines.
void print_output_switch_help(platform::output_stream* out) noexcept;

}  // namespace fexpr::driver
