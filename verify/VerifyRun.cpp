#include "verify/VerifyRun.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "v1source/convert/V1Converter.h"
#include "verify/Version1Books.h"
#include "verify/Version2Books.h"

namespace qalvoro::verify {
namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

const QString kUsageText = QStringLiteral(
    "verify: --db, --old-branch, --branch and --accounts-folder with --accounts-file, "
    "--stock-folder or both are needed");

// A file of a folder whatever the case of its name; empty when there is none.
QString fileIgnoringCase(const QString& folder, const QString& name) {
  const QDir dir(folder);
  for (const QString& entry : dir.entryList(QDir::Files)) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

// Converts a version-1 file into the temporary folder and opens the copy.
void convertAndOpen(const QString& source, const QString& copy, int codePage,
                    Connection& connection) {
  if (source.isEmpty()) {
    throw DbError(3024, QStringLiteral("Could not find the version-1 file."));
  }
  V1Converter converter;
  converter.setCodePage(codePage);
  converter.convert(source, copy);
  connection.open(copy);
}

// The options of the run, accepted with those of the import runs.
void describe(QCommandLineParser& parser) {
  for (const char* name : {"app-path",
                           "settings",
                           "db",
                           "accounts-folder",
                           "accounts-file",
                           "stock-folder",
                           "old-branch",
                           "branch",
                           "report",
                           "batch",
                           "overwrite",
                           "kind",
                           "from",
                           "to",
                           "classification",
                           "unit",
                           "customers-account",
                           "providers-account",
                           "cashier",
                           "renumber-from",
                           "v1-folder",
                           "v1-file"}) {
    parser.addOption({QString::fromLatin1(name), QString(), QStringLiteral("value")});
  }
  for (const char* name :
       {"verify", "journal", "customer-accounts", "provider-accounts", "auto-voucher-numbers"}) {
    parser.addOption({QString::fromLatin1(name), QString()});
  }
}

bool read(const QCommandLineParser& parser, VerifySources& sources) {
  const auto value = [&parser](const char* name) {
    return parser.value(QString::fromLatin1(name));
  };
  sources.db = value("db");
  sources.settings = value("settings");
  sources.accountsFolder = value("accounts-folder");
  sources.accountsFile = value("accounts-file");
  sources.stockFolder = value("stock-folder");
  bool oldOk = false;
  bool newOk = false;
  sources.oldBranch = value("old-branch").toInt(&oldOk);
  sources.branch = value("branch").toInt(&newOk);
  const bool accounts = !sources.accountsFolder.isEmpty() && !sources.accountsFile.isEmpty();
  const bool halfAccounts = sources.accountsFolder.isEmpty() != sources.accountsFile.isEmpty();
  return !sources.db.isEmpty() && oldOk && newOk && !halfAccounts &&
         (accounts || !sources.stockFolder.isEmpty());
}

}  // namespace

Reconciliation Verify(const VerifySources& sources) {
  const int codePage = sources.settings.isEmpty()
                           ? 0
                           : QSettings(QSettings::IniFormat, QSettings::UserScope, sources.settings)
                                 .value(QStringLiteral("Setting/V1CodePage"))
                                 .toInt();
  QTemporaryDir copies;
  if (!copies.isValid()) throw DbError(3043, QStringLiteral("Disk or network error."));
  Version1Books version1;
  if (!sources.accountsFolder.isEmpty()) {
    Connection file;
    convertAndOpen(fileIgnoringCase(sources.accountsFolder, sources.accountsFile),
                   copies.filePath(QStringLiteral("accounts.sqlite")), codePage, file);
    ReadAccountsFile(file, sources.oldBranch, version1);
  }
  if (!sources.stockFolder.isEmpty()) {
    Connection file;
    convertAndOpen(fileIgnoringCase(sources.stockFolder, QStringLiteral("STOCK001.MDB")),
                   copies.filePath(QStringLiteral("stock.sqlite")), codePage, file);
    ReadStockFile(file, sources.oldBranch, version1);
  }
  Connection database;
  database.open(sources.db, QStringLiteral("sa"), DbPassword);
  return Reconcile(version1, ReadVersion2Branch(database, sources.branch));
}

bool WriteVerificationReport(const QString& path, const Reconciliation& result) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QJsonObject report{{QStringLiteral("verification"), result.toJson()}};
  file.write(QJsonDocument(report).toJson());
  return file.commit();
}

std::optional<Reconciliation> VerifyAndPrint(const VerifySources& sources, QTextStream& out) {
  try {
    QElapsedTimer timer;
    timer.start();
    Reconciliation result = Verify(sources);
    result.print(out);
    out << "verify seconds: " << QString::number(timer.elapsed() / 1000.0, 'f', 2) << Qt::endl;
    return result;
  } catch (const DbError& error) {
    out << "verify ended: failed: Err:" << error.number() << ' ' << error.description() << Qt::endl;
    return std::nullopt;
  }
}

int RunVerify(const QStringList& arguments, QTextStream& out) {
  QCommandLineParser parser;
  describe(parser);
  VerifySources sources;
  if (!parser.parse(QStringList{QStringLiteral("verify")} + arguments)) {
    out << "verify: " << parser.errorText() << Qt::endl;
    return kUsage;
  }
  if (!read(parser, sources)) {
    out << kUsageText << Qt::endl;
    return kUsage;
  }
  const std::optional<Reconciliation> result = VerifyAndPrint(sources, out);
  if (!result) return kFailed;
  const QString report = parser.value(QStringLiteral("report"));
  if (!report.isEmpty() && !WriteVerificationReport(report, *result)) {
    out << "verify: the report file " << report << " could not be written" << Qt::endl;
    return kFailed;
  }
  return result->exitCode();
}

}  // namespace qalvoro::verify
