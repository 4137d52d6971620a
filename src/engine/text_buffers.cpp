// Storage of the two text buffers.
#include "engine/text_buffers.h"

namespace fexpr::engine {

char expression_text[expression_capacity];
char number_text[text_capacity];

}  // namespace fexpr::engine
