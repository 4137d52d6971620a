// The invocation modes of the command line.
#pragma once

namespace fexpr::driver {

// Chooses the mode from the parameters, runs it and returns the exit status (or ends the
// process with a diagnostic's status).
int run(int argc, char** argv) noexcept;

}  // namespace fexpr::driver
