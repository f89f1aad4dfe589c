#include "host/batch/BranchBatch.h"

#include "accounts/AccountsBatch.h"
#include "catalogue/CatalogueBatch.h"
#include "verify/VerifyRun.h"

namespace qalvoro {
namespace {

const QString kUsage = QStringLiteral(
    "--app-path, --db, --old-branch, --branch and --accounts-folder with --accounts-file, "
    "--stock-folder or both are needed; the other options are those of the accounts and "
    "catalogue runs");

QStringList valueOptions() {
  QStringList names = CatalogueValueOptions();
  names.removeAll(QStringLiteral("kind"));
  return names + QStringList{"accounts-folder", "accounts-file", "stock-folder"};
}

// --verify after the run: the reconciliation's table and its section of the
// report. The run then ends failed when the verification could not run,
// with code 4 when it found something missing or different, unless the
// import itself failed.
BatchEnding verifyAfterRun(const BatchOptions& options, BatchSession& session,
                           const BatchEnding& ending, QTextStream& out) {
  const verify::VerifySources sources{options.db(),
                                      options.settings(),
                                      options.value(QStringLiteral("accounts-folder")),
                                      options.value(QStringLiteral("accounts-file")),
                                      options.value(QStringLiteral("stock-folder")),
                                      options.oldBranch(),
                                      options.branch()};
  const std::optional<verify::Reconciliation> found = verify::VerifyAndPrint(sources, out);
  if (!found) {
    if (ending.code == kBatchFailed) return ending;
    return {kBatchFailed, QStringLiteral("failed: the verification could not run")};
  }
  session.report().addSection(QStringLiteral("verification"), found->toJson());
  if (found->clean() || ending.code == kBatchFailed) return ending;
  return {found->exitCode(), ending.text + "; verify found " + found->ending()};
}

}  // namespace

int RunBranchBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options(valueOptions(), CatalogueSwitches() + QStringList{"journal", "verify"});
  if (!options.parse(arguments, {}, kUsage, out)) return kBatchUsage;
  const QString accountsFolder = options.value(QStringLiteral("accounts-folder"));
  const QString accountsFile = options.value(QStringLiteral("accounts-file"));
  const QString stockFolder = options.value(QStringLiteral("stock-folder"));
  CatalogueOptions catalogue;
  if ((accountsFolder.isEmpty() && stockFolder.isEmpty()) ||
      accountsFolder.isEmpty() != accountsFile.isEmpty() ||
      !ReadCatalogueOptions(options, QStringLiteral("all"), catalogue)) {
    out << "batch: " << kUsage << Qt::endl;
    return kBatchUsage;
  }
  return RunSession(
      options, QStringLiteral("branch"), CatalogueAnswers(catalogue, options.overwrite()),
      [&](BatchSession& session) -> BatchEnding {
        QString failure;
        if (!accountsFolder.isEmpty()) {
          failure = RunAccountsKinds(session, options, accountsFolder, accountsFile, true);
        }
        // The catalogue needs the accounts; after a failure it does not run.
        if (!stockFolder.isEmpty() && failure.isEmpty() &&
            WorstEnding(session.kinds()).code != kBatchFailed) {
          failure = RunCatalogueKinds(session, options, stockFolder, catalogue);
        }
        for (const BatchSummary& kind : session.kinds()) kind.printKind(out);
        const BatchEnding ending = failure.isEmpty()
                                       ? WorstEnding(session.kinds())
                                       : BatchEnding{kBatchFailed, "failed: " + failure};
        if (!options.isSet(QStringLiteral("verify"))) return ending;
        return verifyAfterRun(options, session, ending, out);
      },
      out);
}

}  // namespace qalvoro
