// Benchmarks of the result layouts, printed on a memory stream that is emptied each time.
#include <benchmark/benchmark.h>

#include "format/layouts.h"
#include "platform/output_stream.h"

namespace {

fexpr::platform::output_stream memory;

// Values small enough that no integer layout adds the accuracy warning on standard error.
constexpr double sample_values[] = {4024.0,   0.1,     3.141592653589793, 1234567.891,
                                    -2704.25, 86399.5, 123456789.0,       -0.000123};
constexpr int sample_count = sizeof sample_values / sizeof sample_values[0];

void print_layout(benchmark::State& state, fexpr::format::output_format layout, int precision,
                  int grouping) {
    fexpr::platform::open_memory_stream(&memory);
    const fexpr::format::result_layout chosen = {layout, precision};
    const auto groups = static_cast<fexpr::engine::digit_grouping>(grouping);
    for (auto _ : state) {
        for (double value : sample_values) {
            memory.length = 0;
            fexpr::format::print_result(fexpr::format::plain_run, chosen, groups, value, &memory);
            benchmark::DoNotOptimize(memory.buffer[0]);
        }
    }
    state.SetItemsProcessed(state.iterations() * sample_count);
}

void layout_default(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_default, 15, 0);
}
BENCHMARK(layout_default);

void layout_default_grouped(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_default, 15, 1);
}
BENCHMARK(layout_default_grouped);

void layout_fixed(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_fixed, 3, 0);
}
BENCHMARK(layout_fixed);

void layout_significant(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_significant, 6, 0);
}
BENCHMARK(layout_significant);

void layout_scientific(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_scientific, 10, 0);
}
BENCHMARK(layout_scientific);

void layout_hex_grouped(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_hex_grouped, 15, 0);
}
BENCHMARK(layout_hex_grouped);

void layout_hex(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_hex, 15, 0);
}
BENCHMARK(layout_hex);

void layout_binary(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_binary, 15, 0);
}
BENCHMARK(layout_binary);

void layout_octal(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_octal, 15, 0);
}
BENCHMARK(layout_octal);

void layout_duration(benchmark::State& state) {
    print_layout(state, fexpr::format::layout_duration, 15, 0);
}
BENCHMARK(layout_duration);

}  // namespace
