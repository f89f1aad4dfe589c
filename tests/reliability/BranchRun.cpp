#include "tests/reliability/BranchRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTextStream>
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

// The table whose autonumber key a column holds, if any.
QString linkedTable(const QString& table, const QString& column) {
  static const QHash<QString, QString> links = [] {
    QHash<QString, QString> all;
    for (const QString& link :
         QStringLiteral(
             "gaiddetails.gaidid=Gaid gaiddetails.accnoid=CardAcc category.classid=Class "
             "category.providerid=Provider category.u1=Unit customer.accnoid=CardAcc "
             "provider.accnoid=CardAcc cashier.accid=CardAcc saleinvoice.customerid=Customer "
             "saleinvoice.cashieraccid=CardAcc buyinvoice.providerid=Provider "
             "buyinvoice.cashieraccid=CardAcc rsaleinvoice.customerid=Customer "
             "rsaleinvoice.cashieraccid=CardAcc rsaleinvoice.invsaleid=SaleInvoice "
             "rbuyinvoice.providerid=Provider rbuyinvoice.cashieraccid=CardAcc "
             "rbuyinvoice.invbuyid=BuyInvoice sinvsdata.invoiceid=SaleInvoice "
             "binvdata.invoiceid=BuyInvoice rsinvsdata.invoiceid=RSaleInvoice "
             "rbinvdata.invoiceid=RBuyInvoice receipt.accidto=CardAcc payment.accidfrom=CardAcc "
             "receiptdetails.receiptid=Receipt receiptdetails.from_accnoid=CardAcc "
             "receiptdetails.bankid=Bank paymentdetails.paymentid=Payment "
             "paymentdetails.to_accnoid=CardAcc paymentdetails.bankid=Bank")
             .split(' '))
      all[link.section('=', 0, 0)] = link.section('=', 1);
    return all;
  }();
  if (column == QLatin1String("unitid")) return QStringLiteral("Unit");  // of the lines
  if (table == QLatin1String("Class") && column.startsWith(QLatin1String("accid_")))
    return QStringLiteral("CardAcc");
  return links.value(table.toLower() + '.' + column);
}

const QStringList kTables = QStringLiteral(
                                "SysInfo LockTables Branch Unit Bank CardAcc Gaid GaidDetails "
                                "Class Category Customer Provider Cashier SaleInvoice SInvSData "
                                "BuyInvoice BInvData RSaleInvoice RSInvSData RBuyInvoice "
                                "RBInvData Receipt ReceiptDetails Payment PaymentDetails")
                                .split(' ');

// Every row of the database by table and key, and the canonical text of any
// of them.
class Rows {
 public:
  explicit Rows(Connection& connection) {
    for (const QString& table : kTables) {
      Recordset rows;
      rows.open("SELECT * FROM " + table, connection);
      for (; !rows.eof(); rows.moveNext()) {
        QVariantMap record;
        for (const QString& name : rows.fieldNames()) record[name.toLower()] = rows.value(name);
        rows_[table][record.value(keyColumn(table)).toLongLong()] = record;
      }
    }
  }

  QStringList dump() {
    QStringList lines;
    for (const QString& table : kTables) {
      QStringList texts;
      for (const auto& row : rows_[table]) texts << table + ": " + text(table, row.first);
      texts.sort();
      lines << texts;
    }
    return lines;
  }

 private:
  static QString keyColumn(const QString& table) {
    return table == QLatin1String("Category") ? QStringLiteral("categoryid") : QStringLiteral("id");
  }
  // Made by the clock, the database or the order of the writes, not the data:
  // the time of day a document is posted at, a class's number (the next free
  // one when it is written) and the descendant lists (rewritten by every
  // journal run; a party's new account joins them only at the next one).
  static bool generated(const QString& table, const QString& column) {
    return (table == QLatin1String("Class") && column == QLatin1String("fno")) ||
           column == QLatin1String("subcardsid") || column == QLatin1String("ftime");
  }

  QString text(const QString& table, qint64 key) {
    const auto found = rows_[table].find(key);
    if (found == rows_[table].end()) return key == 0 ? QStringLiteral("0") : QStringLiteral("?");
    const QString cacheKey = table + ':' + QString::number(key);
    if (const auto cached = texts_.constFind(cacheKey); cached != texts_.cend()) return *cached;
    QStringList fields;
    for (const auto& [name, value] : found->second.asKeyValueRange()) {
      if (name == keyColumn(table) || generated(table, name)) continue;
      QString shown = value.toString();
      if (value.isNull()) {
        shown = QStringLiteral("Null");
      } else if (name == QLatin1String("categoryid")) {
        // An item is found by its number in any branch: a line names the number.
        shown = '{' + rows_["Category"][value.toLongLong()].value("categoryno").toString() + '}';
      } else if (const QString linked = linkedTable(table, name); !linked.isEmpty()) {
        shown = '{' + text(linked, value.toLongLong()) + '}';
      }
      fields << name + '=' + shown;
    }
    return texts_[cacheKey] = fields.join(QStringLiteral(", "));
  }

  std::map<QString, std::map<qint64, QVariantMap>> rows_;
  QHash<QString, QString> texts_;
};

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
  sizes.branches = sizes.entries = sizes.items = sizes.lines = 2;
  sizes.invoices = sizes.purchases = sizes.customers = sizes.providers = sizes.returnEvery = 1;
  sizes.accounts = 8;
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
  QStringList arguments{"--app-path",     path(),       "--db",
                        target(database), "--settings", "Reliability"};
  arguments << "--old-branch" << QString::number(branch) << "--branch" << QString::number(branch);
  if (step.command == QLatin1String("accounts")) {
    arguments << "--v1-folder" << folder_.filePath("accounts") << "--v1-file"
              << "ACC2003.MDB";
    if (step.kind == QLatin1String("journal")) arguments << "--journal";
  } else {
    arguments << "--v1-folder" << folder_.filePath("stock") << "--kind" << step.kind;
    arguments << QStringLiteral(
                     "--cashier 120101 --customers-account 1203 --providers-account 21 "
                     "--customer-accounts --provider-accounts --classification classes")
                     .split(' ');
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
  // Each fault with the query of the rows that show it.
  std::vector<std::pair<QString, QString>> checks;
  for (const char* document :
       {"SaleInvoice SInvSData InvoiceID InvoiceNo", "BuyInvoice BInvData InvoiceID InvoiceNo",
        "RSaleInvoice RSInvSData InvoiceID InvoiceNo", "RBuyInvoice RBInvData InvoiceID InvoiceNo",
        "Gaid GaidDetails GaidID GaidNo", "Receipt ReceiptDetails ReceiptID ReceiptNo",
        "Payment PaymentDetails PaymentID PaymentNo"}) {
    const QStringList w = QString::fromLatin1(document).split(' ');
    checks.emplace_back(w[0] + " without lines",
                        QString("SELECT h.BranchID, h.%4 FROM %1 h WHERE NOT EXISTS (SELECT 1 FROM "
                                "%2 l WHERE l.%3 = h.ID)")
                            .arg(w[0], w[1], w[2], w[3]));
    checks.emplace_back(w[1] + " without header",
                        QString("SELECT l.ID FROM %2 l WHERE NOT EXISTS (SELECT 1 FROM %1 h WHERE "
                                "h.ID = l.%3)")
                            .arg(w[0], w[1], w[2]));
  }
  checks.emplace_back("customer balance without its invoices",
                      "SELECT c.BranchID, c.fNo, c.Debit FROM Customer c WHERE ABS(c.Debit - "
                      "(SELECT COALESCE(SUM(s.Net), 0) FROM SaleInvoice s WHERE s.CustomerID = "
                      "c.ID AND s.Payment = 1)) > 0.001");
  checks.emplace_back("Haves without its children",
                      "SELECT p.BranchID, p.AccNo, p.Haves FROM CardAcc p WHERE p.Haves <> "
                      "(SELECT COUNT(*) FROM CardAcc c WHERE c.BranchID = p.BranchID AND "
                      "c.ffather = p.AccNo)");
  for (const QString party : {"Customer", "Provider"}) {
    checks.emplace_back(party + " without its account",
                        QString("SELECT p.BranchID, p.fNo FROM %1 p WHERE p.AccNoID <> 0 AND NOT "
                                "EXISTS (SELECT 1 FROM CardAcc a WHERE a.ID = p.AccNoID)")
                            .arg(party));
  }
  checks.emplace_back("lock held", "SELECT TableName FROM LockTables WHERE fLocked = TRUE");
  Connection connection;
  connection.open(database);
  QStringList faults;
  for (const auto& [label, sql] : checks)
    for (const QString& row : RowTexts(sql, {}, connection)) faults << label + ": " + row;
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
