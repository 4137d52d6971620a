// Benchmarks of the number conversions and of the portable 64-bit-significand arithmetic.
#include <benchmark/benchmark.h>

#include "numeric/decimal_input.h"
#include "numeric/portable_extended.h"
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

// The portable type's operations over operands of mixed magnitudes, the engine's join
// (x * 60 + y) and the rounding to double; items are operations.
using fexpr::numeric::portable_extended;

template <typename operation>
void portable_operation(benchmark::State& state, operation apply) {
    portable_extended operands[8];
    for (int i = 0; i < 8; ++i) operands[i] = portable_extended(sample_values[i] + 1.5);
    for (auto _ : state) {
        for (int i = 0; i < 8; ++i) {
            benchmark::DoNotOptimize(apply(operands[i], operands[(i + 3) % 8]));
        }
    }
    state.SetItemsProcessed(state.iterations() * 8);
}

void portable_add(benchmark::State& state) {
    portable_operation(state, [](portable_extended a, portable_extended b) { return a + b; });
}
BENCHMARK(portable_add);

void portable_multiply(benchmark::State& state) {
    portable_operation(state, [](portable_extended a, portable_extended b) { return a * b; });
}
BENCHMARK(portable_multiply);

void portable_divide(benchmark::State& state) {
    portable_operation(state, [](portable_extended a, portable_extended b) { return a / b; });
}
BENCHMARK(portable_divide);

void portable_sqrt(benchmark::State& state) {
    portable_operation(state, [](portable_extended a, portable_extended) {
        return fexpr::numeric::portable_sqrt(a);
    });
}
BENCHMARK(portable_sqrt);

void portable_join(benchmark::State& state) {
    portable_operation(state, [](portable_extended a, portable_extended b) {
        return static_cast<double>(a * 60 + b);
    });
}
BENCHMARK(portable_join);

void portable_to_double(benchmark::State& state) {
    portable_operation(
        state, [](portable_extended a, portable_extended) { return static_cast<double>(a); });
}
BENCHMARK(portable_to_double);

}  // namespace
