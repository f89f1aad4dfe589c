#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <vector>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/db/Recordset.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "tests/host/HostTest.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {

// A day (and time) of 2003.
inline QDateTime on(int month, int day, QTime time = QTime(0, 0)) {
  return QDateTime(QDate(2003, month, day), time);
}

// Version-1 rows of the stock file.
struct ItemRow {
  QString number;
  QVariant description = QStringLiteral("صنف");
  QVariant classification = QStringLiteral("مواد غذائية");
  int branch = 1;
  QVariant available = 10.0, ordered = 2.0, counted = 8.0, reorder = 3.0;
  double cost = 5.5, retailRate = 25, wholesaleRate = 10;
  double retail = 6.875, lowest = 5.775, wholesale = 6.05;
};

// A customer or provider.
struct PartyRow {
  int number = 0;
  QVariant name = QStringLiteral("طرف");
  int branch = 1;
  QVariant person = QStringLiteral("سعيد"), address = QStringLiteral("الرياض");
  QVariant phone = QStringLiteral("01-4224484"), fax = QStringLiteral("01-4605915");
};

struct LineRow {
  QString item;
  QVariant quantity = 1.0;
  double price = 10;
  QVariant description = QStringLiteral("سطر");
};

// An invoice or a return (invoice: the invoice it returns).
struct DocumentRow {
  int number = 0;
  QDateTime date;
  int branch = 1, party = 1;
  QString partyName = QStringLiteral("طرف");
  bool cash = true;
  double total = 10, discount = 0, net = 10;
  QVariant note = {};
  std::vector<LineRow> lines = {};
  int invoice = 0;
};

// The cost of an item sold on a sales invoice.
struct CostRow {
  int invoice = 0;
  QString item;
  double cost = 0;
  int branch = 1;
};

// A voucher: by default a cash payment of 100 to customer 1.
struct VoucherRow {
  int number = 0;
  QDateTime date = QDateTime(QDate(2003, 3, 1), QTime());
  int branch = 1;
  int kind = 0;       // 0 payment, any other receipt
  int partyKind = 0;  // 0 customer, any other provider
  int party = 1;
  QVariant name = QStringLiteral("طرف");
  double amount = 100;
  int cheque = 0;
  QVariant chequeNo = {}, chequeDate = {};  // a QDateTime or Null
  QVariant against = QStringLiteral("سداد");
};

struct StockRows {
  std::vector<ItemRow> items;
  std::vector<PartyRow> customers, providers;
  std::vector<DocumentRow> sales, purchases;
  std::vector<VoucherRow> vouchers;
  std::vector<DocumentRow> salesReturns, purchaseReturns;
  std::vector<CostRow> costs;
};

// The catalogue window on a stock file written for the test and the demo
// version-2 database (branches 1 and 2, parents 1203 and 21, cash boxes).
class CatalogueTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes Stock001.mdb with these rows (branches 1 and 2) into folder().
  void writeStockFile(const StockRows& rows);
  // Loads the window, opens the file, chooses the version-1 branch and tab.
  FrmCat_Restore& openWindow(int version1Branch = 1, int tab = kItemsTab);
  QString folder() const { return folder_; }
  QString version2Path() const;
  virtual Engine version2Engine() const { return Engine::SQLite; }

  // Closes and opens the file again, on the branch and tab.
  FrmCat_Restore& reopen(FrmCat_Restore& window, int tab, int version1Branch = 1);
  // The overwrite prompt's next answer.
  void answer(QPushButton* FrmOverWrite::*button);

  // Rows of a version-1 table of branch 1 still in the working copy.
  int rowsLeft(const QString& table);
  int locksHeld() { return count("SELECT COUNT(*) FROM LockTables WHERE fLocked = TRUE"); }

  // qalvoro-host on branch 1 of both versions: its exit code and output.
  std::pair<int, QString> runOnBranch1(const QStringList& arguments);
  // The JSON report a run wrote to reportPath().
  QString reportPath() const { return appPath() + "report.json"; }
  QJsonObject readReport();

 private:
  QString folder_;
  std::unique_ptr<TestDatabase> server_;  // a PostgreSQL version-2 database
};

// A catalogue test (of Fixture) run on each engine.
template <class Fixture = CatalogueTest>
class OnEngines : public Fixture, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return this->GetParam(); }
};
using CatalogueEngineTest = OnEngines<>;

}  // namespace qalvoro::test
