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
QString prepare(FrmAcc_Restore& window, const BatchOptions& options, const QString& folder,
                const QString& name) {
  window.File1->setPath(folder);
  const QString file = FindFileIgnoringCase(folder, name);
  const auto found = window.File1->findItems(file, Qt::MatchFixedString);
  if (file.isEmpty() || found.isEmpty()) return "no file " + name + " in " + folder;
  window.File1->setCurrentItem(found.front());
  window.CmdOpenOldDB->click();
  if (!window.source().isOpen()) return "the version-1 file could not be opened";
  return ChooseBranches(window, options);
}

}  // namespace

QString RunAccountsKinds(BatchSession& session, const BatchOptions& options, const QString& folder,
                         const QString& file, bool journal) {
  BatchSummary& accounts = session.addKind(QStringLiteral("accounts"), QStringLiteral("account"));
  BatchSummary* entries =
      journal ? &session.addKind(QStringLiteral("journal"), QStringLiteral("entry"), true)
              : nullptr;
  return DriveRestoreWindow<FrmAcc_Restore>(
      [&](FrmAcc_Restore& window) { return prepare(window, options, folder, file); },
      [&](FrmAcc_Restore& window) {
        const BatchEnding& ending = session.runKind(accounts, [&] {
          window.setReport(&accounts);
          window.CmdImportAll->click();
        });
        // A user presses the entries button next also when a rule stopped the
        // accounts run; only a failure ends the run here.
        if (!entries || ending.code == kBatchFailed) return;
        session.runKind(*entries, [&] {
          window.setReport(entries);
          window.CmdImportGaid->click();
        });
      });
}

int RunAccountsBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options({QStringLiteral("v1-file")}, {QStringLiteral("journal")});
  if (!options.parse(
          arguments, {QStringLiteral("v1-folder"), QStringLiteral("v1-file")},
          QStringLiteral("--app-path, --db, --v1-folder, --v1-file, --old-branch and "
                         "--branch are needed; --overwrite is yes-all, no-all or cancel"),
          out)) {
    return kBatchUsage;
  }
  const QString answer = options.overwrite();
  return RunSession(
      options, QStringLiteral("accounts"),
      [answer](QWidget& window) { AnswerOverwritePrompt(window, answer); },
      [&](BatchSession& session) -> BatchEnding {
        const QString failure = RunAccountsKinds(session, options, options.folder(),
                                                 options.value(QStringLiteral("v1-file")),
                                                 options.isSet(QStringLiteral("journal")));
        if (!failure.isEmpty()) return {kBatchFailed, "failed: " + failure};
        for (const BatchSummary& kind : session.kinds()) kind.print(out);
        return WorstEnding(session.kinds());
      },
      out);
}

}  // namespace qalvoro
