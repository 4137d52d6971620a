// Benchmarks of the expression engine: evaluate_text, the driver's own call, on whole
// expressions.
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstddef>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/evaluator.h"
#include "engine/text_buffers.h"
#include "platform/output_stream.h"
#include "platform/process.h"

namespace {

// The evaluation rewrites expression_text, so every iteration starts from a fresh copy.
void load(const char* text, std::size_t length) noexcept {
    std::memcpy(fexpr::engine::expression_text, text, length + 1);
}

double evaluate_copy(const char* text, std::size_t length) noexcept {
    load(text, length);
    return fexpr::engine::evaluate_text(fexpr::engine::expression_text, nullptr).value;
}

void run_expression(benchmark::State& state, const char* text) {
    const std::size_t length = std::strlen(text);
    for (auto _ : state) benchmark::DoNotOptimize(evaluate_copy(text, length));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * length));
}

// The lines of the batch benchmark: decimals, + - * /, parentheses, powers.
void evaluate_short(benchmark::State& state) {
    run_expression(state, "3000+2^10");
}
BENCHMARK(evaluate_short);

void evaluate_typical(benchmark::State& state) {
    run_expression(state, "(512.17+31)*(13.6-1)/31+512.17/1");
}
BENCHMARK(evaluate_typical);

// Unit letters, functions, a radix literal and a bit-field shift: every operand kind.
void evaluate_mixed(benchmark::State& state) {
    run_expression(state, "3k+sqrt(2K)*sin(Pi/6)-0x1F&255|shiftll000701(13)");
}
BENCHMARK(evaluate_mixed);

// The longest text the driver accepts: 16383 characters of "1+1+…".
void evaluate_longest(benchmark::State& state) {
    static char text[fexpr::engine::text_capacity];
    std::size_t length = 0;
    text[length++] = '1';
    while (length + 2 <= fexpr::engine::max_text_length) {
        text[length++] = '+';
        text[length++] = '1';
    }
    text[length] = '\0';
    run_expression(state, text);
}
BENCHMARK(evaluate_longest);

// The same length made of unit numbers, which the pre-pass wraps in parentheses.
void evaluate_longest_units(benchmark::State& state) {
    static char text[fexpr::engine::text_capacity];
    std::size_t length = 0;
    text[length++] = '1';
    text[length++] = 'k';
    while (length + 3 <= fexpr::engine::max_text_length) {
        text[length++] = '+';
        text[length++] = '1';
        text[length++] = 'k';
    }
    text[length] = '\0';
    run_expression(state, text);
}
BENCHMARK(evaluate_longest_units);

std::jmp_buf diagnostic_jump;

void jump_back(int) {
    std::longjmp(diagnostic_jump, 1);
}

// One evaluation whose diagnostic, if any, jumps back here.
void evaluate_guarded(const char* text) {
    if (setjmp(diagnostic_jump) == 0) {
        benchmark::DoNotOptimize(evaluate_copy(text, std::strlen(text)));
    }
}

// Long texts of every kind of piece, most of them ending with a diagnostic, which jumps back
// here instead of ending the process.
void evaluate_long_pieces(benchmark::State& state) {
    static const char* const pieces[] = {"1k",   "K", "(",    ")",   "#",
                                         "9",    "+", "sqrt", "Pi",  " ",
                                         ",",    "x", "0x",   "0b1", "shiftll000701",
                                         "\xff", "e", ".",    "(2)"};
    static char texts[sizeof pieces / sizeof pieces[0]][fexpr::engine::text_capacity];
    for (std::size_t kind = 0; kind < sizeof pieces / sizeof pieces[0]; ++kind) {
        const std::size_t piece_length = std::strlen(pieces[kind]);
        std::size_t length = 0;
        while (length + piece_length <= fexpr::engine::max_text_length) {
            std::memcpy(texts[kind] + length, pieces[kind], piece_length);
            length += piece_length;
        }
        texts[kind][length] = '\0';
    }
    static fexpr::platform::output_stream sink;
    fexpr::platform::open_memory_stream(&sink);
    fexpr::engine::direct_results_to(&sink);
    fexpr::platform::set_exit_hook(jump_back);
    for (auto _ : state) {
        for (const char* text : texts) {
            sink.length = 0;
            evaluate_guarded(text);
        }
    }
    fexpr::platform::set_exit_hook(nullptr);
    fexpr::engine::direct_results_to(nullptr);
}
BENCHMARK(evaluate_long_pieces);

}  // namespace
