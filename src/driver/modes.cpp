// Placeholder until the invocation modes are built.
#include "driver/modes.h"

#include "platform/output_stream.h"
#include "platform/process.h"

namespace fexpr::driver {

int run(int argc, char** argv) noexcept {
    static_cast<void>(argc);
    static_cast<void>(argv);
    platform::write_stream(platform::standard_output(), "fexpr\n");
    platform::end_process(0);
}

}  // namespace fexpr::driver
