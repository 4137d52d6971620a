// The binary operators: values of the arithmetic, bitwise and shift operators, and the
// reductions of a level's stacks as operators of each class arrive.
#include "engine/operators.h"

#include <cstdint>

#include "engine/diagnostics.h"
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

double apply_other_operator(char op, double a, double b) noexcept {
    switch (op) {
        case '%':
            return numeric::math_fmod(a, b);
        case '^':
            return numeric::math_pow(a, b);
        default:
            return apply_bitwise(op, a, b);
    }
}

}  // namespace fexpr::engine
