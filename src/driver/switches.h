// The switches: leading parameters of the form --word or --word=value, ended by "--".
#pragma once

#include "format/run_settings.h"
#include "platform/output_stream.h"

namespace fexpr::driver {

// "fexpr: <what><name> (see fexpr --help)" on standard error, status 64.
[[noreturn]] void end_with_usage(const char* what, const char* name) noexcept;

// One line of the switches in --help: the usage, padded to a column, and the summary.
void print_switch_line(platform::output_stream* out, const char* usage,
                       const char* summary) noexcept;

// Reads the leading switches of the command line. A mode switch (--each, --sum, --help,
// --version) runs its mode and ends the process; an unknown switch, a bad value or unusable
// parameters end it with a one-line message on standard error and status 64. Without a
// switch, returns the index of the first parameter the described modes read: 1, or the one
// after a leading "--". The output switches are taken into `run`.
int run_switches(format::run_settings& run, int argc, char** argv) noexcept;

}  // namespace fexpr::driver
