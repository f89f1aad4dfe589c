#include "v1source/source/Version1Source.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "host/helpers/ErrorSteps.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro {
namespace {

const QString kOpen = QStringLiteral("فتح");
const QString kClose = QStringLiteral("اغلاق");
const QString kLeftOut =
    QStringLiteral("الملف تالف، وقد تم فتح ما أمكن قراءته منه. لم ينقل منه ما يلي:");

// Lists in one message the parts of a damaged file that the working copy
// lacks.
void showLeftOut(const QStringList& parts) {
  if (parts.isEmpty()) return;
  platform().msgBox(Translate(kLeftOut) + '\n' + parts.join('\n'),
                    mb::kExclamation | globals().MsgBoxRtlFlags, QString());
}

// The open and close steps show their errors with the question icon and no
// direction flags.
bool runSteps(std::initializer_list<std::function<void()>> steps) {
  return RunSteps(steps, mb::kQuestion);
}

}  // namespace

Version1Source::Version1Source(Product product, Controls controls)
    : product_(product), controls_(std::move(controls)) {
  // The caption as designed; the window's TranslateForm translates it.
  controls_.CmdOpenOldDB->setText(kOpen);
}

Version1Source::~Version1Source() = default;

bool Version1Source::isOpen() const { return controls_.CmdOpenOldDB->text() == Translate(kClose); }

Connection& Version1Source::database() {
  if (!database_) throw DbError(dberr::kObjectClosed, QStringLiteral("No version-1 file is open."));
  return *database_;
}

void Version1Source::CmdOpenOldDB_Click() {
  if (isOpen()) {
    closeFile();
  } else {
    openFile();
  }
}

void Version1Source::CmdDialog_Click() {
  auto& seek = windows().get<WinSeek>();
  const QString pattern = product_ == Product::Accounts ? QStringLiteral("General.mdb")
                                                        : QStringLiteral("Stock001.mdb");
  if (seek.filList->pattern() != pattern) {
    seek.filList->setPattern(pattern);
    seek.lstFoundFiles->clear();
  }
  const QString file =
      controls_.txtOldDBFile ? controls_.txtOldDBFile->text().trimmed() : QString();
  seek.openAt(product_ == Product::Accounts ? controls_.File1->path()
              : file.isEmpty()              ? QString()
                                            : QFileInfo(file).absolutePath());
  seek.showModal();
  const QString folder = tagOf(seek);
  if (product_ == Product::Accounts) {
    if (!folder.isEmpty()) controls_.File1->setPath(folder);
    return;
  }
  if (folder.size() <= 1) return;
  if (isOpen()) CmdOpenOldDB_Click();
  controls_.txtOldDBFile->setText(JoinPath(folder, QStringLiteral("STOCK001.MDB")));
  CmdOpenOldDB_Click();
}

void Version1Source::openFile() {
  const bool opened = product_ == Product::Accounts ? openAccounts() : openCatalogue();
  if (!opened) return;
  controls_.CmdOpenOldDB->setText(Translate(kClose));
  if (product_ == Product::Accounts) controls_.File1->setEnabled(false);
  if (controls_.CboOldBranch->count() > 0) controls_.CboOldBranch->setCurrentIndex(0);
}

bool Version1Source::makeWorkingCopy(const QString& source) {
  return runSteps({
      [] { DeleteWorkingCopy(); },
      [&] { MakeWorkingCopy(source); },
      [&] {
        if (!QFileInfo::exists(WorkingCopyPath())) showLeftOut(MakeReadableWorkingCopy(source));
      },
  });
}

void Version1Source::openWorkingCopy() {
  auto database = std::make_unique<Connection>();
  OpenWorkingCopy(*database);
  if (product_ == Product::Accounts) IndexAccountsFile(*database);
  database_ = std::move(database);
}

bool Version1Source::openAccounts() {
  const QString fileName = controls_.File1->fileName();
  if (fileName.isEmpty()) {
    platform().msgBox(Translate(QStringLiteral("يجب تحديد ملف قاعدة بيانات")), mb::kOkOnly,
                      QString());
    controls_.File1->setFocus();
    return false;
  }
  if (IsSystemFileName(fileName)) {
    MsgBox(QStringLiteral("لايمكن فتح هذا الملف"), mb::kCritical);
    return false;
  }
  const PointerGuard pointer(MousePointer::Hourglass);
  const QString folder = controls_.File1->path();
  const QString source = JoinPath(folder, fileName);
  if (!makeWorkingCopy(source)) return false;
  return runSteps({
      [&] {
        const QString general = FindFileIgnoringCase(folder, QStringLiteral("General.MDB"));
        if (!general.isEmpty()) {
          fillBranches(BranchesOfGeneralFile(JoinPath(folder, general)));
          return;
        }
        Connection workingCopy;
        OpenWorkingCopy(workingCopy);
        fillBranches(BranchesOfCard(workingCopy));
      },
      [&] { controls_.CmdImportGaid->setEnabled(true); },
      [&] { openWorkingCopy(); },
  });
}

bool Version1Source::openCatalogue() {
  const QFileInfo chosen(controls_.txtOldDBFile->text());
  const QString actual = chosen.fileName().isEmpty()
                             ? QString()
                             : FindFileIgnoringCase(chosen.path(), chosen.fileName());
  if (actual.isEmpty()) {
    MsgBox(QStringLiteral("ملف قاعدة بيانات الإصدار الأول غير موجود"), mb::kCritical);
    return false;
  }
  const PointerGuard pointer(MousePointer::Hourglass);
  const QString source = JoinPath(chosen.path(), actual);
  if (!makeWorkingCopy(source)) return false;
  return runSteps({
      [&] { openWorkingCopy(); },
      [&] { fillBranches(BranchesOfStock(database())); },
      [&] { controls_.CmdFilter->setEnabled(true); },
  });
}

void Version1Source::fillBranches(const std::vector<Version1Branch>& branches) {
  QComboBox& combo = *controls_.CboOldBranch;
  const QSignalBlocker blocker(combo);
  combo.clear();
  for (const auto& branch : branches) combo.addItem(branch.name, branch.number);
  combo.setCurrentIndex(-1);
}

void Version1Source::closeFile() {
  runSteps({
      [&] { database_.reset(); },
      [&] { controls_.CmdOpenOldDB->setText(Translate(kOpen)); },
      [&] {
        controls_.CboOldBranch->setCurrentIndex(-1);
        const QSignalBlocker blocker(controls_.CboOldBranch);
        controls_.CboOldBranch->clear();
      },
      [&] {
        if (controls_.closeVersion2List) controls_.closeVersion2List();
      },
      [&] {
        if (product_ == Product::Accounts) {
          controls_.File1->setEnabled(true);
        } else {
          controls_.CmdFilter->setEnabled(false);
        }
      },
  });
}

}  // namespace qalvoro
