// The switches that change how a result is shown.
#include "driver/output_switches.h"

#include <cstring>

#include "driver/switches.h"
#include "engine/reading_record.h"
#include "format/run_settings.h"

namespace fexpr::driver {
namespace {

enum class output_switch { all, exact, bits, signed_word, unsigned_word, explain };

struct output_switch_entry {
    const char* name;
    output_switch kind;
    bool takes_value;
    const char* usage;
    const char* summary;
};

constexpr output_switch_entry output_switch_table[] = {
    {"all", output_switch::all, false, "--all", "every layout at once, SUFFIX<TAB>TEXT"},
    {"exact", output_switch::exact, false, "--exact",
     "the double: shortest text, hex form, fields"},
    {"bits", output_switch::bits, true, "--bits=8|16|32|64",
     "word size of the layouts x, x_, b and o"},
    {"signed", output_switch::signed_word, false, "--signed",
     "general layout as a signed integer word"},
    {"unsigned", output_switch::unsigned_word, false, "--unsigned",
     "general layout as an unsigned integer word"},
    {"explain", output_switch::explain, false, "--explain",
     "how the expression was read, on standard error"},
};

struct word_size_value {
    const char* text;
    int bits;
};

constexpr word_size_value word_sizes[] = {{"8", 8}, {"16", 16}, {"32", 32}, {"64", 64}};

bool bits_given = false;
// Under --explain the engine records how it reads each expression here.
engine::reading_record explained_reading;

int parse_word_size(const char* parameter, const char* value) noexcept {
    for (const word_size_value& size : word_sizes) {
        if (std::strcmp(value, size.text) == 0) return size.bits;
    }
    end_with_usage("bad value: ", parameter);
}

void take_entry(format::run_settings& run, const output_switch_entry& entry, const char* parameter,
                const char* value) noexcept {
    format::word_settings& word = run.word;
    switch (entry.kind) {
        case output_switch::all:
        case output_switch::exact:
            if (run.shown != format::presentation::single) {
                end_with_usage("only one of --all and --exact: ", parameter);
            }
            run.shown = entry.kind == output_switch::all ? format::presentation::all_layouts
                                                         : format::presentation::exact;
            return;
        case output_switch::bits:
            if (bits_given) end_with_usage("only one word size: ", parameter);
            bits_given = true;
            word.bits = parse_word_size(parameter, value);
            return;
        case output_switch::signed_word:
        case output_switch::unsigned_word:
            if (word.reading != format::integer_reading::none) {
                end_with_usage("only one of --signed and --unsigned: ", parameter);
            }
            word.reading = entry.kind == output_switch::signed_word
                               ? format::integer_reading::signed_word
                               : format::integer_reading::unsigned_word;
            return;
        case output_switch::explain:
            if (run.reading != nullptr) end_with_usage("only one --explain: ", parameter);
            run.reading = &explained_reading;
            return;
    }
}

}  // namespace

bool take_output_switch(format::run_settings& run, const char* parameter, const char* name,
                        std::size_t length, const char* value) noexcept {
    for (const output_switch_entry& entry : output_switch_table) {
        if (std::strncmp(entry.name, name, length) != 0 || entry.name[length] != '\0') continue;
        if (value != nullptr && !entry.takes_value) end_with_usage("no value for ", parameter);
        if (value == nullptr && entry.takes_value) end_with_usage("a value is needed: ", parameter);
        take_entry(run, entry, parameter, value);
        return true;
    }
    return false;
}

void print_output_switch_help(platform::output_stream* out) noexcept {
    for (const output_switch_entry& entry : output_switch_table) {
        print_switch_line(out, entry.usage, entry.summary);
    }
}

}  // namespace fexpr::driver
