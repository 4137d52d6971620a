// Tab completion: a table of lines with the words Tab offers, and a property over random
// expressions that every word offered is read by the evaluator as that word.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "driver/completion.h"
#include "driver/mode_steps.h"
#include "engine_harness.h"
#include "format/layouts.h"
#include "random_expressions.h"

namespace fexpr::driver {
namespace {

using platform::completion_list;

// The words offered before the cursor at the end of `text` (or not at the end), joined by
// blanks; each word's typed part must be the text's end.
std::string offered(const std::string& text, bool at_end = true) {
    static completion_list list;
    find_completions(text.c_str(), text.size(), at_end, list);
    std::string words;
    for (std::size_t index = 0; index < list.count; ++index) {
        const platform::completion_word& word = list.words[index];
        const std::string typed(word.text, word.typed);
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), word.typed)), typed) << text;
        words += (words.empty() ? "" : " ") + std::string(word.text);
    }
    return words;
}

const std::string all_names =
    "sin cos tan sqrt arcsin arccos arctan lg ln exp ceil floor round sign abs d2r r2d Pi shift";
const std::string all_functions =
    "sin cos tan sqrt arcsin arccos arctan lg ln exp ceil floor round sign abs d2r r2d shift";
const std::string s_names = "sin sqrt sign shift";

struct completion_case {
    const char* text;
    bool at_end;
    std::string words;
};

const completion_case completion_cases[] = {
    // Where an operand begins: every name.
    {"", true, all_names},
    {"2*", true, all_names},
    {"2^( ", true, all_names},
    {"1 x ", true, all_names},
    // After a group Pi would be rejected; a number too.
    {"(1)", true, all_functions},
    {"(1)s", true, s_names},
    {"(1)p", true, ""},
    {"(1)2s", true, ""},
    // Letters typed: the names they begin, in the case typed.
    {"sq", true, "sqrt"},
    {"2*sq", true, "sqrt"},
    {"2sq", true, "sqrt"},
    {"1.5e3sq", false, "sqrt"},
    {"s", true, s_names},
    {"S", true, "Sin Sqrt Sign"},
    {"SQ", true, "SQRT"},
    {"Sq", true, "Sqrt"},
    {"sQ", true, "sQrt"},
    {"ARC", true, "ARCSIN ARCCOS ARCTAN"},
    {"arc", true, "arcsin arccos arctan"},
    {"d2", true, "d2r"},
    {"R2", true, "R2d"},
    {"sh", true, "shift"},
    {"SH", true, ""},
    {"p", true, "pi"},
    {"P", true, "Pi"},
    {"2p", true, "pi"},
    {"sin", true, "sin"},
    {"sinco", true, "cos"},
    {"sin(co", true, "cos"},
    {"lnsqrtab", true, "abs"},
    {"t", true, "tan"},
    {"2T", true, "Tan"},
    // Nothing where the letters would be read otherwise: after Pi or a unit letter, inside
    // a radix literal, after an 'x' kept as a letter, after an exponent's sign.
    {"pis", true, ""},
    {"Pi s", true, ""},
    {"2ks", true, ""},
    {"2k", true, ""},
    {"0xa", true, ""},
    {"0xab", true, ""},
    {"0b1", true, ""},
    {"2xs", true, ""},
    {"1e-", true, ""},
    {"1e-s", true, ""},
    {"0x-", true, ""},
    {"0X -", true, ""},
    {"2 x s", true, s_names},
    {"2x3s", true, s_names},
    {"si n", true, ""},
    {"#s", true, ""},
    {"2.5.s", true, ""},
    {"xyz", true, ""},
    // After a blank that follows an operand, at the end of the line: the format suffixes.
    {"1+2 x", true, "x_ x"},
    {"1+2 x", false, ""},
    {"1+2 X", true, "X_ X"},
    {"1+2 x_", true, "x_"},
    {"1+2 -", true, all_names},
    {"2*-", true, ""},
    {"2 - -", true, ""},
    {"-", true, all_names},
    {"(+", true, all_names},
    {"*", true, ""},
    {"1+2 g1", true, "g1 g10 g11 g12 g13 g14 g15"},
    {"1+2 G", true, ""},
    {"1+2 .", true, ".0 .1 .2 .3 .4 .5 .6 .7 .8 .9 .10 .11 .12 .13 .14 .15"},
    {"1+2 :", true, ":"},
    {"1 e", true, "exp e0 e1 e2 e3 e4 e5 e6 e7 e8 e9 e10 e11 e12 e13 e14 e15"},
    {"(1) b", true, "b"},
    {"2k o", true, "o"},
    {"Pi o", true, "o"},
    {"sinpi o", true, "o"},
    {"sink o", true, "o"},
    {"0xff o", true, "o"},
    {"1e5 o", true, "o"},
    {"1+ x", true, ""},
    {"sin x", true, ""},
    {"sqrt x", true, ""},
    {"shiftll000701 x", true, ""},
    {"1e x", true, ""},
    {"( x", true, ""},
    // A name that would make the last word a suffix is not offered: the line would be split.
    {"2 :", true, ":"},
    {"2 :", false, ""},
    {"1 .5s", true, ""},
    {"2 e1s", true, ""},
    {"2 e1 s", true, s_names},
    {"2 +s", true, s_names},
};

TEST(Completion, OffersTheWordsThatFitBeforeTheCursor) {
    for (const completion_case& row : completion_cases) {
        EXPECT_EQ(offered(row.text, row.at_end), row.words)
            << "line \"" << row.text << "\"" << (row.at_end ? "" : ", cursor inside");
    }
}

TEST(Completion, AfterABlankOffersEverySuffixOnce) {
    std::string expected;
    int count = 0;
    for (const format::numbered_suffix& suffix : format::numbered_suffixes) {
        for (int number = suffix.low; number <= suffix.high; ++number, ++count) {
            expected += (expected.empty() ? "" : " ") + (suffix.lead + std::to_string(number));
        }
    }
    for (const format::plain_suffix& suffix : format::plain_suffixes) {
        expected += std::string(" ") + suffix.text;
        ++count;
    }
    EXPECT_EQ(count, 52);
    EXPECT_EQ(offered("1+2 "), expected);
}

// The names of the language, written out here as a reference of their own; every other
// word offered is a format suffix.
bool is_name(std::string word) {
    static const char* const names[] = {"sin", "cos", "tan", "sqrt", "arcsin", "arccos", "arctan",
                                        "lg",  "ln",  "exp", "ceil", "floor",  "round",  "sign",
                                        "abs", "d2r", "r2d", "pi",   "shift"};
    for (char& character : word) character = static_cast<char>(std::tolower(character));
    for (const char* name : names) {
        if (word == name) return true;
    }
    return false;
}

// What follows a completed name so that the text can be evaluated: an operand after a
// function, the fields of a shift descriptor; nothing after Pi.
std::string probe_after(const std::string& word) {
    if (word == "shift") return "ll000701(1)";
    if (word.size() == 2 && (word[0] == 'p' || word[0] == 'P')) return "";
    return "(1)";
}

/*
 * Every cut of random expressions that the evaluator accepts stands for a person pressing
 * Tab there. Each word offered, put at the cursor, must be read as what it is: a name
 * followed by an operand leaves a line that is all expression and evaluates without a
 * diagnostic; a suffix is split off the line as one, and the text before it evaluates.
 */
TEST(Completion, EveryWordOfferedIsReadAsThatWord) {
    // The math errors of the evaluations go to standard error, which is silenced meanwhile.
    const int saved_error = dup(STDERR_FILENO);
    const int null_device = open("/dev/null", O_WRONLY);
    dup2(null_device, STDERR_FILENO);
    testing::expression_maker maker(20261210);
    constexpr int expressions = 20000;
    long cuts = 0;
    long words = 0;
    for (int made = 0; made < expressions; ++made) {
        const std::string expression = maker.make();
        if (testing::run_engine(expression).ended) continue;
        static completion_list list;
        for (std::size_t cut = 0; cut <= expression.size(); ++cut, ++cuts) {
            const std::string before = expression.substr(0, cut);
            find_completions(before.c_str(), before.size(), true, list);
            for (std::size_t index = 0; index < list.count; ++index, ++words) {
                const std::string word = list.words[index].text;
                const std::string line = before + word.substr(list.words[index].typed);
                // The line as the modes at the console read it: split at its last blank.
                const bool suffix = !is_name(word);
                std::string text = suffix ? line : line + probe_after(word);
                const format::result_layout layout = split_suffix(text.data());
                text.resize(std::strlen(text.c_str()));
                EXPECT_EQ(layout.format != format::layout_default, suffix)
                    << "\"" << line << "\" is read with the wrong layout";
                const testing::engine_run run = testing::run_engine(text);
                EXPECT_FALSE(run.ended) << "\"" << before << "\" + \"" << word << "\": \"" << text
                                        << "\" ends with status " << run.status;
            }
        }
    }
    dup2(saved_error, STDERR_FILENO);
    close(saved_error);
    close(null_device);
    std::printf("%d expressions, %ld cuts, %ld words offered\n", expressions, cuts, words);
}

}  // namespace
}  // namespace fexpr::driver
