// Seeded random expressions of the whole language: every kind of operand (decimal numbers
// with fractions and exponents, radix literals, Pi, unit letters alone and after numbers),
// the unary functions and shift descriptors, all twelve operators, implicit multiplication,
// groups, leading signs, blanks and digit-group marks; now and then a character that makes
// the expression faulty.
#pragma once

#include <random>
#include <string>

namespace fexpr::testing {

class expression_maker {
public:
    explicit expression_maker(std::uint64_t seed) : random_(seed) {}

    std::string make() { return expression(0); }

private:
    std::mt19937_64 random_;

    int below(int count) { return static_cast<int>(random_() % static_cast<unsigned>(count)); }
    bool one_in(int count) { return below(count) == 0; }

    template <std::size_t count>
    const char* pick(const char* const (&choices)[count]) {
        return choices[below(static_cast<int>(count))];
    }

    std::string digits(const char* set, int most) {
        std::string text;
        const int count = 1 + below(most);
        const std::string chosen(set);
        for (int i = 0; i < count; ++i) text += chosen[below(static_cast<int>(chosen.size()))];
        return text;
    }

    std::string number() {
        switch (below(8)) {
            case 0:
                return "0x" + digits("0123456789abcdefABCDEF", 16);
            case 1:
                return "0b" + digits("01", 12);
            case 2:
                return "0o" + digits("01234567", 8);
            case 3:
                return digits("0123456789", 3) + "e" + (one_in(2) ? "-" : "") + digits("0123", 2);
            case 4:
                return "." + digits("0123456789", 4);
            case 5:
                return digits("0123456789", 4) + "." + digits("0123456789", 3);
            default:
                return digits("0123456789", 5);
        }
    }

    std::string operand(int depth) {
        static const char* const units[] = {"k", "m", "g", "t", "p", "K", "M", "G", "T", "P"};
        static const char* const functions[] = {
            "sin", "cos", "tan", "sqrt", "arcsin",        "arccos",        "arctan",
            "lg",  "ln",  "exp", "ceil", "floor",         "round",         "sign",
            "abs", "d2r", "r2d", "SQRT", "shiftll000701", "shiftar1l0402", "shiftrl0l6401"};
        const int kind = depth > 3 ? below(4) : below(7);
        switch (kind) {
            case 0:
            case 1:
                return number();
            case 2:
                return one_in(2) ? "Pi" : pick(units);
            case 3:
                return number() + pick(units);
            case 4:
                return std::string(pick(functions)) +
                       (one_in(2) ? number() : "(" + expression(depth + 1) + ")");
            default:
                return "(" + expression(depth + 1) + (one_in(8) ? "" : ")");
        }
    }

    std::string joint() {
        static const char* const operators[] = {"+", "-", "|", "@", "*", "/", "%",
                                                "&", ":", "^", "{", "}", "x", " "};
        // An empty joint puts two operands side by side: implicit multiplication, or a
        // fault where the language has none.
        if (one_in(6)) return "";
        return pick(operators);
    }

    std::string noise() {
        static const char* const marks[] = {" ", ",", "_", "\t", "#", "(", ")", "-", "--"};
        return one_in(12) ? pick(marks) : "";
    }

    std::string expression(int depth) {
        std::string text = one_in(5) ? (one_in(2) ? "-" : "+") : "";
        text += operand(depth);
        const int more = below(depth > 2 ? 2 : 5);
        for (int i = 0; i < more; ++i) text += noise() + joint() + noise() + operand(depth);
        return text;
    }
};

}  // namespace fexpr::testing
