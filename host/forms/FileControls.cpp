#include "host/forms/FileControls.h"

#include <dirent.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <memory>

#include "host/platform/Platform.h"

namespace qalvoro {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) { refresh(); }

void DriveListBox::refresh() {
  clear();
  addItems(platform().drives());
}

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { setPath(item->data(Qt::UserRole).toString()); });
}

bool DirListBox::setPath(const QString& path) {
  const std::unique_ptr<DIR, int (*)(DIR*)> readable(
      path.isEmpty() ? nullptr : ::opendir(QFile::encodeName(path).constData()), &::closedir);
  if (!readable) {
    error_ = QString::fromLocal8Bit(std::strerror(path.isEmpty() ? ENOENT : errno));
    return false;
  }
  error_.clear();
  const QDir folder(path);
  path_ = path;
  clear();
  const auto add = [this](const QString& name, int level, const QString& full) {
    auto* item = new QListWidgetItem(QString(level * 2, ' ') + name, this);  // owned by the list
    item->setData(Qt::UserRole, full);
  };
  const QString absolute = QDir::cleanPath(folder.absolutePath());
  const QStringList steps = absolute.split('/', Qt::SkipEmptyParts);
  add(QStringLiteral("/"), 0, QStringLiteral("/"));
  for (int i = 0; i < steps.size(); ++i) {
    add(steps[i], i + 1, '/' + steps.mid(0, i + 1).join('/'));
  }
  wayUp_ = count();
  setCurrentRow(wayUp_ - 1);
  const QStringList names =
      folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                       QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) add(name, wayUp_, JoinPath(path, name));
  emit pathChanged(path_);
  return true;
}

QString DirListBox::list(int index) const {
  const QListWidgetItem* entry = index >= 0 ? item(wayUp_ + index) : nullptr;
  return entry ? entry->data(Qt::UserRole).toString() : QString();
}

void DirListBox::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  if (const QListWidgetItem* highlighted = currentItem()) {
    setPath(highlighted->data(Qt::UserRole).toString());
  }
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), path_(QDir::currentPath()) {
  refresh();
}

void FileListBox::setPath(const QString& path) {
  path_ = path;
  refresh();
}

void FileListBox::setPattern(const QString& pattern) {
  pattern_ = pattern;
  refresh();
}

QString FileListBox::fileName() const {
  const QListWidgetItem* chosen = currentItem();
  return chosen && chosen->isSelected() ? chosen->text() : QString();
}

void FileListBox::refresh() {
  clear();
  if (path_.isEmpty()) return;
  QList<QRegularExpression> patterns;
  for (const QString& part : pattern_.split(';', Qt::SkipEmptyParts)) {
    patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(part.trimmed()),
                                   QRegularExpression::CaseInsensitiveOption);
  }
  const QStringList names =
      QDir(path_).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) {
    const bool matches = std::any_of(patterns.cbegin(), patterns.cend(),
                                     [&](const auto& p) { return p.match(name).hasMatch(); });
    if (matches) addItem(name);
  }
}

QString JoinPath(const QString& folder, const QString& name) {
  return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString FindFileIgnoringCase(const QString& folder, const QString& name) {
  const QDir directory(folder);
  if (directory.exists(name)) return name;
  const QStringList entries = directory.entryList(QDir::Files | QDir::Hidden);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
  }
  return {};
}

}  // namespace qalvoro
