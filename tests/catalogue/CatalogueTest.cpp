#include "tests/catalogue/CatalogueTest.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include "host/Version2Database.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Schema.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

namespace mw = mdbwriter;
namespace v1 = mdbwriter::v1;

mw::Value optional(const QVariant& value) {
  if (value.isNull()) return {};
  if (value.typeId() == QMetaType::Double) return mw::Value::real(value.toDouble());
  if (value.typeId() == QMetaType::QDateTime) return mw::Value::dateTime(value.toDateTime());
  return mw::Value::text(value.toString());
}
mw::Value money(double amount) { return mw::Value::currency(mw::Currency::fromDouble(amount)); }
mw::Value integer(int value) { return mw::Value::integer(value); }
mw::TableWriter& table(mw::JetDatabaseWriter& file, const v1::TableSpec& spec) {
  return file.addTable(spec.name, spec.columns);
}

void writeParties(mw::JetDatabaseWriter& file, const v1::TableSpec& spec,
                  const std::vector<PartyRow>& parties) {
  auto& rows = table(file, spec);
  for (const PartyRow& party : parties) {
    rows.addRow({integer(party.branch), integer(party.number), optional(party.name),
                 optional(party.person), optional(party.address), optional(party.phone),
                 optional(party.fax)});
  }
}

// The headers of invoices (or returns) and their lines.
void writeDocuments(mw::JetDatabaseWriter& file, const v1::TableSpec& headers,
                    const v1::TableSpec& lines, const std::vector<DocumentRow>& documents,
                    bool returns) {
  auto& headerRows = table(file, headers);
  for (const DocumentRow& document : documents) {
    const mw::Value date = mw::Value::dateTime(document.date);
    headerRows.addRow({integer(document.branch), integer(document.number),
                       returns ? integer(document.invoice) : date, date, integer(document.party),
                       mw::Value::text(document.partyName), mw::Value::boolean(document.cash),
                       money(document.total), money(document.discount), money(document.net),
                       optional(document.note)});
  }
  auto& lineRows = table(file, lines);
  for (const DocumentRow& document : documents) {
    for (const LineRow& line : document.lines) {
      std::vector<mw::Value> row = {integer(document.branch),   integer(document.number),
                                    mw::Value::text(line.item), optional(line.description),
                                    optional(line.quantity),    money(line.price)};
      if (returns) row.insert(row.begin() + 2, integer(document.invoice));
      lineRows.addRow(std::move(row));
    }
  }
}

}  // namespace

void CatalogueTest::SetUp() {
  HostTest::SetUp();
  openLanguage();
  globals().MsgBoxRtlFlags = 0x180000;
  globals().AppPath = appPath();
  qputenv("QALVORO_WORKING_COPY", (appPath() + "work/tmp_44d2.tmp").toLocal8Bit());
  if (version2Engine() == Engine::PostgreSQL)
    server_ = std::make_unique<TestDatabase>(Engine::PostgreSQL);
  if (server_) createVersion2Database(version2Path(), true);
  globals().MainConnection = std::make_unique<Connection>();
  globals().MainConnection->open(version2Path(), "sa", DbPassword);
  folder_ = appPath() + "v1";
  QDir().mkpath(folder_);
}

void CatalogueTest::TearDown() {
  windows().clear();
  globals().MainConnection.reset();
  globals().AppPath.clear();
  qunsetenv("QALVORO_WORKING_COPY");
  HostTest::TearDown();
}

QString CatalogueTest::version2Path() const {
  return server_ ? server_->connectionString() : databasePath();
}

void CatalogueTest::writeStockFile(const StockRows& rows) {
  mw::JetDatabaseWriter file(QDir(folder_).filePath("Stock001.mdb"));
  auto& branches = table(file, v1::stockBranchTable());
  branches.addRow({mw::Value::text(QStringLiteral("المستودع الرئيسي")), integer(1)});
  branches.addRow({mw::Value::text(QStringLiteral("معرض الخبر")), integer(2)});
  auto& items = table(file, v1::itemTable());
  for (const ItemRow& item : rows.items) {
    items.addRow({integer(item.branch), mw::Value::text(item.number), optional(item.description),
                  optional(item.available), optional(item.ordered), optional(item.counted),
                  optional(item.reorder), money(item.cost), mw::Value::real(item.retailRate),
                  mw::Value::real(item.wholesaleRate), money(item.retail), money(item.lowest),
                  money(item.wholesale), optional(item.classification)});
  }
  writeParties(file, v1::customerTable(), rows.customers);
  writeParties(file, v1::providerTable(), rows.providers);
  writeDocuments(file, v1::salesInvoiceTable(), v1::salesLineTable(), rows.sales, false);
  writeDocuments(file, v1::purchaseInvoiceTable(), v1::purchaseLineTable(), rows.purchases, false);
  writeDocuments(file, v1::salesReturnTable(), v1::salesReturnLineTable(), rows.salesReturns, true);
  writeDocuments(file, v1::purchaseReturnTable(), v1::purchaseReturnLineTable(),
                 rows.purchaseReturns, true);
  auto& costs = table(file, v1::salesCostTable());
  for (const CostRow& cost : rows.costs) {
    costs.addRow({integer(cost.branch), integer(cost.invoice), mw::Value::text(cost.item),
                  money(cost.cost)});
  }
  auto& vouchers = table(file, v1::voucherTable());
  for (const VoucherRow& voucher : rows.vouchers) {
    vouchers.addRow(
        {integer(voucher.branch), integer(voucher.number), mw::Value::dateTime(voucher.date),
         integer(voucher.kind), integer(voucher.partyKind), integer(voucher.party),
         mw::Value::text(voucher.partyKind == 0 ? QStringLiteral("عميل") : QStringLiteral("مورد")),
         optional(voucher.name), money(voucher.amount), integer(voucher.cheque),
         optional(voucher.chequeNo), optional(voucher.chequeDate), optional(voucher.against)});
  }
  file.close();
}

FrmCat_Restore& CatalogueTest::openWindow(int version1Branch, int tab) {
  auto& window = windows().get<FrmCat_Restore>();
  window.load();
  window.txtOldDBFile->setText(QDir(folder_).filePath("STOCK001.MDB"));
  window.CmdOpenOldDB->click();
  EXPECT_TRUE(window.source().isOpen()) << user().messageTexts().join('|').toStdString();
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(version1Branch));
  window.SSTab1->setCurrentTab(tab);
  return window;
}

FrmCat_Restore& CatalogueTest::reopen(FrmCat_Restore& window, int tab, int version1Branch) {
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(version1Branch));
  window.SSTab1->setCurrentTab(kItemsTab);
  window.SSTab1->setCurrentTab(tab);
  return window;
}

void CatalogueTest::answer(QPushButton* FrmOverWrite::*button) {
  user().queueWindow(
      [button](QWidget& prompt) { (static_cast<FrmOverWrite&>(prompt).*button)->click(); });
}

int CatalogueTest::rowsLeft(const QString& table) {
  Connection copy;
  copy.open(appPath() + "work/tmp_44d2.tmp");
  return copy.firstRow("SELECT COUNT(*) FROM " + table + " WHERE رقم_الفرع = 1")->value(0).toInt();
}

std::pair<int, QString> CatalogueTest::runOnBranch1(const QStringList& arguments) {
  return runHost(arguments + QStringList{"--app-path", appPath(), "--settings", "Batch", "--db",
                                         version2Path(), "--old-branch", "1", "--branch", "1"});
}

QJsonObject CatalogueTest::readReport() {
  QFile file(reportPath());
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QJsonDocument::fromJson(file.readAll()).object();
}

}  // namespace qalvoro::test
