// Pushes onto a level's stacks, each followed by the one depth guard.
#include "engine/level_stacks.h"

#include "engine/diagnostics.h"
#include "engine/functions.h"

namespace fexpr::engine {

void check_stack_depth(int count) noexcept {
    if (count > max_stack_count) {
        end_with_diagnostic(status_too_complex);
    }
}

void push_operand(level_state& level, double value) noexcept {
    level.value_stack[level.value_count] = value;
    ++level.value_count;
    check_stack_depth(level.value_count);
    // Only a function code (below 32, as no operator is) on top has anything to apply.
    const int top = level.operator_count - 1;
    if (top < 0 || static_cast<unsigned char>(level.operator_stack[top]) >= 32) return;
    level.value_stack[level.value_count - 1] = apply_pending_functions(
        value, level.operator_stack, level.shift_descriptors, level.operator_count);
}

void push_function_code(level_state& level, int code, const shift_descriptor& descriptor) noexcept {
    level.operator_stack[level.operator_count] = static_cast<char>(code);
    level.shift_descriptors[level.operator_count] = descriptor;
    ++level.operator_count;
    check_stack_depth(level.operator_count);
}

}  // namespace fexpr::engine
