#include "v1source/source/Version1Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "v1source/convert/V1Converter.h"

namespace qalvoro {
namespace {

constexpr long kDiskError = 3043;

// The converter, with the code page of Jet 3 text when the setting
// "V1CodePage" names one (1256, 864 or 1252); otherwise the file decides.
V1Converter converter() {
  V1Converter configured;
  configured.setCodePage(static_cast<int>(Val(GetSetting(QStringLiteral("V1CodePage")))));
  return configured;
}

std::vector<Version1Branch> namedBranches(Connection& database, const QString& table) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT * FROM ") + table, database);
  std::vector<Version1Branch> branches;
  for (; !rows.eof(); rows.moveNext()) {
    branches.push_back(
        {rows.text(QStringLiteral("الاسم")), rows.value(QStringLiteral("رقم_الفرع")).toInt()});
  }
  return branches;
}

bool hasTable(Connection& database, const QString& name) {
  return database
      .firstRow(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? "
                               "COLLATE NOCASE"),
                {name})
      .has_value();
}

}  // namespace

QString WorkingCopyPath() {
  const QString overridden = qEnvironmentVariable("QALVORO_WORKING_COPY");
  if (!overridden.isEmpty()) return overridden;
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/qalvoro/tmp_44d2.tmp");
}

bool IsSystemFileName(const QString& fileName) {
  static const QStringList kSystemFiles = {
      QStringLiteral("GENERAL.MDB"), QStringLiteral("SYSTEM1.MDB"), QStringLiteral("ACOUNT0.MDB"),
      QStringLiteral("ACOUNT1.MDB")};
  return kSystemFiles.contains(fileName.toUpper());
}

void MakeWorkingCopy(const QString& source) {
  QDir().mkpath(QFileInfo(WorkingCopyPath()).absolutePath());
  converter().convert(source, WorkingCopyPath());
}

QStringList MakeReadableWorkingCopy(const QString& source) {
  QDir().mkpath(QFileInfo(WorkingCopyPath()).absolutePath());
  V1Converter lenient = converter();
  lenient.setLenient(true);
  return lenient.convert(source, WorkingCopyPath());
}

void DeleteWorkingCopy() {
  QFile copy(WorkingCopyPath());
  if (copy.exists() && !copy.remove()) {
    throw DbError(
        kDiskError,
        QStringLiteral("Cannot delete '%1': %2").arg(WorkingCopyPath(), copy.errorString()));
  }
}

void OpenWorkingCopy(Connection& connection) {
  connection.open(WorkingCopyPath());
  // A throwaway copy: its writes (the deletion of imported rows) need not
  // wait for the disk, nor create a journal file each.
  connection.execute(QStringLiteral("PRAGMA synchronous = OFF"));
  connection.execute(QStringLiteral("PRAGMA journal_mode = MEMORY"));
}

void IndexAccountsFile(Connection& workingCopy) {
  struct TableIndexes {
    QString table;
    QStringList statements;
  };
  static const TableIndexes kIndexes[] = {
      {QStringLiteral("Card"),
       {QStringLiteral("CREATE INDEX IF NOT EXISTS ix_card_branch ON Card (رقم_الفرع, fFather)"),
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS ix_card_account ON Card (رقم_الحساب, رقم_الفرع)")}},
      {QStringLiteral("Gaid"),
       {QStringLiteral("CREATE INDEX IF NOT EXISTS ix_gaid_entry ON Gaid (رقم_القيد)")}},
  };
  for (const TableIndexes& indexes : kIndexes) {
    if (!hasTable(workingCopy, indexes.table)) continue;
    for (const QString& statement : indexes.statements) workingCopy.execute(statement);
  }
}

std::vector<Version1Branch> BranchesOfGeneralFile(const QString& generalFile) {
  const QTemporaryDir folder;
  const QString copy = folder.filePath(QStringLiteral("general.sqlite"));
  converter().convert(generalFile, copy);
  Connection database;
  database.open(copy);
  return namedBranches(database, QStringLiteral("Branch"));
}

std::vector<Version1Branch> BranchesOfCard(Connection& workingCopy) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT DISTINCT رقم_الفرع FROM Card GROUP BY رقم_الفرع"), workingCopy);
  std::vector<Version1Branch> branches;
  for (; !rows.eof(); rows.moveNext()) {
    const QString number = rows.text(QStringLiteral("رقم_الفرع"));
    branches.push_back({number, number.toInt()});
  }
  return branches;
}

std::vector<Version1Branch> BranchesOfStock(Connection& workingCopy) {
  return namedBranches(workingCopy, QStringLiteral("الفروع"));
}

QString Version1DateText(const QVariant& value) {
  if (value.isNull()) return {};
  QDateTime moment = value.toDateTime();
  if (!moment.isValid()) {
    moment =
        QDateTime::fromString(value.toString().left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  }
  if (!moment.isValid()) {
    moment = QDateTime(QDate::fromString(value.toString().left(10), Qt::ISODate), QTime(0, 0));
  }
  return moment.isValid() ? moment.date().toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

}  // namespace qalvoro
