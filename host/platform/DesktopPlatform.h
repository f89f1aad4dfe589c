#pragma once

#include "host/platform/Platform.h"

namespace qalvoro {

// The platform of a person at a desktop: Qt message boxes, modal windows
// that run the message loop, the real pointer, screen, drives and clocks.
class DesktopPlatform : public Platform {
 public:
  int msgBox(const QString& text, int style, const QString& title) override;
  void showModal(QWidget& window) override;
  void beep() override;
  void setMousePointer(MousePointer pointer) override;
  MousePointer mousePointer() const override { return pointer_; }
  void doEvents() override;
  void sendKeys(const QString& keys) override;
  QSize screenSize() const override;
  QStringList drives() const override;
  QDateTime now() const override;
  std::chrono::milliseconds monotonicNow() const override;
  void sleep(std::chrono::milliseconds duration) override;

 private:
  MousePointer pointer_ = MousePointer::Default;
};

}  // namespace qalvoro
