// Benchmarks of the number conversions.
#include <benchmark/benchmark.h>

#include "numeric/decimal_input.h"
#include "numeric/text_output.h"

namespace {

constexpr double sample_values[] = {
    4024.0,      0.1,    3.141592653589793,    1.7976931348623157e308,
    1234567.891, 5e-324, 123456789012345678.0, -0.000123};

void text_to_double_typical(benchmark::State& state) {
    const char* texts[] = {"3000", "2.5", "0.000123", "1234567.891", "1e300", "17.75e-3"};
    for (auto _ : state) {
        for (const char* text : texts) {
            const char* end = nullptr;
            benchmark::DoNotOptimize(fexpr::numeric::text_to_double(text, &end));
        }
    }
    state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(text_to_double_typical);

void general_15(benchmark::State& state) {
    char text[64];
    for (auto _ : state) {
        for (double value : sample_values) {
            benchmark::DoNotOptimize(fexpr::numeric::format_general(text, sizeof text, 15, value));
        }
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(general_15);

void fixed_precision(benchmark::State& state) {
    char text[128];
    const int precision = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (double value : sample_values) {
            benchmark::DoNotOptimize(
                fexpr::numeric::format_fixed(text, sizeof text, precision, value));
        }
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(fixed_precision)->Arg(0)->Arg(3)->Arg(15);

}  // namespace
