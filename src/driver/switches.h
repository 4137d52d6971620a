// The switches: leading parameters of the form --word or --word=value, ended by "--".
#pragma once

namespace fexpr::driver {

// Reads the leading switches of the command line. A mode switch (--each, --sum, --help,
// --version) runs its mode and ends the process; an unknown switch, a bad value or unusable
// parameters end it with a one-line message on standard error and status 64. Without a
// switch, returns the index of the first parameter the described modes read: 1, or the one
// after a leading "--".
int run_switches(int argc, char** argv) noexcept;

}  // namespace fexpr::driver
