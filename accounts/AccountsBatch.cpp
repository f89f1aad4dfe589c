#include "accounts/AccountsBatch.h"

#include <QComboBox>
#include <QCommandLineParser>
#include <QPushButton>
#include <vector>

#include "accounts/FrmAcc_Restore.h"
#include "accounts/ImportReport.h"
#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/platform/BatchUser.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

constexpr int kProgressEvery = 1000;

struct Options {
  QString appPath;
  QString settings;
  QString db;
  QString folder;
  QString file;
  int oldBranch = 0;
  int branch = 0;
  QString overwrite;
  bool journal = false;
};

// Counts what became of every record and prints progress as it goes.
class Summary : public ImportReport {
 public:
  explicit Summary(QTextStream& out) : out_(out) {}

  void record(const QString& key, Outcome outcome, const QString& reason) override {
    switch (outcome) {
      case Outcome::Imported:
        ++imported_;
        break;
      case Outcome::Overwritten:
        ++overwritten_;
        break;
      case Outcome::Skipped:
        ++skipped_;
        break;
      case Outcome::Refused:
        refused_.push_back(key + ": " + reason);
        break;
    }
    if (++accounts_ % kProgressEvery == 0)
      out_ << "progress: " << accounts_ << " accounts" << Qt::endl;
  }
  void stopped(const QString& key, const QString& reason) override {
    stoppedAt_ = key.isEmpty() ? reason : QStringLiteral("account %1: %2").arg(key, reason);
  }
  void entry(int, int lines, int skippedLines) override {
    lines_ += lines;
    skippedLines_ += skippedLines;
    if (++entries_ % kProgressEvery == 0)
      out_ << "progress: " << entries_ << " entries" << Qt::endl;
  }

  bool wasStopped() const { return !stoppedAt_.isEmpty(); }

  void print(const QString& ending) const {
    out_ << "summary: imported " << imported_ << ", overwritten " << overwritten_ << ", skipped "
         << skipped_ << ", refused " << refused_.size() << Qt::endl;
    for (const QString& refusal : refused_) out_ << "refused: " << refusal << Qt::endl;
    out_ << "summary: entries " << entries_ << ", lines " << lines_ << ", lines without account "
         << skippedLines_ << Qt::endl;
    out_ << "ended: " << ending << Qt::endl;
  }
  const QString& stoppedAt() const { return stoppedAt_; }

 private:
  QTextStream& out_;
  int accounts_ = 0;
  int imported_ = 0;
  int overwritten_ = 0;
  int skipped_ = 0;
  std::vector<QString> refused_;
  QString stoppedAt_;
  int entries_ = 0;
  int lines_ = 0;
  int skippedLines_ = 0;
};

bool parse(const QStringList& arguments, Options& options, QTextStream& out) {
  QCommandLineParser parser;
  for (const char* name : {"app-path", "settings", "db", "v1-folder", "v1-file", "old-branch",
                           "branch", "overwrite", "batch"}) {
    parser.addOption({QString::fromLatin1(name), QString(), QStringLiteral("value")});
  }
  parser.addOption({QStringLiteral("journal"), QString()});
  if (!parser.parse(QStringList{QStringLiteral("batch")} + arguments)) {
    out << "batch: " << parser.errorText() << Qt::endl;
    return false;
  }
  options.appPath = parser.value(QStringLiteral("app-path"));
  if (!options.appPath.isEmpty() && !options.appPath.endsWith('/')) options.appPath += '/';
  options.settings = parser.value(QStringLiteral("settings"));
  options.db = parser.value(QStringLiteral("db"));
  options.folder = parser.value(QStringLiteral("v1-folder"));
  options.file = parser.value(QStringLiteral("v1-file"));
  bool oldOk = false;
  bool newOk = false;
  options.oldBranch = parser.value(QStringLiteral("old-branch")).toInt(&oldOk);
  options.branch = parser.value(QStringLiteral("branch")).toInt(&newOk);
  options.overwrite = parser.value(QStringLiteral("overwrite"));
  if (options.overwrite.isEmpty()) options.overwrite = QStringLiteral("no-all");
  options.journal = parser.isSet(QStringLiteral("journal"));
  const bool complete = !options.appPath.isEmpty() && !options.db.isEmpty() &&
                        !options.folder.isEmpty() && !options.file.isEmpty() && oldOk && newOk;
  const bool knownAnswer = QStringList{"yes-all", "no-all", "cancel"}.contains(options.overwrite);
  if (!complete || !knownAnswer) {
    out << "batch: --app-path, --db, --v1-folder, --v1-file, --old-branch and --branch are "
           "needed; --overwrite is yes-all, no-all or cancel"
        << Qt::endl;
    return false;
  }
  return true;
}

// Answers the overwrite prompt as the options say.
BatchUser::WindowScript overwriteAnswer(const QString& answer) {
  return [answer](QWidget& window) {
    auto* prompt = qobject_cast<FrmOverWrite*>(&window);
    if (!prompt) return;
    if (answer == QLatin1String("yes-all")) prompt->CmdYesAll->click();
    if (answer == QLatin1String("no-all")) prompt->CmdNoAll->click();
    if (answer == QLatin1String("cancel")) prompt->CmdCancel->click();
  };
}

// Opens the version-1 file and chooses the branches; a reason when it fails.
QString prepare(FrmAcc_Restore& window, const Options& options) {
  window.File1->setPath(options.folder);
  const QString file = FindFileIgnoringCase(options.folder, options.file);
  const auto found = window.File1->findItems(file, Qt::MatchFixedString);
  if (file.isEmpty() || found.isEmpty()) return "no file " + options.file + " in " + options.folder;
  window.File1->setCurrentItem(found.front());
  window.CmdOpenOldDB->click();
  if (!window.source().isOpen()) return "the version-1 file could not be opened";
  SelectComboByData(*window.CboBranch, options.branch);
  if (window.CboBranch->currentIndex() < 0) {
    return QStringLiteral("no version-2 branch %1").arg(options.branch);
  }
  SelectComboByData(*window.CboOldBranch, options.oldBranch);
  if (window.CboOldBranch->currentIndex() < 0) {
    return QStringLiteral("no version-1 branch %1 in the file").arg(options.oldBranch);
  }
  return {};
}

int run(const Options& options, BatchUser& user, QTextStream& out) {
  if (!ImportData::OpenSession(options.appPath, options.settings, options.db)) {
    out << "ended: failed: the databases could not be opened" << Qt::endl;
    return kBatchFailed;
  }
  Summary summary(out);
  auto& window = windows().get<FrmAcc_Restore>();
  window.setReport(&summary);
  window.load();
  if (const QString failure = prepare(window, options); !failure.isEmpty()) {
    out << "ended: failed: " << failure << Qt::endl;
    return kBatchFailed;
  }
  window.CmdImportAll->click();
  // A user presses the entries button next also when a rule stopped the
  // accounts run; only a failure ends the batch run here.
  if (options.journal && user.errors().isEmpty()) window.CmdImportGaid->click();
  window.setReport(nullptr);
  window.Cmd_Exit->click();
  windows().unload<FrmAcc_Restore>();

  if (!user.errors().isEmpty()) {
    summary.print("failed: " + user.errors().constLast());
    return kBatchFailed;
  }
  if (summary.wasStopped()) {
    summary.print("stopped at " + summary.stoppedAt());
    return kBatchStopped;
  }
  summary.print(QStringLiteral("every row was processed"));
  return kBatchDone;
}

}  // namespace

int RunAccountsBatch(const QStringList& arguments, QTextStream& out) {
  Options options;
  if (!parse(arguments, options, out)) return kBatchUsage;
  auto user = std::make_unique<BatchUser>(out);
  BatchUser& batchUser = *user;
  batchUser.setWindowScript(overwriteAnswer(options.overwrite));
  const ScopedPlatform installed(std::move(user));
  int result = kBatchFailed;
  try {
    result = run(options, batchUser, out);
  } catch (const DbError& error) {
    out << "ended: failed: Err:" << error.number() << ' ' << error.description() << Qt::endl;
  }
  ImportData::CloseSession();
  windows().clear();
  ReleaseGlobals();
  return result;
}

}  // namespace qalvoro
