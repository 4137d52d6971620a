// The invocation modes of the command line.
#pragma once

namespace fexpr::driver {

// Chooses the mode from the parameters and runs it; every mode ends the process with its
// exit status.
[[noreturn]] void run(int argc, char** argv) noexcept;

}  // namespace fexpr::driver
