#include "tests/posting/PostingTest.h"

#include "host/Version2Database.h"
#include "host/forms/Windows.h"
#include "tests/support/GridLines.h"

namespace qalvoro::test {

void PostingTest::SetUp() {
  HostTest::SetUp();
  openLanguage();
  globals().MsgBoxRtlFlags = 0x180000;
  globals().DecimalFormat = QStringLiteral("0.00");
  database_ = std::make_unique<TestDatabase>(engine());
  // SQLite: a file beside the empty one the test database made.
  const QString target = database_->connectionString() + (engine() == Engine::SQLite ? ".v2" : "");
  createVersion2Database(target, false);
  globals().MainConnection = std::make_unique<Connection>();
  globals().MainConnection->open(target);
  Connection& db = MainConnection();
  db.execute("INSERT INTO Branch (AName, EName) VALUES (?, ?)",
             {QStringLiteral("الفرع الرئيسي"), "Main"});
  db.execute("INSERT INTO Unit (AName, EName) VALUES (?, ?)", {QStringLiteral("حبة"), "Piece"});
  db.execute(
      "INSERT INTO Category (BranchID, CategoryNo, AName, EName, U1, SPriceU1, CostPrice) "
      "VALUES (1, 'A1', ?, 'Pen', 1, 50, 30)",
      {QStringLiteral("قلم")});
  db.execute(
      "INSERT INTO Category (BranchID, CategoryNo, AName, EName, U1, SPriceU1, CostPrice) "
      "VALUES (1, 'B2', ?, 'Book', 1, 25, 20)",
      {QStringLiteral("كتاب")});
  db.execute("INSERT INTO Customer (BranchID, fNo, AName, Debit) VALUES (1, 7, ?, 100)",
             {QStringLiteral("عميل")});
  db.execute("INSERT INTO Provider (BranchID, fNo, AName) VALUES (1, 9, ?)",
             {QStringLiteral("مورد")});
  itemA = scalar("SELECT CategoryID FROM Category WHERE CategoryNo = 'A1'").toInt();
  itemB = scalar("SELECT CategoryID FROM Category WHERE CategoryNo = 'B2'").toInt();
  customer = scalar("SELECT ID FROM Customer").toInt();
  provider = scalar("SELECT ID FROM Provider").toInt();
}

void PostingTest::TearDown() {
  windows().clear();
  globals().MainConnection.reset();
  database_.reset();
  HostTest::TearDown();
}

void PostingTest::addLine(InvoiceWindow& window, int categoryId, const QString& quantity,
                          const QString& price, const QString& nameAndDescription) {
  AppendGridLine(*window.Grid1,
                 {QStringLiteral("A1"), nameAndDescription, quantity, price, categoryId, "30"});
  window.Totals();
}

bool PostingTest::lockHeld(const QString& name) {
  return scalar("SELECT fLocked FROM LockTables WHERE TableName = ?", {name}).toBool();
}

}  // namespace qalvoro::test
