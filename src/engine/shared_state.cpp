// Storage of the shared state.
#include "engine/shared_state.h"

namespace fexpr::engine {

char expression_text[expression_capacity];
char number_text[text_capacity];
char line_buffer[text_capacity];
int grouping_mode = 0;
int output_precision = 15;
int nesting_depth = 0;
platform::output_stream* result_stream = nullptr;

}  // namespace fexpr::engine
