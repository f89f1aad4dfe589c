#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

#include "host/platform/DesktopPlatform.h"

namespace qalvoro {

// The person at the keyboard of an unattended run: messages are printed
// instead of shown, questions are answered Yes (Abort where a failure offers
// Abort, Retry and Ignore), and modal windows are handed to a script. The
// clock, drives and settings are the machine's own.
class BatchUser : public DesktopPlatform {
 public:
  using WindowScript = std::function<void(QWidget& window)>;

  explicit BatchUser(QTextStream& out) : out_(out) {}

  void setWindowScript(WindowScript script) { script_ = std::move(script); }
  // The error messages ("Err:...") printed so far.
  const QStringList& errors() const { return errors_; }

  int msgBox(const QString& text, int style, const QString& title) override;
  void showModal(QWidget& window) override;
  void setMousePointer(MousePointer) override {}
  void beep() override {}

 protected:
  // Prints a message shown to the user, on one line.
  virtual void printMessage(QTextStream& out, const QString& text);

 private:
  QTextStream& out_;
  WindowScript script_;
  QStringList errors_;
};

}  // namespace qalvoro
