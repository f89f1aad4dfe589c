#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <chrono>
#include <memory>

class QWidget;

namespace qalvoro {

// Message-box styles and answers, with the codes users of the old products
// know from their message boxes.
namespace mb {
constexpr int kOkOnly = 0;
constexpr int kOkCancel = 1;
constexpr int kAbortRetryIgnore = 2;
constexpr int kYesNoCancel = 3;
constexpr int kYesNo = 4;
constexpr int kRetryCancel = 5;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;
constexpr int kDefaultButton2 = 256;
constexpr int kDefaultButton3 = 512;
constexpr int kRightAligned = 0x80000;
constexpr int kRtlReading = 0x100000;
constexpr int kRtlFlags = kRightAligned | kRtlReading;  // 0x180000

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;

// The answer a box gives when the user just presses Enter.
int defaultAnswer(int style);
}  // namespace mb

// Mouse pointer shapes of the screen.
enum class MousePointer { Default = 0, Hourglass = 11, ArrowHourglass = 13 };

// Everything that reaches the person at the keyboard or the machine around
// the component: message boxes, modal windows, the pointer, yields to the
// message loop, keystrokes, the screen, the settings store, the drives and
// the clock. The desktop implementation talks to Qt; tests install a
// ScriptedUser instead.
class Platform {
 public:
  virtual ~Platform() = default;

  // Shows a message box; an empty title means the application title.
  // Returns the answer code (mb::kOk ...).
  virtual int msgBox(const QString& text, int style, const QString& title) = 0;
  // The summary at the end of an import run: an information message box.
  virtual void showSummary(const QString& text, int style) { msgBox(text, style, QString()); }
  // Shows a window modally; returns when the window has been hidden.
  virtual void showModal(QWidget& window) = 0;
  virtual void beep() = 0;
  virtual void setMousePointer(MousePointer pointer) = 0;
  virtual MousePointer mousePointer() const = 0;
  // Lets the message loop run once (pending clicks and paints).
  virtual void doEvents() = 0;
  // Sends keystrokes (Qt key sequence text, e.g. "Tab") to the focused control.
  virtual void sendKeys(const QString& keys) = 0;
  // Screen size in twips.
  virtual QSize screenSize() const = 0;
  // Roots of the mounted file systems that hold user data.
  virtual QStringList drives() const = 0;
  // Wall clock and a monotonic clock, and a short sleep.
  virtual QDateTime now() const = 0;
  virtual std::chrono::milliseconds monotonicNow() const = 0;
  virtual void sleep(std::chrono::milliseconds duration) = 0;

  // Per-user settings: INI format, user scope, application name appName,
  // one section. Not virtual: tests point them at a temporary folder with
  // useSettingsFolder.
  static void useSettingsFolder(const QString& folder);
  QString getSetting(const QString& appName, const QString& section, const QString& key,
                     const QString& defaultValue = {}) const;
  void saveSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& value);
};

// The platform in use; the desktop one unless another has been installed.
Platform& platform();
// Installs a platform (tests, batch runs); returns the previous one.
std::unique_ptr<Platform> installPlatform(std::unique_ptr<Platform> replacement);

// Installs a platform for the life of this object and puts the previous one
// back afterwards.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(std::unique_ptr<Platform> replacement);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  std::unique_ptr<Platform> previous_;
};

// Sets the pointer for the life of this object and puts it back to the
// default afterwards, also when an error leaves the scope.
class PointerGuard {
 public:
  explicit PointerGuard(MousePointer pointer);
  ~PointerGuard();
  PointerGuard(const PointerGuard&) = delete;
  PointerGuard& operator=(const PointerGuard&) = delete;
};

}  // namespace qalvoro

namespace qalvoro {
// The application title: the default title of every message box.
void setApplicationTitle(const QString& title);
QString applicationTitle();
}  // namespace qalvoro
