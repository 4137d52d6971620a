// The switches of the command line and the modes they choose.
#include "driver/switches.h"

#include <cstddef>
#include <cstring>

#include "driver/help_texts.h"
#include "driver/line_modes.h"
#include "driver/mode_steps.h"
#include "driver/output_switches.h"
#include "engine/diagnostics.h"
#include "format/layouts.h"
#include "platform/manual_pointer.h"
#include "platform/output_stream.h"
#include "platform/process.h"
#include "platform/text_builder.h"

namespace fexpr::driver {
namespace {

enum class switch_mode { none, each, sum, help, version };

// One switch: its name after "--", the one value it accepts (nullptr for none), and its line
// in the help.
struct switch_entry {
    const char* name;
    switch_mode mode;
    const char* value;
    const char* usage;
    const char* summary;
};

constexpr switch_entry switch_table[] = {
    {"each", switch_mode::each, "tsv", "--each[=tsv] [SUFFIX]",
     "answer each input line, a session at a terminal; =tsv: status<TAB>text"},
    {"sum", switch_mode::sum, nullptr, "--sum [FILE|- [SUFFIX]]",
     "add up the lines of FILE or of standard input"},
    {"help", switch_mode::help, nullptr, "--help", "print this help"},
    {"version", switch_mode::version, nullptr, "--version", "print the version"},
};

struct switch_choice {
    const switch_entry* entry;  // nullptr before the first switch
    bool with_value;
};

constexpr bool is_letter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool is_word_character(char c) noexcept {
    return is_letter(c) || (c >= '0' && c <= '9') || c == '-';
}

// The length of the word after "--" when `parameter` has the form --word or --word=value (a
// word: a letter, then letters, digits and '-'); 0 otherwise, so "--5" stays an expression.
std::size_t switch_word_length(const char* parameter) noexcept {
    if (std::strncmp(parameter, "--", 2) != 0 || !is_letter(parameter[2])) return 0;
    std::size_t length = 1;
    while (is_word_character(parameter[2 + length])) ++length;
    const char after = parameter[2 + length];
    return after == '\0' || after == '=' ? length : 0;
}

// Takes one switch into `choice`; a second mode, an unknown name or a bad value ends here.
void take_switch(format::run_settings& run, const char* parameter, std::size_t length,
                 switch_choice& choice) noexcept {
    const char* name = parameter + 2;
    const char* value = name[length] == '=' ? name + length + 1 : nullptr;
    if (take_output_switch(run, parameter, name, length, value)) return;
    for (const switch_entry& entry : switch_table) {
        if (std::strncmp(entry.name, name, length) != 0 || entry.name[length] != '\0') continue;
        if (choice.entry != nullptr) end_with_usage("only one mode at a time: ", parameter);
        if (value != nullptr && entry.value == nullptr) end_with_usage("no value for ", parameter);
        if (value != nullptr && std::strcmp(value, entry.value) != 0) {
            end_with_usage("bad value: ", parameter);
        }
        choice = {&entry, value != nullptr};
        return;
    }
    end_with_usage("unknown switch ", parameter);
}

// A parameter in the place of a suffix must be one.
const char* checked_suffix(const char* candidate) noexcept {
    if (format::parse_format_suffix(candidate).format == format::layout_default) {
        end_with_usage("not a format suffix: ", candidate);
    }
    return candidate;
}

// The help of /?, then the switches, then the pointer to the manual page.
void print_help() noexcept {
    platform::output_stream* out = platform::standard_output();
    platform::write_stream(out, help_text);
    platform::write_stream(out, switches_heading_text);
    for (const switch_entry& entry : switch_table) {
        if (entry.mode == switch_mode::help) print_output_switch_help(out);
        print_switch_line(out, entry.usage, entry.summary);
    }
    platform::write_stream(out, switches_end_text);
    platform::write_stream(out, platform::manual_pointer_text);
}

// Runs the chosen mode with the `count` parameters after the switches; never returns.
[[noreturn]] void run_chosen_mode(const format::run_settings& run, const switch_choice& choice,
                                  int count, char** parameters) noexcept {
    const switch_mode mode = choice.entry->mode;
    const bool too_many = mode == switch_mode::each  ? count > 1
                          : mode == switch_mode::sum ? count > 2
                                                     : count > 0;
    if (too_many) end_with_usage("too many parameters: ", parameters[count - 1]);
    if (mode == switch_mode::each) {
        run_each_mode(run, count == 1 ? checked_suffix(parameters[0]) : nullptr, choice.with_value);
    }
    if (mode == switch_mode::sum) {
        run_sum_mode(run, count >= 1 ? parameters[0] : nullptr,
                     count == 2 ? checked_suffix(parameters[1]) : nullptr);
    }
    if (mode == switch_mode::help) {
        print_help();
    } else {
        platform::write_stream(platform::standard_output(), version_text);
    }
    platform::end_process(engine::status_success);
}

}  // namespace

// "fexpr: <what><name> (see fexpr --help)" on standard error, status 64.
void end_with_usage(const char* what, const char* name) noexcept {
    char line[512];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, "fexpr: ");
    platform::append_text(builder, what);
    platform::append_text(builder, name, 200);
    platform::append_text(builder, " (see fexpr --help)\n");
    platform::write_standard_error(line, builder.length);
    platform::end_process(engine::status_usage);
}

void print_switch_line(platform::output_stream* out, const char* usage,
                       const char* summary) noexcept {
    char line[160];
    platform::text_builder builder = platform::make_builder(line, sizeof line);
    platform::append_text(builder, " ");
    platform::append_text(builder, usage);
    while (builder.length < 26) platform::append_char(builder, ' ');
    platform::append_text(builder, summary);
    platform::append_char(builder, '\n');
    platform::write_stream(out, line, builder.length);
}

int run_switches(format::run_settings& run, int argc, char** argv) noexcept {
    switch_choice choice{nullptr, false};
    int index = 1;
    while (index < argc) {
        const char* parameter = argv[index];
        if (std::strcmp(parameter, "--") == 0) {
            ++index;
            break;
        }
        const std::size_t length = switch_word_length(parameter);
        if (length == 0) break;
        take_switch(run, parameter, length, choice);
        ++index;
    }
    // "/?" alone after the switches asks for the help, as --help does: neither is an expression.
    const bool presented = run.shown != format::presentation::single;
    const bool explained = run.reading != nullptr;
    const bool help_asked = (presented || explained) && choice.entry == nullptr &&
                            index + 1 == argc && std::strcmp(argv[index], "/?") == 0;
    const char* needless = help_asked ? argv[index] : argv[index - 1];
    if (presented && (choice.entry != nullptr || index == argc || help_asked)) {
        end_with_usage("--all and --exact need an expression: ", needless);
    }
    const bool no_expressions =
        help_asked || (choice.entry != nullptr && choice.entry->mode != switch_mode::each &&
                       choice.entry->mode != switch_mode::sum);
    if (explained && no_expressions) {
        end_with_usage("--explain needs expressions: ", needless);
    }
    if (choice.entry == nullptr) return index;
    run_chosen_mode(run, choice, argc - index, argv + index);
}

}  // namespace fexpr::driver
