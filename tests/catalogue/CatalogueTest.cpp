#include "tests/catalogue/CatalogueTest.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "host/Version2Database.h"
#include "host/db/Recordset.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
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
  return mw::Value::text(value.toString());
}

mw::Value money(double amount) { return mw::Value::currency(mw::Currency::fromDouble(amount)); }

void writeParties(mw::JetDatabaseWriter& file, const v1::TableSpec& spec,
                  const std::vector<PartyRow>& parties) {
  auto& table = file.addTable(spec.name, spec.columns);
  for (const PartyRow& party : parties) {
    table.addRow({mw::Value::integer(party.branch), mw::Value::integer(party.number),
                  optional(party.name), optional(party.person), optional(party.address),
                  optional(party.phone), optional(party.fax)});
  }
}

mw::Value lineQuantity(const QVariant& quantity) {
  return quantity.isNull() ? mw::Value() : mw::Value::real(quantity.toDouble());
}

// The headers of invoices (or returns) and their lines.
void writeDocuments(mw::JetDatabaseWriter& file, const v1::TableSpec& headers,
                    const v1::TableSpec& lines, const std::vector<DocumentRow>& documents,
                    bool returns) {
  auto& table = file.addTable(headers.name, headers.columns);
  for (const DocumentRow& document : documents) {
    std::vector<mw::Value> row = {mw::Value::integer(document.branch),
                                  mw::Value::integer(document.number),
                                  mw::Value::dateTime(document.date),
                                  mw::Value::dateTime(document.date),
                                  mw::Value::integer(document.party),
                                  mw::Value::text(document.partyName),
                                  mw::Value::boolean(document.cash),
                                  money(document.total),
                                  money(document.discount),
                                  money(document.net),
                                  optional(document.note)};
    if (returns) row[2] = mw::Value::integer(document.invoice);
    table.addRow(std::move(row));
  }
  auto& lineRows = file.addTable(lines.name, lines.columns);
  for (const DocumentRow& document : documents) {
    for (const LineRow& line : document.lines) {
      std::vector<mw::Value> row = {
          mw::Value::integer(document.branch), mw::Value::integer(document.number),
          mw::Value::text(line.item),          optional(line.description),
          lineQuantity(line.quantity),         money(line.price)};
      if (returns) row.insert(row.begin() + 2, mw::Value::integer(document.invoice));
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
  auto& branches = file.addTable(v1::stockBranchTable().name, v1::stockBranchTable().columns);
  branches.addRow({mw::Value::text(QStringLiteral("المستودع الرئيسي")), mw::Value::integer(1)});
  branches.addRow({mw::Value::text(QStringLiteral("معرض الخبر")), mw::Value::integer(2)});
  auto& items = file.addTable(v1::itemTable().name, v1::itemTable().columns);
  for (const ItemRow& item : rows.items) {
    items.addRow({mw::Value::integer(item.branch), mw::Value::text(item.number),
                  optional(item.description), optional(item.available), optional(item.ordered),
                  optional(item.counted), optional(item.reorder), money(item.cost),
                  mw::Value::real(item.retailRate), mw::Value::real(item.wholesaleRate),
                  money(item.retail), money(item.lowest), money(item.wholesale),
                  optional(item.classification)});
  }
  writeParties(file, v1::customerTable(), rows.customers);
  writeParties(file, v1::providerTable(), rows.providers);
  writeDocuments(file, v1::salesInvoiceTable(), v1::salesLineTable(), rows.sales, false);
  writeDocuments(file, v1::purchaseInvoiceTable(), v1::purchaseLineTable(), rows.purchases, false);
  writeDocuments(file, v1::salesReturnTable(), v1::salesReturnLineTable(), rows.salesReturns, true);
  writeDocuments(file, v1::purchaseReturnTable(), v1::purchaseReturnLineTable(),
                 rows.purchaseReturns, true);
  auto& costs = file.addTable(v1::salesCostTable().name, v1::salesCostTable().columns);
  for (const CostRow& cost : rows.costs) {
    costs.addRow({mw::Value::integer(cost.branch), mw::Value::integer(cost.invoice),
                  mw::Value::text(cost.item), money(cost.cost)});
  }
  auto& vouchers = file.addTable(v1::voucherTable().name, v1::voucherTable().columns);
  for (const VoucherRow& voucher : rows.vouchers) {
    vouchers.addRow(
        {mw::Value::integer(voucher.branch), mw::Value::integer(voucher.number),
         mw::Value::dateTime(voucher.date), mw::Value::integer(voucher.kind),
         mw::Value::integer(voucher.partyKind), mw::Value::integer(voucher.party),
         mw::Value::text(voucher.partyKind == 0 ? QStringLiteral("عميل") : QStringLiteral("مورد")),
         optional(voucher.name), money(voucher.amount), mw::Value::integer(voucher.cheque),
         optional(voucher.chequeNo),
         voucher.chequeDate.isNull() ? mw::Value()
                                     : mw::Value::dateTime(voucher.chequeDate.toDateTime()),
         optional(voucher.against)});
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

int CatalogueTest::rowsLeft(FrmCat_Restore& window, const QString& table) {
  Recordset rows;
  rows.open("SELECT COUNT(*) AS n FROM " + table + " WHERE رقم_الفرع = 1",
            window.source().database());
  return rows.value("n").toInt();
}

void CatalogueTest::holdLock(const QString& name, bool held) {
  MainConnection().execute("UPDATE LockTables SET fLocked = ? WHERE TableName = ?", {held, name});
}

}  // namespace qalvoro::test
