#include "host/dialogs/WinSeek.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "host/Globals.h"
#include "host/forms/FileControls.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

const QString kStop = QStringLiteral("توقف");
const QString kStart = QStringLiteral("بدء البحث");

// Whether a folder lies on another file system than the walk, which is a
// drive of its own. A folder that cannot be looked at is left to the walk,
// which reports it.
bool onOtherDevice(const QString& path, dev_t device) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 && info.st_dev != device;
}

dev_t deviceOf(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_dev : dev_t(-1);
}

}  // namespace

WinSeek::WinSeek(QWidget* parent) : Form(QStringLiteral("WinSeek"), parent) {
  setCaption(QStringLiteral("البحث"));
  setTwipsSize(7500, 6300);
  Frame1 = addControl<QGroupBox>(QStringLiteral("Frame1"), {3900, 120, 3400, 4800});
  drvList = addControl<DriveListBox>(QStringLiteral("drvList"), {150, 300, 3100, 330}, Frame1);
  dirList = addControl<DirListBox>(QStringLiteral("dirList"), {150, 750, 3100, 2300}, Frame1);
  filList = addControl<FileListBox>(QStringLiteral("filList"), {150, 3150, 3100, 1500}, Frame1);
  filList->setPattern(QStringLiteral("General.mdb"));
  Picture1 = addControl<QFrame>(QStringLiteral("Picture1"), {200, 120, 3550, 4800});
  lblfound = addControl<QLabel>(QStringLiteral("lblfound"), {100, 60, 3350, 300}, Picture1);
  lblfound->setText(QStringLiteral("حدد اسم المجلد :"));
  lstFoundFiles =
      addControl<QListWidget>(QStringLiteral("lstFoundFiles"), {100, 420, 3350, 4260}, Picture1);
  lblPath = addControl<QLabel>(QStringLiteral("lblPath"), {200, 5040, 7100, 330});
  cmdSearch = addControl<QPushButton>(QStringLiteral("cmdSearch"), {5700, 5520, 1500, 450});
  cmdSearch->setText(kStart);
  CmdOK = addControl<QPushButton>(QStringLiteral("CmdOK"), {3960, 5520, 1500, 450});
  CmdOK->setText(QStringLiteral("موافق"));
  cmdExit = addControl<QPushButton>(QStringLiteral("cmdExit"), {2220, 5520, 1500, 450});
  cmdExit->setText(QStringLiteral("خروج"));
  setDefaultButton(CmdOK);

  connect(drvList, &QComboBox::currentTextChanged, dirList, &DirListBox::setPath);
  connect(dirList, &DirListBox::pathChanged, filList, &FileListBox::setPath);
  // Browsing by hand makes the folder shown the one OK takes.
  const auto forgetFound = [this] { lstFoundFiles->clearSelection(); };
  connect(drvList, &QComboBox::activated, this, forgetFound);
  connect(dirList, &QListWidget::itemActivated, this, forgetFound);
  connect(cmdSearch, &QPushButton::clicked, this, &WinSeek::cmdSearch_Click);
  connect(CmdOK, &QPushButton::clicked, this, &WinSeek::CmdOK_Click);
  connect(cmdExit, &QPushButton::clicked, this, &WinSeek::cmdExit_Click);
  openAt(QDir::homePath());
}

void WinSeek::openAt(const QString& folder) {
  if (folder.isEmpty() || !dirList->setPath(QDir::cleanPath(QDir(folder).absolutePath()))) {
    dirList->setPath(QDir::homePath());
  }
  const QString shown = QDir::cleanPath(dirList->path());
  int drive = -1;  // the drive whose root is the longest start of the folder
  qsizetype longest = -1;
  for (int i = 0; i < drvList->count(); ++i) {
    const QString root = QDir::cleanPath(drvList->itemText(i));
    const bool under =
        root == QLatin1String("/") || shown == root || shown.startsWith(root + QLatin1Char('/'));
    if (under && root.size() > longest) {
      drive = i;
      longest = root.size();
    }
  }
  const QSignalBlocker quiet(drvList);
  drvList->setCurrentIndex(drive);
}

void WinSeek::formLoad() {
  CenterForm(*this);
  ApplyLanguage(*this);
  for (QWidget* paths : std::initializer_list<QWidget*>{dirList, filList, lstFoundFiles, lblPath}) {
    setRightToLeft(*paths, false);
  }
  lblPath->setAlignment(Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter);
}

void WinSeek::formUnload() { running_ = false; }

void WinSeek::cmdSearch_Click() {
  if (cmdSearch->text() == kStop) {
    stopSearch();
  } else {
    startSearch();
  }
}

void WinSeek::stopSearch() {
  cmdSearch->setText(Translate(kStart));
  running_ = false;
  setSearching(false);
}

void WinSeek::setSearching(bool searching) {
  cmdExit->setEnabled(!searching);
  CmdOK->setEnabled(!searching);
  Frame1->setEnabled(!searching);
}

void WinSeek::startSearch() {
  cmdSearch->setText(kStop);
  lblPath->setText(Translate(QStringLiteral("التحضير للبحث ...")));
  running_ = true;
  setSearching(true);
  lstFoundFiles->clear();
  const QString start = dirList->path();
  walkFolder(start, deviceOf(start));
  dirList->setPath(start);  // also after a stopped walk
  lblPath->clear();
  cmdSearch->setText(Translate(kStart));
  running_ = false;
  setSearching(false);
  cmdSearch->setFocus();
}

WinSeek::Walk WinSeek::walkFolder(const QString& folder, dev_t device) {
  running_ = true;
  platform().doEvents();
  if (!running_) return Walk::Abandon;
  if (!dirList->setPath(folder)) {
    // A folder that cannot be read ends its own walk; the search goes on.
    platform().msgBox(folder + '\n' + dirList->error(), mb::kOkOnly, QString());
    return Walk::Continue;
  }
  QStringList subfolders;
  for (int i = 0; i < dirList->listCount(); ++i) subfolders << dirList->list(i);
  for (auto sub = subfolders.crbegin(); sub != subfolders.crend() && running_; ++sub) {
    if (onOtherDevice(*sub, device)) continue;
    if (walkFolder(*sub, device) == Walk::Abandon) return Walk::Abandon;
    lblPath->setText(folder);
  }
  dirList->setPath(folder);
  return listMatches(folder);
}

WinSeek::Walk WinSeek::listMatches(const QString& folder) {
  // A folder is listed once per matching file, as its path: a root keeps
  // its separator, other folders have none.
  for (int i = 0; i < filList->listCount(); ++i) {
    if (lstFoundFiles->count() >= capacity_) {
      platform().msgBox(QStringLiteral("You've filled the list box. Abandoning search..."),
                        mb::kOkOnly, QString());
      return Walk::Abandon;
    }
    lstFoundFiles->addItem(folder);
    lstFoundFiles->setCurrentRow(lstFoundFiles->count() - 1);
  }
  return Walk::Continue;
}

void WinSeek::CmdOK_Click() {
  // A folder found by the search, or else the folder shown when it holds
  // a matching file.
  const QListWidgetItem* chosen = lstFoundFiles->currentItem();
  if (chosen && chosen->isSelected()) {
    setTag(*this, chosen->text());
  } else if (filList->listCount() > 0) {
    setTag(*this, dirList->path());
  } else {
    MsgBox(QStringLiteral("حدد المجلد"), mb::kCritical);
    return;
  }
  hide();
}

void WinSeek::cmdExit_Click() {
  setTag(*this, QString());
  hide();
}

}  // namespace qalvoro
