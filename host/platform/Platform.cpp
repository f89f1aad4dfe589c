#include "host/platform/Platform.h"

#include <sys/stat.h>

#include <QFile>
#include <QHash>
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

// The values read from one application's settings file. Opening QSettings
// costs more than a translated caption, and captions ask for the language
// on every call: the values are kept while the file is unchanged on disk
// (QSettings replaces the file when it writes, so its inode changes too).
struct FileStamp {
  ino_t inode = 0;
  qint64 modifiedNs = -1;
  qint64 size = -1;
  bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return {};
  return {status.st_ino, status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
          status.st_size};
}

struct SettingsFile {
  QString path;
  FileStamp stamp;
  QHash<QString, QVariant> values;  // setting path -> value; invalid when unset
};

QHash<QString, SettingsFile>& settingsFiles() {
  static QHash<QString, SettingsFile> files;
  return files;
}

SettingsFile& settingsFile(const QString& appName) {
  auto file = settingsFiles().find(appName);
  if (file == settingsFiles().end()) {
    SettingsFile opened;
    opened.path = QSettings(QSettings::IniFormat, QSettings::UserScope, appName).fileName();
    file = settingsFiles().insert(appName, opened);
  }
  const FileStamp stamp = stampOf(file->path);
  if (!(stamp == file->stamp)) {
    file->values.clear();
    file->stamp = stamp;
  }
  return *file;
}
}  // namespace

void Platform::useSettingsFolder(const QString& folder) {
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
  settingsFiles().clear();
}

QString Platform::getSetting(const QString& appName, const QString& section, const QString& key,
                             const QString& defaultValue) const {
  SettingsFile& file = settingsFile(appName);
  const QString path = settingPath(section, key);
  auto value = file.values.constFind(path);
  if (value == file.values.cend()) {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, appName);
    value = file.values.insert(path, settings.value(path));
  }
  return value->isValid() ? value->toString() : defaultValue;
}

void Platform::saveSetting(const QString& appName, const QString& section, const QString& key,
                           const QString& value) {
  {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, appName);
    settings.setValue(settingPath(section, key), value);
  }
  settingsFiles().remove(appName);
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
