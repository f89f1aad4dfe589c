#include "host/batch/BranchBatch.h"

#include "accounts/AccountsBatch.h"
#include "catalogue/CatalogueBatch.h"

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

}  // namespace

int RunBranchBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options(valueOptions(), CatalogueSwitches() + QStringList{"journal"});
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
        if (!failure.isEmpty()) return {kBatchFailed, "failed: " + failure};
        return WorstEnding(session.kinds());
      },
      out);
}

}  // namespace qalvoro
