// The binary operators: values of the arithmetic, bitwise and shift operators, and the
// reductions of a level's stacks as operators of each class arrive.
#include "engine/operators.h"

#include <cstdint>

#include "engine/diagnostics.h"
#include "engine/reading_record.h"
#include "numeric/extended.h"
#include "numeric/integer_view.h"
#include "numeric/math_services.h"

namespace fexpr::engine {
namespace {

using numeric::extended;

// Logical left and arithmetic right shifts of a 64-bit pattern by any count: 64 or more
// shifts every bit out, a negative count shifts the other way by its magnitude.
std::uint64_t shift_left_by(std::uint64_t pattern, std::uint64_t count) noexcept {
    return count >= 64 ? 0 : pattern << count;
}

std::uint64_t shift_right_by(std::uint64_t pattern, std::uint64_t count) noexcept {
    const bool negative = (pattern >> 63) != 0;
    if (count >= 64) return negative ? ~std::uint64_t{0} : 0;
    return negative ? ~(~pattern >> count) : pattern >> count;
}

std::uint64_t shift_pattern(std::uint64_t pattern, std::int64_t count, bool left) noexcept {
    const bool negative = count < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t{0} - numeric::pattern_of(count) : numeric::pattern_of(count);
    return left != negative ? shift_left_by(pattern, magnitude)
                            : shift_right_by(pattern, magnitude);
}

double apply_bitwise(char op, double a, double b) noexcept {
    const std::uint64_t x = numeric::pattern_of(numeric::integer_view(a));
    const std::int64_t view_b = numeric::integer_view(b);
    const std::uint64_t y = numeric::pattern_of(view_b);
    std::uint64_t result = 0;
    switch (op) {
        case '&':
            result = x & y;
            break;
        case '|':
            result = x | y;
            break;
        case '@':
            result = x ^ y;
            break;
        case '{':
            result = shift_pattern(x, view_b, true);
            break;
        default:
            result = shift_pattern(x, view_b, false);
            break;  // '}'
    }
    return static_cast<double>(numeric::signed_from_pattern(result));
}

}  // namespace

double apply_operator(char op, double a, double b) noexcept {
    const extended x = a;
    const extended y = b;
    switch (op) {
        case '+':
            return numeric::store(x + y);
        case '-':
            return numeric::store(x - y);
        case '*':
            return numeric::store(x * y);
        case '/':
            return numeric::store(x / y);
        case ':':
            return numeric::store(x * 60 + y);
        case '%':
            return numeric::math_fmod(a, b);
        case '^':
            return numeric::math_pow(a, b);
        default:
            return apply_bitwise(op, a, b);
    }
}

namespace {

template <bool recorded>
void reduce_top(level_state& level) noexcept {
    --level.operator_count;
    --level.value_count;
    const char op = level.operator_stack[level.operator_count];
    if constexpr (recorded) record_reduction(op);
    double& a = level.value_stack[level.value_count - 1];
    a = apply_operator(op, a, level.value_stack[level.value_count]);
}

void push_operator(level_state& level, char op) noexcept {
    level.operator_stack[level.operator_count] = op;
    ++level.operator_count;
    check_stack_depth(level.operator_count);
}

char top_operator(const level_state& level) noexcept {
    return level.operator_stack[level.operator_count - 1];
}

template <bool recorded>
void arrive_low(level_state& level, char op) noexcept {
    while (level.operator_count > 0) reduce_top<recorded>(level);
    level.operator_stack[0] = op;
    level.operator_count = 1;
    check_stack_depth(level.operator_count);
}

/*
 * A middle-class operator reduces every operator above the bottom that is not of the low
 * class, then is pushed. Over '+', '-', and also over a bottom '|' or '@', it is simply
 * pushed ('1|2*3' is 7). Over a middle-class operator it takes that operator's place. Over a
 * high-class operator it reduces that one and then goes on reducing a middle-class operator
 * below it, so chains stay left to right ('8/2^2/2' is 1) and never pile up.
 */
template <bool recorded>
void arrive_middle(level_state& level, char op) noexcept {
    while (level.operator_count > 1 && class_of(top_operator(level)) != low_class) {
        reduce_top<recorded>(level);
    }
    push_operator(level, op);
}

void arrive_high(level_state& level, char op) noexcept {
    if (class_of(top_operator(level)) == high_class) {
        end_with_diagnostic(status_high_operators_together);
    }
    push_operator(level, op);
}

}  // namespace

template <bool recorded>
void multiply_implicitly(level_state& level) noexcept {
    check_stack_depth(level.operator_count + 1);
    arrive_middle<recorded>(level, '*');
    level.after_operand = false;
}

template <bool recorded>
void reduce_all(level_state& level) noexcept {
    while (level.operator_count > 0) reduce_top<recorded>(level);
}

template <bool recorded>
void act_on_operator(level_state& level, char op) noexcept {
    if (!level.after_operand) end_with_diagnostic(status_operator_adhesion);
    const operator_class kind = class_of(op);
    if (kind == low_class) {
        arrive_low<recorded>(level, op);
    } else if (kind == middle_class) {
        arrive_middle<recorded>(level, op);
    } else {
        arrive_high(level, op);
    }
    level.after_operand = false;
}

template void multiply_implicitly<false>(level_state& level) noexcept;
template void multiply_implicitly<true>(level_state& level) noexcept;
template void reduce_all<false>(level_state& level) noexcept;
template void reduce_all<true>(level_state& level) noexcept;
template void act_on_operator<false>(level_state& level, char op) noexcept;
template void act_on_operator<true>(level_state& level, char op) noexcept;

}  // namespace fexpr::engine
