// The depth guard of a level's stacks: where a push beyond their room ends the evaluation.
#include "engine/level_stacks.h"

#include "engine/diagnostics.h"
#include "engine/functions.h"

namespace fexpr::engine {

void end_too_complex() noexcept {
    end_with_diagnostic(status_too_complex);
}

}  // namespace fexpr::engine
