#pragma once

#include <memory>

#include "host/platform/Platform.h"

class QMessageBox;

namespace qalvoro {

// The box msgBox shows: icon, buttons and default button of the style, the
// title (the application title when empty), and the text read right to left
// and aligned to the right when the style has the right-to-left flags, left
// to right otherwise.
std::unique_ptr<QMessageBox> makeMessageBox(const QString& text, int style, const QString& title);

// The language of Qt's own texts (the standard buttons of message boxes,
// the menus of text boxes): Arabic, from Qt's translations in the system's
// Qt translations folder, when arabic is true; English otherwise. Returns
// false when the Arabic translations cannot be loaded (the texts stay
// English).
bool UseArabicStandardTexts(bool arabic);

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
