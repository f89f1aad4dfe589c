#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "host/Globals.h"
#include "host/platform/Platform.h"

namespace qalvoro {

// The run a window has going: an import-all loop, a journal run, one
// import. A run yields to the message loop between records (and inside
// them), so the user can press any enabled control in the middle of it. A
// window keeps one RunState and guards its procedures with it:
// - a procedure that imports opens a RunScope for its length; while a run
//   is going another scope does not start, and the press that asked for it
//   is refused with a beep;
// - a press that would take away what the run reads or writes (closing or
//   reopening the version-1 file, leaving the window) goes through
//   whenIdle: the run is asked to end after the record in hand, and the
//   press is carried out once the run has ended.
class RunState {
 public:
  RunState() = default;
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  bool running() const { return running_; }

  // Runs action at once when no run is going. Otherwise asks the run to end
  // after the record in hand and keeps action for the run's end; kept
  // actions run in the order they were asked for.
  void whenIdle(std::function<void()> action) {
    if (!running_) {
      action();
      return;
    }
    afterRun_.push_back(std::move(action));
    if (endRun_) endRun_();
  }

 private:
  friend class RunScope;

  bool running_ = false;
  std::function<void()> endRun_;
  std::vector<std::function<void()>> afterRun_;
};

// One run of a window, from its start to its end. When it ends (also
// through an error) the actions kept by whenIdle run, each as an event
// procedure whose database errors are shown.
class RunScope {
 public:
  // Starts a run unless one is going (then it beeps and false is what the
  // scope tests as). endRun asks the run to end after the record in hand.
  RunScope(RunState& state, std::function<void()> endRun)
      : state_(state), started_(!state.running_) {
    if (!started_) {
      platform().beep();
      return;
    }
    state_.running_ = true;
    state_.endRun_ = std::move(endRun);
  }
  ~RunScope() {
    if (!started_) return;
    state_.running_ = false;
    state_.endRun_ = nullptr;
    const auto actions = std::exchange(state_.afterRun_, {});
    for (const auto& action : actions) ReportErrors(action);
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

  // False when another run was going and this one did not start.
  explicit operator bool() const { return started_; }

 private:
  RunState& state_;
  const bool started_;
};

}  // namespace qalvoro
