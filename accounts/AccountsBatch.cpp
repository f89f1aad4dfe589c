#include "accounts/AccountsBatch.h"

#include <QComboBox>
#include <QPushButton>

#include "accounts/FrmAcc_Restore.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

// Opens the version-1 file and chooses the branches; a reason when it fails.
QString prepare(FrmAcc_Restore& window, const BatchOptions& options) {
  const QString folder = options.folder();
  const QString name = options.value(QStringLiteral("v1-file"));
  window.File1->setPath(folder);
  const QString file = FindFileIgnoringCase(folder, name);
  const auto found = window.File1->findItems(file, Qt::MatchFixedString);
  if (file.isEmpty() || found.isEmpty()) return "no file " + name + " in " + folder;
  window.File1->setCurrentItem(found.front());
  window.CmdOpenOldDB->click();
  if (!window.source().isOpen()) return "the version-1 file could not be opened";
  return ChooseBranches(window, options);
}

QString run(const BatchOptions& options, BatchUser& user, BatchSummary& summary) {
  return RunRestoreWindow<FrmAcc_Restore>(
      summary, [&](FrmAcc_Restore& window) { return prepare(window, options); },
      [&](FrmAcc_Restore& window) {
        // A user presses the entries button next also when a rule stopped the
        // accounts run; only a failure ends the batch run here.
        if (options.isSet(QStringLiteral("journal")) && user.errors().isEmpty()) {
          window.CmdImportGaid->click();
        }
      });
}

}  // namespace

int RunAccountsBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options({QStringLiteral("v1-file")}, {QStringLiteral("journal")});
  if (!options.parse(
          arguments, {QStringLiteral("v1-file")},
          QStringLiteral("--app-path, --db, --v1-folder, --v1-file, --old-branch and "
                         "--branch are needed; --overwrite is yes-all, no-all or cancel"),
          out)) {
    return kBatchUsage;
  }
  const QString answer = options.overwrite();
  return RunBatch(
      options, QStringLiteral("account"), true,
      [answer](QWidget& window) { AnswerOverwritePrompt(window, answer); },
      [&options](BatchUser& user, BatchSummary& summary) { return run(options, user, summary); },
      out);
}

}  // namespace qalvoro
