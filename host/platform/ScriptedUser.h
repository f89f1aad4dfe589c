#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "host/platform/Platform.h"

namespace qalvoro {

// One message box as the user saw it.
struct ShownMessage {
  QString text;
  int style = 0;
  QString title;
  int answer = 0;
};

// A person at the keyboard for tests and unattended runs: answers message
// boxes from a queue, drives modal windows with scripts, records everything
// it was shown, and keeps a clock that moves only when told to (a sleep moves
// it by the time slept).
class ScriptedUser : public Platform {
 public:
  using WindowScript = std::function<void(QWidget& window)>;

  // The next message box gets this answer; with none queued a box gets its
  // default answer (the one Enter would give).
  void queueAnswer(int answer);
  // The next window shown modally is handed to this script, which clicks
  // what it wants; the window is hidden afterwards if the script left it up.
  void queueWindow(WindowScript script);

  const std::vector<ShownMessage>& messages() const { return messages_; }
  QStringList messageTexts() const;
  void clearMessages() { messages_.clear(); }
  // objectName of every window shown modally, in order.
  const QStringList& shownWindows() const { return shownWindows_; }
  int pendingAnswers() const { return static_cast<int>(answers_.size()); }
  int pendingWindows() const { return static_cast<int>(windows_.size()); }
  int beeps() const { return beeps_; }
  const QStringList& sentKeys() const { return sentKeys_; }
  int doEventsCalls() const { return doEventsCalls_; }
  // Runs once at every yield to the message loop (a click during a run).
  void onDoEvents(std::function<void()> action) { onDoEvents_ = std::move(action); }

  void setScreenSize(QSize twips) { screen_ = twips; }
  void setDrives(QStringList roots) { drives_ = std::move(roots); }
  void setNow(QDateTime now) { now_ = std::move(now); }
  void advance(std::chrono::milliseconds step);

  int msgBox(const QString& text, int style, const QString& title) override;
  // Kept apart from the message boxes: summaries() lists them.
  void showSummary(const QString& text, int) override { summaries_ << text; }
  const QStringList& summaries() const { return summaries_; }
  void showModal(QWidget& window) override;
  void beep() override { ++beeps_; }
  void setMousePointer(MousePointer pointer) override { pointer_ = pointer; }
  MousePointer mousePointer() const override { return pointer_; }
  void doEvents() override;
  void sendKeys(const QString& keys) override { sentKeys_ << keys; }
  QSize screenSize() const override { return screen_; }
  QStringList drives() const override { return drives_; }
  QDateTime now() const override;
  std::chrono::milliseconds monotonicNow() const override { return monotonic_; }
  void sleep(std::chrono::milliseconds duration) override { advance(duration); }

 private:
  std::deque<int> answers_;
  std::deque<WindowScript> windows_;
  std::vector<ShownMessage> messages_;
  QStringList summaries_;
  QStringList shownWindows_;
  QStringList sentKeys_;
  std::function<void()> onDoEvents_;
  int beeps_ = 0;
  int doEventsCalls_ = 0;
  MousePointer pointer_ = MousePointer::Default;
  QSize screen_{1024 * 15, 768 * 15};
  QStringList drives_{"/"};
  QDateTime now_ = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
  std::chrono::milliseconds monotonic_{1'000'000};
};

}  // namespace qalvoro
