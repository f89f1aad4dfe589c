#include "tests/reliability/BranchRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>
#include <QTextStream>
#include <algorithm>
#include <map>

#include "accounts/AccountsBatch.h"
#include "catalogue/CatalogueBatch.h"
#include "host/Version2Database.h"
#include "host/batch/BatchRun.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "host/platform/Platform.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

// The columns that hold the autonumber key of another table's row.
const std::map<QString, std::map<QString, QString>>& Links() {
  static const std::map<QString, std::map<QString, QString>> links = [] {
    std::map<QString, std::map<QString, QString>> all{
        {"gaiddetails", {{"gaidid", "Gaid"}, {"accnoid", "CardAcc"}}},
        {"category", {{"classid", "Class"}, {"providerid", "Provider"}, {"u1", "Unit"}}},
        {"customer", {{"accnoid", "CardAcc"}}},
        {"provider", {{"accnoid", "CardAcc"}}},
        {"cashier", {{"accid", "CardAcc"}}},
        {"saleinvoice", {{"customerid", "Customer"}, {"cashieraccid", "CardAcc"}}},
        {"buyinvoice", {{"providerid", "Provider"}, {"cashieraccid", "CardAcc"}}},
        {"rsaleinvoice",
         {{"customerid", "Customer"}, {"cashieraccid", "CardAcc"}, {"invsaleid", "SaleInvoice"}}},
        {"rbuyinvoice",
         {{"providerid", "Provider"}, {"cashieraccid", "CardAcc"}, {"invbuyid", "BuyInvoice"}}},
        {"sinvsdata", {{"invoiceid", "SaleInvoice"}}},
        {"binvdata", {{"invoiceid", "BuyInvoice"}}},
        {"rsinvsdata", {{"invoiceid", "RSaleInvoice"}}},
        {"rbinvdata", {{"invoiceid", "RBuyInvoice"}}},
        {"receipt", {{"accidto", "CardAcc"}}},
        {"payment", {{"accidfrom", "CardAcc"}}},
        {"receiptdetails",
         {{"receiptid", "Receipt"}, {"from_accnoid", "CardAcc"}, {"bankid", "Bank"}}},
        {"paymentdetails",
         {{"paymentid", "Payment"}, {"to_accnoid", "CardAcc"}, {"bankid", "Bank"}}},
    };
    for (const char* line : {"sinvsdata", "binvdata", "rsinvsdata", "rbinvdata"}) {
      all[line].emplace("categoryid", "Category");
      all[line].emplace("unitid", "Unit");
    }
    for (const char* column : {"cash_s", "credit_s", "tobill_s", "cash_b", "credit_b", "cash_sr",
                               "credit_sr", "tobill_sr", "cash_br", "credit_br"}) {
      all["class"].emplace(QStringLiteral("accid_") + column, "CardAcc");
    }
    return all;
  }();
  return links;
}

const QStringList kTables = {
    "SysInfo",    "LockTables", "Branch",         "Unit",        "Bank",
    "CardAcc",    "Gaid",       "GaidDetails",    "Class",       "Category",
    "Customer",   "Provider",   "Cashier",        "SaleInvoice", "SInvSData",
    "BuyInvoice", "BInvData",   "RSaleInvoice",   "RSInvSData",  "RBuyInvoice",
    "RBInvData",  "Receipt",    "ReceiptDetails", "Payment",     "PaymentDetails"};

QString keyColumn(const QString& table) {
  return table == QLatin1String("Category") ? QStringLiteral("categoryid") : QStringLiteral("id");
}

// Every row of the database by table and key, and the canonical text of any
// of them.
class Rows {
 public:
  explicit Rows(Connection& connection) {
    for (const QString& table : kTables) {
      Recordset rows;
      rows.open("SELECT * FROM " + table, connection);
      auto& byKey = rows_[table];
      for (; !rows.eof(); rows.moveNext()) {
        QSqlRecord record;
        for (const QString& name : rows.fieldNames()) {
          QSqlField field(name.toLower(), rows.value(name).metaType());
          field.setValue(rows.value(name));
          record.append(field);
        }
        byKey.emplace(record.value(keyColumn(table)).toLongLong(), record);
      }
    }
  }

  QStringList dump() {
    QStringList lines;
    for (const QString& table : kTables) {
      QStringList texts;
      for (const auto& [key, record] : rows_[table]) texts << text(table, key);
      texts.sort();
      for (const QString& row : texts) lines << table + ": " + row;
    }
    return lines;
  }

  QString text(const QString& table, qint64 key) {
    const auto found = rows_[table].find(key);
    if (found == rows_[table].end()) return key == 0 ? QStringLiteral("0") : QStringLiteral("?");
    const QString cacheKey = table + ':' + QString::number(key);
    if (const auto cached = texts_.constFind(cacheKey); cached != texts_.cend()) return *cached;
    const auto tableLinks = Links().find(table.toLower());
    QStringList fields;
    const QSqlRecord& record = found->second;
    for (int i = 0; i < record.count(); ++i) {
      const QString name = record.fieldName(i);
      if (name == keyColumn(table)) continue;
      const QVariant value = record.value(i);
      QString shown = value.isNull() ? QStringLiteral("Null") : value.toString();
      if (generated(table, name)) continue;
      if (name == QLatin1String("categoryid") && table != QLatin1String("Category") &&
          !value.isNull()) {
        // An item is found by its number in any branch: the line names the number.
        shown =
            '{' +
            rows_[QStringLiteral("Category")][value.toLongLong()].value("categoryno").toString() +
            '}';
      } else if (tableLinks != Links().end() && tableLinks->second.count(name) && !value.isNull()) {
        shown = '{' + text(tableLinks->second.at(name), value.toLongLong()) + '}';
      }
      fields << name + '=' + shown;
    }
    return texts_[cacheKey] = fields.join(QStringLiteral(", "));
  }

 private:
  // Values the clock, the database or the order of the writes makes, not
  // the data: the time of day a document is posted at; a
  // class's number is the next free one of its branch when it is written;
  // the descendant lists are rewritten from the chart by every journal run,
  // and an account the catalogue run adds for a party joins its ancestors'
  // lists only at the next journal run.
  static bool generated(const QString& table, const QString& column) {
    return (table == QLatin1String("Class") && column == QLatin1String("fno")) ||
           column == QLatin1String("subcardsid") || column == QLatin1String("ftime");
  }

  std::map<QString, std::map<qint64, QSqlRecord>> rows_;
  QHash<QString, QString> texts_;
};

QStringList linesOf(Connection& connection, const QString& label, const QString& sql) {
  QStringList lines;
  Recordset rows;
  rows.open(sql, connection);
  for (; !rows.eof(); rows.moveNext()) {
    QStringList values;
    for (const QString& name : rows.fieldNames()) values << rows.value(name).toString();
    lines << label + ": " + values.join(' ');
  }
  return lines;
}

QString serverUrlOf(const QString& database) {
  QString url = TestDatabase::serverUrl();
  return url.left(url.lastIndexOf('/') + 1) + database;
}

void onServer(const QString& sql) {
  Connection server;
  server.open(TestDatabase::serverUrl());
  server.execute(sql);
}

}  // namespace

bool Completed(const RunResult& result) {
  return (result.code == kBatchDone || result.code == kBatchStopped) &&
         !result.output.contains(QLatin1String("Err:"));
}

std::vector<Step> WholeBranch() {
  std::vector<Step> steps{{"accounts", ""}, {"accounts", "journal"}};
  for (const char* kind : {"items", "customers", "providers", "sales", "purchases", "vouchers"}) {
    steps.push_back({"catalogue", kind});
  }
  return steps;
}

mdbwriter::v1::V1Options SmallBranch() {
  mdbwriter::v1::V1Options options;
  options.systemFile = false;
  auto& sizes = options.sizes;
  sizes.branches = 2;
  sizes.accounts = 8;
  sizes.entries = 2;
  sizes.items = 2;
  sizes.invoices = 1;
  sizes.purchases = 1;
  sizes.customers = 1;
  sizes.providers = 1;
  sizes.lines = 2;
  sizes.returnEvery = 1;
  return options;
}

Workspace::Workspace(Engine engine, const mdbwriter::v1::V1Options& options) : engine_(engine) {
  Platform::useSettingsFolder(folder_.filePath("config"));
  qputenv("QALVORO_WORKING_COPY", folder_.filePath("tmp_44d2.tmp").toLocal8Bit());
  QFile::copy(QStringLiteral(QALVORO_BIN_DIR "/LTR.DRV"), folder_.filePath("LTR.DRV"));
  QFile::setPermissions(folder_.filePath("LTR.DRV"), QFile::ReadOwner | QFile::WriteOwner);
  mdbwriter::v1::writeAccountsFolder(folder_.filePath("accounts"), options);
  mdbwriter::v1::writeStockFolder(folder_.filePath("stock"), options);
  createDatabase(QStringLiteral("v2"));
}

Workspace::~Workspace() {
  for (const QString& name : serverDatabases_) {
    try {
      onServer("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (const DbError&) {
      // The fixture removes the whole cluster anyway.
    }
  }
  qunsetenv("QALVORO_WORKING_COPY");
}

QString Workspace::target(const QString& name) const {
  if (name.contains('/')) return name;
  if (engine_ == Engine::SQLite) return folder_.filePath(name + ".db");
  return serverUrlOf(
      QStringLiteral("reliability_%1_%2").arg(QCoreApplication::applicationPid()).arg(name));
}

void Workspace::createDatabase(const QString& name) {
  if (engine_ == Engine::PostgreSQL) serverDatabases_.push_back(target(name).section('/', -1));
  QFile::remove(target(name));
  createVersion2Database(target(name), true);
}

void Workspace::copyDatabase(const QString& from, const QString& to) {
  if (engine_ == Engine::SQLite) {
    QFile::remove(target(to));
    QFile::copy(target(from), target(to));
    return;
  }
  const QString name = target(to).section('/', -1);
  serverDatabases_.push_back(name);
  onServer("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
  // Copying the files is faster than logging every page for a small database.
  onServer("CREATE DATABASE " + name + " TEMPLATE " + target(from).section('/', -1) +
           " STRATEGY FILE_COPY");
}

QStringList Workspace::arguments(const Step& step, const QString& database, int branch,
                                 const QStringList& extra) const {
  QStringList arguments{"--app-path",   path(),
                        "--settings",   "Reliability",
                        "--db",         target(database),
                        "--old-branch", QString::number(branch),
                        "--branch",     QString::number(branch)};
  if (step.command == QLatin1String("accounts")) {
    arguments << "--v1-folder" << folder_.filePath("accounts") << "--v1-file"
              << "ACC2003.MDB";
    if (step.kind == QLatin1String("journal")) arguments << "--journal";
  } else {
    arguments << "--v1-folder" << folder_.filePath("stock") << "--kind" << step.kind << "--cashier"
              << "120101"
              << "--customers-account"
              << "1203"
              << "--providers-account"
              << "21"
              << "--customer-accounts"
              << "--provider-accounts"
              << "--classification"
              << "classes";
  }
  return arguments + extra;
}

RunResult Workspace::run(const Step& step, const QString& database, const QStringList& extra,
                         int failWrite) const {
  if (failWrite > 0) qputenv("QALVORO_FAIL_WRITE", QByteArray::number(failWrite));
  RunResult result;
  QTextStream out(&result.output);
  const QStringList options = arguments(step, database, 1, extra);
  result.code = step.command == QLatin1String("accounts") ? RunAccountsBatch(options, out)
                                                          : RunCatalogueBatch(options, out);
  qunsetenv("QALVORO_FAIL_WRITE");
  return result;
}

RunResult Workspace::runAll(const std::vector<Step>& steps, const QString& database,
                            const QStringList& extra) const {
  RunResult all{kBatchDone, {}};
  for (const Step& step : steps) {
    const RunResult one = run(step, database, extra);
    all.output += one.output;
    if (one.code != kBatchDone) all.code = one.code;
    if (one.code != kBatchDone && one.code != kBatchStopped) break;
  }
  return all;
}

std::unique_ptr<QProcess> Workspace::child(const Step& step, const QString& database, int branch,
                                           const QStringList& extra,
                                           const QString& workingCopy) const {
  auto host = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", folder_.filePath("config"));
  environment.insert("QALVORO_WORKING_COPY", workingCopy);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  host->setProcessEnvironment(environment);
  host->setProcessChannelMode(QProcess::MergedChannels);
  host->setProgram(QStringLiteral(QALVORO_BIN_DIR "/qalvoro-host"));
  host->setArguments(QStringList{"--batch", step.command} +
                     arguments(step, database, branch, extra));
  return host;
}

QStringList CanonicalDump(const QString& database) {
  Connection connection;
  connection.open(database);
  return Rows(connection).dump();
}

QStringList PartialRecords(const QString& database) {
  Connection connection;
  connection.open(database);
  QStringList faults;
  const struct {
    const char* header;
    const char* lines;
    const char* link;
    const char* number;
  } documents[] = {{"SaleInvoice", "SInvSData", "InvoiceID", "InvoiceNo"},
                   {"BuyInvoice", "BInvData", "InvoiceID", "InvoiceNo"},
                   {"RSaleInvoice", "RSInvSData", "InvoiceID", "InvoiceNo"},
                   {"RBuyInvoice", "RBInvData", "InvoiceID", "InvoiceNo"},
                   {"Gaid", "GaidDetails", "GaidID", "GaidNo"},
                   {"Receipt", "ReceiptDetails", "ReceiptID", "ReceiptNo"},
                   {"Payment", "PaymentDetails", "PaymentID", "PaymentNo"}};
  for (const auto& d : documents) {
    const QString header = d.header, lines = d.lines, link = d.link, number = d.number;
    faults << linesOf(connection, header + " without lines",
                      "SELECT h.BranchID, h." + number + " FROM " + header +
                          " h WHERE NOT EXISTS " + "(SELECT 1 FROM " + lines + " l WHERE l." +
                          link + " = h.ID)");
    faults << linesOf(connection, lines + " without header",
                      "SELECT l.ID FROM " + lines + " l WHERE NOT EXISTS (SELECT 1 FROM " + header +
                          " h WHERE h.ID = l." + link + ")");
  }
  faults << linesOf(connection, "customer balance without its invoices",
                    "SELECT c.BranchID, c.fNo, c.Debit FROM Customer c WHERE ABS(c.Debit - "
                    "(SELECT COALESCE(SUM(s.Net), 0) FROM SaleInvoice s WHERE s.CustomerID = c.ID "
                    "AND s.Payment = 1)) > 0.001");
  faults << linesOf(connection, "Haves without its children",
                    "SELECT p.BranchID, p.AccNo, p.Haves FROM CardAcc p WHERE p.Haves <> "
                    "(SELECT COUNT(*) FROM CardAcc c WHERE c.BranchID = p.BranchID AND "
                    "c.ffather = p.AccNo)");
  for (const char* party : {"Customer", "Provider"}) {
    faults << linesOf(connection, QString(party) + " without its account",
                      QStringLiteral("SELECT p.BranchID, p.fNo FROM %1 p WHERE p.AccNoID <> 0 AND "
                                     "NOT EXISTS (SELECT 1 FROM CardAcc a WHERE a.ID = p.AccNoID)")
                          .arg(party));
  }
  faults << linesOf(connection, "lock held",
                    "SELECT TableName FROM LockTables WHERE fLocked = TRUE");
  return faults;
}

QString IntegrityCheck(const QString& database) {
  if (!database.startsWith(QLatin1String("/"))) return QStringLiteral("ok");
  Connection connection;
  connection.open(database);
  const auto row = connection.firstRow(QStringLiteral("PRAGMA integrity_check"));
  return row ? row->value(0).toString() : QString();
}

std::string DumpDifference(const QStringList& expected, const QStringList& actual) {
  QString text;
  for (const QString& line : expected)
    if (!actual.contains(line)) text += "only expected: " + line + '\n';
  for (const QString& line : actual)
    if (!expected.contains(line)) text += "only actual: " + line + '\n';
  return text.toStdString();
}

}  // namespace qalvoro::test
