#include <QStringList>

#include "tests/db/EngineTest.h"

namespace qalvoro::test {
namespace {

class RecordsetTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    exec("CREATE TABLE Invoice (" + autoId() + ", BranchID INTEGER, InvoiceNo " +
         (postgres() ? "DOUBLE PRECISION" : "REAL") +
         ", Customer TEXT, Net NUMERIC DEFAULT 0, Paid " + yesNo() + ")");
  }

  void add(int branch, double number, const QVariant& customer, double net = 0) {
    exec("INSERT INTO Invoice (BranchID, InvoiceNo, Customer, Net) VALUES (?, ?, ?, ?)",
         {branch, number, customer, net});
  }

  // The values of one field from the first row on, as text; the cursor ends
  // at EOF.
  static QString column(Recordset& rows, const QString& field) {
    QStringList values;
    if (rows.recordCount() > 0) rows.moveFirst();
    for (; !rows.eof(); rows.moveNext()) {
      values << (rows.isNull(field) ? QStringLiteral("<null>") : rows.text(field));
    }
    return values.join(',');
  }
};

TEST_P(RecordsetTest, CursorFollowsTheClassicRules) {
  Recordset rows;
  rows.open("SELECT ID, InvoiceNo, Customer FROM Invoice", connection_);
  EXPECT_TRUE(rows.bof() && rows.eof());
  EXPECT_EQ(rows.recordCount(), 0);
  EXPECT_EQ(errorOf([&] { rows.moveFirst(); }), dberr::kNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rows.moveNext(); }), dberr::kNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rows.value("Customer"); }), dberr::kNoCurrentRecord);

  add(1, 10, "a");
  add(1, 20, "b");
  add(1, 30, "c");
  rows.requery();
  EXPECT_EQ(rows.recordCount(), 3);
  EXPECT_EQ(rows.absolutePosition(), 1);
  EXPECT_EQ(rows.fieldNames(), (QStringList{"ID", "InvoiceNo", "Customer"}));
  EXPECT_EQ(rows.text("customer"), "a") << "names match without regard to case";
  EXPECT_EQ(errorOf([&] { rows.value("Nope"); }), dberr::kItemNotFound);

  rows.moveLast();
  EXPECT_EQ(rows.absolutePosition(), 3);
  rows.moveNext();
  EXPECT_TRUE(rows.eof());
  EXPECT_FALSE(rows.bof());
  EXPECT_EQ(rows.absolutePosition(), -3);
  EXPECT_EQ(errorOf([&] { rows.moveNext(); }), dberr::kNoCurrentRecord);
  rows.movePrevious();
  EXPECT_EQ(rows.text("Customer"), "c");
  rows.moveFirst();
  rows.movePrevious();
  EXPECT_TRUE(rows.bof());
  EXPECT_EQ(rows.absolutePosition(), -2);
  EXPECT_EQ(errorOf([&] { rows.movePrevious(); }), dberr::kNoCurrentRecord);
  rows.moveNext();
  EXPECT_EQ(rows.text("Customer"), "a");
  rows.setAbsolutePosition(2);
  EXPECT_EQ(rows.text("Customer"), "b");
  EXPECT_EQ(errorOf([&] { rows.setAbsolutePosition(4); }), dberr::kBadCriterion);

  rows.close();
  EXPECT_EQ(rows.state(), 0);
  EXPECT_EQ(errorOf([&] { rows.eof(); }), dberr::kObjectClosed);
}

TEST_P(RecordsetTest, NullEmptyAndQuotedTextRoundTrip) {
  Recordset table;
  table.open("Invoice", connection_, LockType::Optimistic);
  const QString quoted = QStringLiteral("O'Brien \"the elder\" ; --");
  for (const QVariant& customer :
       {QVariant(), QVariant(QString("")), QVariant(QString()), QVariant(quoted)}) {
    table.addNew();
    table.setValue("BranchID", 1);
    table.setValue("Customer", customer);
    table.update();
  }
  Recordset read;
  read.open("SELECT Customer FROM Invoice ORDER BY ID", connection_);
  EXPECT_EQ(column(read, "Customer"), "<null>,,," + quoted);
  EXPECT_TRUE(read.findFirst("Customer = 'o''brien \"THE elder\" ; --'"));
  EXPECT_TRUE(read.findFirst("Customer = ''"));
  EXPECT_EQ(read.absolutePosition(), 2);
  EXPECT_TRUE(read.findFirst("Customer Is Null"));
  EXPECT_EQ(read.absolutePosition(), 1);
  EXPECT_TRUE(read.findEqual("Customer", quoted));
  EXPECT_EQ(read.absolutePosition(), 4);
}

TEST_P(RecordsetTest, AddNewGetsItsAutonumberAndDefaults) {
  add(1, 5, "first");
  Recordset invoices;
  invoices.open("SELECT * FROM Invoice WHERE BranchID = ? ORDER BY InvoiceNo DESC", connection_,
                LockType::Optimistic, {1});
  invoices.addNew();
  EXPECT_FALSE(invoices.eof());
  invoices.setValue("BranchID", 1);
  invoices.setValue("InvoiceNo", "7");  // converted to the column's type
  invoices.setValue("Customer", "second");
  invoices.update();
  EXPECT_EQ(invoices.value("ID").toInt(), 2);
  EXPECT_EQ(invoices.value("Net").toDouble(), 0.0);
  EXPECT_FALSE(invoices.value("Paid").toBool());
  EXPECT_EQ(invoices.absolutePosition(), 2) << "new rows stay at the end until requery";

  invoices.requery();
  EXPECT_EQ(column(invoices, "Customer"), "second,first");
  invoices.requery();
  ASSERT_TRUE(invoices.find("InvoiceNo=7"));
  EXPECT_EQ(invoices.value("ID").toInt(), 2);

  invoices.addNew();
  invoices.setValue("InvoiceNo", 9);
  invoices.cancelUpdate();
  EXPECT_EQ(invoices.value("ID").toInt(), 2) << "cancel returns to the row before addNew";
  EXPECT_EQ(invoices.recordCount(), 2);
}

TEST_P(RecordsetTest, ATableKeyedOtherwiseThanIdIsWritable) {
  QString key = autoId();
  exec("CREATE TABLE Category (" + key.replace("ID ", "CategoryID ") + ", CategoryNo TEXT)");
  Recordset items;
  items.open("SELECT * FROM Category ORDER BY CategoryNo", connection_, LockType::Optimistic);
  items.addNew();
  items.setValue("CategoryNo", "B");
  items.update();
  EXPECT_EQ(items.value("CategoryID").toInt(), 1);
  exec("INSERT INTO Category (CategoryNo) VALUES ('A')");
  items.requery();
  EXPECT_EQ(column(items, "CategoryNo"), "A,B");
  items.moveLast();
  items.deleteCurrent();
  items.requery();
  EXPECT_EQ(column(items, "CategoryID"), "2");
}

TEST_P(RecordsetTest, EditsAreWrittenByUpdateOrByMovingOn) {
  add(1, 1, "a");
  add(1, 2, "b");
  Recordset invoices;
  invoices.open("SELECT * FROM Invoice ORDER BY InvoiceNo", connection_, LockType::Optimistic);
  invoices.setValue("Customer", "changed");
  invoices.setValue("Paid", 1);  // a yes/no column takes numbers and text
  EXPECT_EQ(invoices.text("Customer"), "changed");
  invoices.moveNext();
  invoices.setValue("Paid", "True");
  invoices.setValue("Net", 12.25);
  invoices.cancelUpdate();
  invoices.setValue("Customer", "also");
  invoices.update();
  EXPECT_EQ(errorOf([&] { invoices.setValue("Net", "lots"); }), dberr::kTypeMismatch);

  Recordset check;
  check.open("SELECT Customer, Paid, Net FROM Invoice ORDER BY InvoiceNo", connection_);
  EXPECT_EQ(check.text("Customer"), "changed");
  EXPECT_TRUE(check.value("Paid").toBool());
  check.moveNext();
  EXPECT_EQ(check.text("Customer"), "also");
  EXPECT_FALSE(check.value("Paid").toBool());
  EXPECT_EQ(check.value("Net").toDouble(), 0.0);

  EXPECT_EQ(errorOf([&] { check.setValue("Customer", "x"); }), dberr::kNotUpdatable);
  EXPECT_EQ(errorOf([&] { check.deleteCurrent(); }), dberr::kNotUpdatable);
  Recordset joined;
  joined.open("SELECT a.ID, b.Customer FROM Invoice a JOIN Invoice b ON a.ID = b.ID", connection_,
              LockType::Optimistic);
  EXPECT_EQ(errorOf([&] { joined.addNew(); }), dberr::kNotUpdatable);
}

TEST_P(RecordsetTest, MovingOnWritesAnAddedRowAndRequeryDropsRolledBackRows) {
  add(1, 1, "kept");
  Recordset rows;
  rows.open("SELECT * FROM Invoice WHERE BranchID = 1", connection_, LockType::Optimistic);
  rows.addNew();
  rows.setValue("BranchID", 1);
  rows.setValue("Customer", "implied");
  rows.moveFirst();  // writes the new row
  EXPECT_EQ(rows.recordCount(), 2);
  {
    Transaction transaction(connection_);
    rows.addNew();
    rows.setValue("BranchID", 1);
    rows.setValue("Customer", "rolled back");
    rows.update();
    EXPECT_EQ(rows.recordCount(), 3);
  }
  rows.requery();
  Recordset fresh;
  fresh.open("SELECT Customer FROM Invoice ORDER BY ID", connection_);
  EXPECT_EQ(column(fresh, "Customer"), "kept,implied");
  EXPECT_EQ(column(rows, "Customer"), "kept,implied");
}

TEST_P(RecordsetTest, DeletedRowStaysCurrentUntilTheCursorMoves) {
  add(1, 1, "a");
  add(1, 2, "b");
  add(1, 3, "c");
  Recordset rows;
  rows.open("SELECT * FROM Invoice ORDER BY InvoiceNo", connection_, LockType::Optimistic);
  rows.moveNext();
  rows.deleteCurrent();
  EXPECT_EQ(errorOf([&] { rows.value("Customer"); }), dberr::kNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rows.deleteCurrent(); }), dberr::kNoCurrentRecord);
  EXPECT_FALSE(rows.bof() || rows.eof());
  EXPECT_EQ(rows.absolutePosition(), -1);
  EXPECT_EQ(rows.recordCount(), 2);
  rows.moveNext();
  EXPECT_EQ(rows.text("Customer"), "c");
  rows.deleteCurrent();
  rows.movePrevious();
  EXPECT_EQ(rows.text("Customer"), "a");
  rows.deleteCurrent();
  EXPECT_FALSE(rows.bof() || rows.eof()) << "until the cursor moves";
  rows.moveNext();
  EXPECT_TRUE(rows.bof() && rows.eof());

  Recordset fresh;
  fresh.open("Invoice", connection_);
  EXPECT_EQ(fresh.recordCount(), 0);
}

// The import loops of the restore windows: take the first row, delete it,
// requery, move last and first, until no row is left.
TEST_P(RecordsetTest, DeleteAndRequeryLoopVisitsEveryRowOnce) {
  for (int i = 1; i <= 40; ++i) add(i % 3, i, QStringLiteral("c%1").arg(i));
  Recordset source;
  source.open("SELECT * FROM Invoice WHERE BranchID <> ? ORDER BY InvoiceNo", connection_,
              LockType::Optimistic, {0});
  QStringList seen;
  while (!source.eof()) {
    seen << source.text("Customer");
    source.deleteCurrent();
    source.requery();
    if (source.recordCount() == 0) break;
    source.moveLast();
    source.moveFirst();
  }
  EXPECT_EQ(seen.size(), 27);
  EXPECT_EQ(seen.first(), "c1");
  EXPECT_EQ(seen.last(), "c40");
  Recordset left;
  left.open("Invoice", connection_);
  EXPECT_EQ(left.recordCount(), 13);
}

TEST_P(RecordsetTest, RequeryBringsInRowsWrittenThroughTheConnection) {
  add(1, 10, "Ten");
  add(1, 30, "thirty");
  add(2, 20, "other branch");
  const QString query = "SELECT * FROM Invoice WHERE BranchID = ? ORDER BY Customer, InvoiceNo";
  Recordset watched;
  watched.open(query, connection_, LockType::Optimistic, {1});
  Recordset writer;
  writer.open("Invoice", connection_, LockType::Optimistic);

  add(1, 40, "forty");
  add(1, 5, QVariant());
  add(2, 50, "elsewhere");
  exec("UPDATE Invoice SET Customer = 'a first' WHERE InvoiceNo = 30");
  exec("UPDATE Invoice SET BranchID = 1 WHERE InvoiceNo = 20");
  writer.addNew();
  writer.setValue("BranchID", 1);
  writer.setValue("InvoiceNo", 60);
  writer.setValue("Customer", "Sixty");
  writer.update();
  ASSERT_TRUE(writer.findFirst("InvoiceNo = 10"));
  writer.deleteCurrent();

  Connection other;  // changes through another connection are not journaled here
  database_->open(other);
  other.execute("INSERT INTO Invoice (BranchID, InvoiceNo, Customer) VALUES (1, 70, 'unseen')");

  watched.requery();
  EXPECT_EQ(watched.absolutePosition(), 1);
  EXPECT_EQ(column(watched, "Customer"), postgres() ? "Sixty,a first,forty,other branch,<null>"
                                                    : "<null>,Sixty,a first,forty,other branch");
  Recordset fresh;
  fresh.open(query, connection_, LockType::ReadOnly, {1});
  EXPECT_EQ(column(fresh, "Customer"), postgres()
                                           ? "Sixty,a first,forty,other branch,unseen,<null>"
                                           : "<null>,Sixty,a first,forty,other branch,unseen")
      << "a fresh read sees the other connection's row too";

  Recordset joined;
  joined.open(
      "SELECT i.Customer FROM Invoice i JOIN Invoice j ON i.ID = j.ID "
      "WHERE i.BranchID = 1 ORDER BY i.InvoiceNo",
      connection_);
  EXPECT_EQ(joined.recordCount(), 6);
  other.execute("DELETE FROM Invoice WHERE InvoiceNo = 70");
  joined.requery();
  EXPECT_EQ(joined.recordCount(), 5) << "joins are read again in full";
}

TEST_P(RecordsetTest, FiltersSortsAndFinds) {
  add(1, 1, "Beta", 10);
  add(1, 2, "alpha", 5);
  add(2, 3, "O'Neil", 7);
  add(1, 4, "beta", 1);
  Recordset rows;
  rows.open("SELECT * FROM Invoice ORDER BY InvoiceNo", connection_, LockType::Optimistic);

  rows.setFilter("BranchID = 1 AND Net > 4");
  EXPECT_EQ(column(rows, "Customer"), "Beta,alpha");
  rows.setFilterEqual("Customer", "BETA");
  EXPECT_EQ(rows.recordCount(), 2);
  EXPECT_EQ(rows.text("InvoiceNo"), "1");
  rows.setFilterEqual("Customer", "o'neil");
  EXPECT_EQ(rows.recordCount(), 1);
  rows.setFilterEqual("Customer", "nobody");
  EXPECT_TRUE(rows.eof() && rows.bof());
  rows.addNew();
  rows.setValue("Customer", "nobody");
  rows.update();
  EXPECT_EQ(rows.recordCount(), 1) << "an added row shows under the filter";
  rows.clearFilter();
  EXPECT_EQ(rows.recordCount(), 5);
  EXPECT_EQ(errorOf([&] { rows.setFilter("Net >"); }), dberr::kBadCriterion);

  rows.setSort("Customer DESC, InvoiceNo");
  EXPECT_EQ(column(rows, "Customer"), "O'Neil,nobody,Beta,beta,alpha");
  rows.setSort("");
  EXPECT_EQ(column(rows, "InvoiceNo"), postgres() ? "1,2,3,4,<null>" : "<null>,1,2,3,4");

  rows.moveFirst();
  EXPECT_TRUE(rows.find("Customer = 'beta'"));
  EXPECT_EQ(rows.text("InvoiceNo"), "1");
  EXPECT_TRUE(rows.find("Customer = 'beta'")) << "the current row counts";
  EXPECT_EQ(rows.text("InvoiceNo"), "1");
  rows.moveNext();
  EXPECT_TRUE(rows.findEqual("customer", "BETA"));
  EXPECT_EQ(rows.text("InvoiceNo"), "4");
  EXPECT_FALSE(rows.find("Customer = 'alpha'"));
  EXPECT_TRUE(rows.eof());
  EXPECT_TRUE(rows.findFirst("Net < 6 AND Customer LIKE 'a*'"));
  EXPECT_EQ(rows.text("InvoiceNo"), "2");
  EXPECT_FALSE(rows.findFirst("InvoiceNo = 99"));
  EXPECT_TRUE(rows.noMatch());
  EXPECT_EQ(rows.text("InvoiceNo"), "2") << "no match keeps the cursor";
  EXPECT_TRUE(rows.findEqual("InvoiceNo", "3"));
  EXPECT_TRUE(rows.findFirst("InvoiceNo = '4'"));
  EXPECT_EQ(errorOf([&] { rows.find("Nope = 1"); }), dberr::kItemNotFound);
}

TEST_P(RecordsetTest, GetStringReadsToTheEnd) {
  add(1, 1, "a", 1.5);
  add(1, 2, QVariant(), 2);
  add(1, 3, "c", 3);
  Recordset rows;
  rows.open("SELECT InvoiceNo, Customer, Net FROM Invoice ORDER BY InvoiceNo", connection_);
  rows.moveNext();
  EXPECT_EQ(rows.getString("|", "\n", "-"), "2|-|2\n3|c|3\n");
  EXPECT_TRUE(rows.eof());
  EXPECT_EQ(rows.getString("|", "\n", "-"), "");
  Recordset ids;
  ids.open("SELECT InvoiceNo FROM Invoice ORDER BY InvoiceNo", connection_);
  EXPECT_EQ(ids.getString("','", "','", "0"), "1','2','3','");
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
