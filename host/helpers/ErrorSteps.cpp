#include "host/helpers/ErrorSteps.h"

#include "host/db/DbError.h"
#include "host/platform/Platform.h"

namespace qalvoro {

StepEnd RunStep(const std::function<void()>& step, int style) {
  for (;;) {
    try {
      step();
      return StepEnd::Next;
    } catch (const DbError& error) {
      platform().setMousePointer(MousePointer::Default);
      const int answer = platform().msgBox(
          QStringLiteral("Err:") + QString::number(error.number()) + '\n' + error.description(),
          mb::kAbortRetryIgnore | style, QString());
      if (answer == mb::kAbort) return StepEnd::Abort;
      if (answer == mb::kIgnore) return StepEnd::Next;
    }
  }
}

bool RunSteps(std::initializer_list<std::function<void()>> steps, int style) {
  for (const auto& step : steps) {
    if (RunStep(step, style) == StepEnd::Abort) return false;
  }
  return true;
}

}  // namespace qalvoro
