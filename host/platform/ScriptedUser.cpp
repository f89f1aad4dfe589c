#include "host/platform/ScriptedUser.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace qalvoro {

void ScriptedUser::queueAnswer(int answer) { answers_.push_back(answer); }

void ScriptedUser::queueWindow(WindowScript script) { windows_.push_back(std::move(script)); }

QStringList ScriptedUser::messageTexts() const {
  QStringList texts;
  for (const auto& message : messages_) texts << message.text;
  return texts;
}

void ScriptedUser::advance(std::chrono::milliseconds step) {
  monotonic_ += step;
  now_ = now_.addMSecs(step.count());
}

int ScriptedUser::msgBox(const QString& text, int style, const QString& title) {
  int answer = mb::defaultAnswer(style);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  messages_.push_back({text, style, title.isEmpty() ? applicationTitle() : title, answer});
  return answer;
}

void ScriptedUser::showModal(QWidget& window) {
  shownWindows_ << window.objectName();
  QPointer<QWidget> guard(&window);
  window.show();
  if (!windows_.empty()) {
    const WindowScript script = std::move(windows_.front());
    windows_.pop_front();
    script(window);
  }
  if (guard) guard->hide();
}

void ScriptedUser::doEvents() {
  ++doEventsCalls_;
  QCoreApplication::processEvents();
  if (onDoEvents_) onDoEvents_();
}

QDateTime ScriptedUser::now() const { return now_; }

}  // namespace qalvoro
