// Pushes onto a level's stacks, each followed by the one depth guard.
#include "engine/level_stacks.h"

#include "engine/diagnostics.h"
#include "engine/functions.h"

namespace fexpr::engine {

void end_too_complex() noexcept {
    end_with_diagnostic(status_too_complex);
}

void push_function_code(level_state& level, int code, const shift_descriptor& descriptor) noexcept {
    level.operator_stack[level.operator_count] = static_cast<char>(code);
    level.shift_descriptors[level.operator_count] = descriptor;
    ++level.operator_count;
    check_stack_depth(level.operator_count);
}

}  // namespace fexpr::engine
