#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace qalvoro {

// The drives of the machine: the roots of the mounted file systems that
// hold user data (from the platform).
class DriveListBox : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveListBox(QWidget* parent = nullptr);
  void refresh();
  QString drive() const { return currentText(); }
};

// One folder as a list: the way up (its ancestors from the root, then the
// folder itself), then its sub-folders by name, each level indented.
class DirListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit DirListBox(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Returns false, and keeps the old folder, when the folder cannot be
  // read; error() then gives the system's description of the failure.
  bool setPath(const QString& path);
  QString error() const { return error_; }
  // Number of sub-folders and the full path of one of them.
  int listCount() const { return count() - wayUp_; }
  QString list(int index) const;

 signals:
  void pathChanged(const QString& path);

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QString path_;
  QString error_;
  int wayUp_ = 0;  // entries of the way up, before the sub-folders
};

// The files of one folder (at first the current folder) whose names match
// a pattern ("*.mdb",
// "General.mdb"; several patterns separated by ';'), whatever the case of
// the names on disk.
class FileListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit FileListBox(QWidget* parent = nullptr);

  QString path() const { return path_; }
  void setPath(const QString& path);
  QString pattern() const { return pattern_; }
  void setPattern(const QString& pattern);
  int listCount() const { return count(); }
  // The chosen file's name; empty when none is chosen.
  QString fileName() const;
  void refresh();

 private:
  QString path_;
  QString pattern_ = QStringLiteral("*.*");
};

// A path joined from a folder and a name: the separator is added only when
// the folder does not end with one.
QString JoinPath(const QString& folder, const QString& name);
// The name of an entry of a folder that equals name ignoring case, the exact
// name first; empty when there is none.
QString FindFileIgnoringCase(const QString& folder, const QString& name);

}  // namespace qalvoro
