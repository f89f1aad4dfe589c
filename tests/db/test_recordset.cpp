#include "host/db/DbError.h"
#include "host/db/Recordset.h"
#include "tests/support/RowTexts.h"
#include "tests/support/TestDatabases.h"

namespace qalvoro::test {
namespace {

class RecordsetTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    exec("CREATE TABLE Invoice (" + autoId() + ", BranchID INTEGER, InvoiceNo " +
         (postgres() ? "DOUBLE PRECISION" : "REAL") +
         ", Customer TEXT, Net NUMERIC DEFAULT 0, Paid BOOLEAN NOT NULL DEFAULT FALSE)");
  }

  void add(int branch, double number, const QVariant& customer, double net = 0) {
    exec("INSERT INTO Invoice (BranchID, InvoiceNo, Customer, Net) VALUES (?, ?, ?, ?)",
         {branch, number, customer, net});
  }

  // The values of one field from the first row on; the cursor ends at EOF.
  static QString column(Recordset& rows, const QString& field) {
    QStringList values;
    if (rows.recordCount() > 0) rows.moveFirst();
    for (; !rows.eof(); rows.moveNext()) {
      values << (rows.isNull(field) ? QStringLiteral("<null>") : rows.text(field));
    }
    return values.join(',');
  }

  // Every column of every row as a fresh read finds it, in the order of ID.
  QString stored() {
    return RowTexts("SELECT * FROM Invoice ORDER BY ID", {}, connection_).join(';');
  }
};

TEST_P(RecordsetTest, CursorFollowsTheClassicRules) {
  Recordset rows;
  rows.open("SELECT ID, InvoiceNo, Customer FROM Invoice", connection_);
  EXPECT_TRUE(rows.bof() && rows.eof());
  EXPECT_EQ(rows.recordCount(), 0);
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { rows.moveFirst(); }, [&] { rows.moveNext(); }, [&] { rows.value("Customer"); }}) {
    EXPECT_EQ(errorOf(call), dberr::kNoCurrentRecord);
  }
  for (const int number : {10, 20, 30}) add(1, number, QString(QChar('a' + number / 10 - 1)));
  rows.requery();
  EXPECT_EQ(rows.recordCount(), 3);
  EXPECT_EQ(rows.absolutePosition(), 1);
  EXPECT_EQ(rows.fieldNames(), (QStringList{"ID", "InvoiceNo", "Customer"}));
  EXPECT_EQ(rows.text("customer"), "a") << "names match without regard to case";
  EXPECT_EQ(errorOf([&] { rows.value("Nope"); }), dberr::kItemNotFound);

  rows.moveLast();
  EXPECT_EQ(rows.absolutePosition(), 3);
  rows.moveNext();
  EXPECT_TRUE(rows.eof() && !rows.bof());
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
  EXPECT_EQ(rows.getString("|", ";", "-"), "2|20|b;3|30|c;") << "from the current row to the end";
  EXPECT_TRUE(rows.eof());
  EXPECT_EQ(rows.getString("|", ";", "-"), "");

  rows.close();
  EXPECT_EQ(rows.state(), 0);
  EXPECT_EQ(errorOf([&] { rows.eof(); }), dberr::kObjectClosed);
}

TEST_P(RecordsetTest, EveryColumnWrittenByAddNewOrAnEditIsReadBack) {
  Recordset invoices;
  invoices.open("SELECT * FROM Invoice ORDER BY ID", connection_, LockType::Optimistic);
  const QString quoted = QStringLiteral("O'Brien \"the elder\" ; --");
  invoices.addNew();
  invoices.setValue("BranchID", 3);
  invoices.setValue("InvoiceNo", "7.5");  // converted to the column's type
  invoices.setValue("Customer", quoted);
  invoices.setValue("Net", 12.25);
  invoices.setValue("Paid", "True");
  invoices.update();
  EXPECT_EQ(invoices.value("ID").toInt(), 1) << "the autonumber is read back";
  invoices.addNew();
  invoices.setValue("BranchID", 4);
  invoices.setValue("Customer", "");
  invoices.moveFirst();  // writes the new row
  EXPECT_EQ(invoices.recordCount(), 2);
  invoices.addNew();
  invoices.setValue("Customer", QString());
  invoices.setValue("Paid", 1);  // yes/no takes numbers and text
  invoices.update();
  EXPECT_EQ(invoices.absolutePosition(), 3) << "new rows stay at the end until requery";
  invoices.addNew();
  invoices.setValue("InvoiceNo", 9);
  invoices.cancelUpdate();
  EXPECT_EQ(invoices.value("ID").toInt(), 3) << "cancel returns to the row before addNew";
  EXPECT_EQ(stored(), "1|3|7.5|" + quoted + "|12.25|1;2|4|null||0|0;3|null|null||0|1");

  invoices.moveFirst();
  invoices.setValue("BranchID", 5);
  invoices.setValue("InvoiceNo", 8);
  invoices.setValue("Customer", QVariant());
  invoices.setValue("Net", -1.5);
  invoices.setValue("Paid", false);
  invoices.moveNext();  // writes the edit
  invoices.setValue("Customer", "dropped");
  invoices.cancelUpdate();
  invoices.setValue("Net", 2);
  invoices.update();
  EXPECT_EQ(errorOf([&] { invoices.setValue("Net", "lots"); }), dberr::kTypeMismatch);
  EXPECT_EQ(stored(), "1|5|8|null|-1.5|0;2|4|null||2|0;3|null|null||0|1");
  {
    Transaction rolledBack(connection_);
    invoices.addNew();
    invoices.setValue("Customer", "rolled back");
    invoices.update();
    EXPECT_EQ(invoices.recordCount(), 4);
  }
  invoices.requery();
  EXPECT_EQ(column(invoices, "ID"), "1,2,3") << "requery drops rows rolled back";

  Recordset readOnly;
  readOnly.open("Invoice", connection_);
  EXPECT_EQ(errorOf([&] { readOnly.setValue("Customer", "x"); }), dberr::kNotUpdatable);
  EXPECT_EQ(errorOf([&] { readOnly.deleteCurrent(); }), dberr::kNotUpdatable);
  Recordset joined;
  joined.open("SELECT a.ID, b.Customer FROM Invoice a JOIN Invoice b ON a.ID = b.ID", connection_,
              LockType::Optimistic);
  EXPECT_EQ(errorOf([&] { joined.addNew(); }), dberr::kNotUpdatable);
}

TEST_P(RecordsetTest, DeletedRowsLeaveWhenTheCursorMovesWhateverTheKey) {
  QString key = autoId();
  exec("CREATE TABLE Category (" + key.replace("ID ", "CategoryID ") + ", CategoryNo TEXT)");
  exec("INSERT INTO Category (CategoryNo) VALUES ('b'), ('a'), ('c')");
  Recordset rows;
  rows.open("SELECT * FROM Category ORDER BY CategoryNo", connection_, LockType::Optimistic);
  rows.moveNext();
  rows.deleteCurrent();
  EXPECT_EQ(errorOf([&] { rows.value("CategoryNo"); }), dberr::kNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rows.deleteCurrent(); }), dberr::kNoCurrentRecord);
  EXPECT_FALSE(rows.bof() || rows.eof());
  EXPECT_EQ(rows.absolutePosition(), -1);
  EXPECT_EQ(rows.recordCount(), 2);
  rows.moveNext();
  EXPECT_EQ(rows.text("CategoryNo"), "c");
  rows.deleteCurrent();
  rows.movePrevious();
  EXPECT_EQ(rows.text("CategoryNo"), "a");
  rows.deleteCurrent();
  EXPECT_FALSE(rows.bof() || rows.eof()) << "until the cursor moves";
  rows.moveNext();
  EXPECT_TRUE(rows.bof() && rows.eof());
  rows.addNew();
  rows.setValue("CategoryNo", "d");
  rows.update();
  EXPECT_EQ(rows.value("CategoryID").toInt(), 4);
  Recordset fresh;
  fresh.open("Category", connection_);
  EXPECT_EQ(column(fresh, "CategoryNo"), "d");
}

// The table has no change counter: a requery brings in what this connection
// wrote, not what another one did; a join is read again in full.
TEST_P(RecordsetTest, RequeryOfATableWithoutCounterBringsInWhatTheConnectionWrote) {
  add(1, 10, "Ten");
  add(1, 30, "thirty");
  add(2, 20, "other branch");
  const QString query = "SELECT * FROM Invoice WHERE BranchID = ? ORDER BY Customer, InvoiceNo";
  Recordset watched;
  watched.open(query, connection_, LockType::Optimistic, {1});
  Recordset writer;
  writer.open("Invoice", connection_, LockType::Optimistic);
  add(1, 5, QVariant());
  exec("UPDATE Invoice SET Customer = 'a first' WHERE InvoiceNo = 30");
  exec("UPDATE Invoice SET BranchID = 1 WHERE InvoiceNo = 20");
  writer.addNew();
  writer.setValue("BranchID", 1);
  writer.setValue("Customer", "Sixty");
  writer.update();
  ASSERT_TRUE(writer.findFirst("InvoiceNo = 10"));
  writer.deleteCurrent();
  Connection other;
  database_->open(other);
  other.execute("INSERT INTO Invoice (BranchID, InvoiceNo, Customer) VALUES (1, 70, 'unseen')");

  watched.requery();
  EXPECT_EQ(watched.absolutePosition(), 1);
  EXPECT_EQ(column(watched, "Customer"),
            postgres() ? "Sixty,a first,other branch,<null>" : "<null>,Sixty,a first,other branch");
  Recordset joined;
  joined.open("SELECT i.ID FROM Invoice i JOIN Invoice j ON i.ID = j.ID WHERE i.BranchID = 1",
              connection_);
  EXPECT_EQ(joined.recordCount(), 5);
  other.execute("DELETE FROM Invoice WHERE InvoiceNo = 70");
  joined.requery();
  EXPECT_EQ(joined.recordCount(), 4);
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
  EXPECT_EQ(errorOf([&] { rows.find("Nope = 1"); }), dberr::kItemNotFound);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
