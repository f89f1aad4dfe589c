#include "host/platform/Platform.h"

#include <QSettings>

#include "host/platform/DesktopPlatform.h"

namespace qalvoro {
namespace mb {

int defaultAnswer(int style) {
  static constexpr int kFirst[] = {kOk, kOk, kAbort, kYes, kYes, kRetry};
  static constexpr int kSecond[] = {kOk, kCancel, kRetry, kNo, kNo, kCancel};
  static constexpr int kThird[] = {kOk, kCancel, kIgnore, kCancel, kNo, kCancel};
  const int buttons = style & 7;
  if (buttons > kRetryCancel) return kOk;
  if (style & kDefaultButton3) return kThird[buttons];
  if (style & kDefaultButton2) return kSecond[buttons];
  return kFirst[buttons];
}

}  // namespace mb

namespace {
std::unique_ptr<Platform>& current() {
  static std::unique_ptr<Platform> installed;
  return installed;
}
}  // namespace

Platform& platform() {
  auto& installed = current();
  if (!installed) installed = std::make_unique<DesktopPlatform>();
  return *installed;
}

std::unique_ptr<Platform> installPlatform(std::unique_ptr<Platform> replacement) {
  auto previous = std::move(current());
  current() = std::move(replacement);
  return previous;
}

ScopedPlatform::ScopedPlatform(std::unique_ptr<Platform> replacement)
    : previous_(installPlatform(std::move(replacement))) {}

ScopedPlatform::~ScopedPlatform() { installPlatform(std::move(previous_)); }

PointerGuard::PointerGuard(MousePointer pointer) { platform().setMousePointer(pointer); }

PointerGuard::~PointerGuard() { platform().setMousePointer(MousePointer::Default); }

namespace {
QString settingPath(const QString& section, const QString& key) { return section + '/' + key; }
}  // namespace

QString Platform::getSetting(const QString& appName, const QString& section, const QString& key,
                             const QString& defaultValue) const {
  const QSettings settings(QSettings::IniFormat, QSettings::UserScope, appName);
  return settings.value(settingPath(section, key), defaultValue).toString();
}

void Platform::saveSetting(const QString& appName, const QString& section, const QString& key,
                           const QString& value) {
  QSettings settings(QSettings::IniFormat, QSettings::UserScope, appName);
  settings.setValue(settingPath(section, key), value);
}

}  // namespace qalvoro

namespace qalvoro {
namespace {
QString& title() {
  static QString value;
  return value;
}
}  // namespace

void setApplicationTitle(const QString& newTitle) { title() = newTitle; }
QString applicationTitle() { return title(); }
}  // namespace qalvoro
