// Every layout of one value at once (--all), and the labelled lines it shares with --exact.
#pragma once

#include "engine/prepass.h"
#include "format/run_settings.h"
#include "platform/output_stream.h"

namespace fexpr::format {

// Writes "label<TAB>text<NEWLINE>".
void print_labelled_line(platform::output_stream* stream, const char* label,
                         const char* text) noexcept;

// One line for each of the layouts general, x_, b, o, : and e15, as "SUFFIX<TAB>TEXT" (the
// label "general" for the general layout), each TEXT what that suffix alone prints; then the
// warnings of the integer layouts, once.
void print_all_layouts(const run_settings& run, double value, engine::digit_grouping grouping,
                       platform::output_stream* stream) noexcept;

}  // namespace fexpr::format
