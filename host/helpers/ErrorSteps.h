#pragma once

#include <functional>
#include <initializer_list>

namespace qalvoro {

// How a step of a procedure that offers Abort, Retry and Ignore on errors
// ended.
enum class StepEnd { Next, Abort };

// Runs one step. A database error it raises sets the pointer back to the
// default and is shown as "Err:" + number + line feed + description with
// the buttons Abort, Retry and Ignore and the given icon and flags: Retry
// runs the step again, Ignore goes on with the next step, Abort ends the
// procedure.
StepEnd RunStep(const std::function<void()>& step, int style);

// Runs steps in order until one is aborted; true when none was.
bool RunSteps(std::initializer_list<std::function<void()>> steps, int style);

}  // namespace qalvoro
