#include <random>

#include "tests/db/EngineTest.h"

namespace qalvoro::test {
namespace {

// Random writes through the connection and through another recordset; after
// each round an incremental requery must show exactly what a fresh read of
// the same query shows.
class RequeryTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    exec("CREATE TABLE Item (" + autoId() + ", Grp INTEGER, Name TEXT, Qty INTEGER)");
  }

  QVariant randomName() {
    static const char* names[] = {"apple", "Apple", "banana", "Cherry", "_x", "10", "9", ""};
    const unsigned pick = random_() % 9;
    return pick == 8 ? QVariant() : QVariant(QString::fromUtf8(names[pick]));
  }
  QVariant randomQty() { return random_() % 5 == 0 ? QVariant() : QVariant(int(random_() % 6)); }

  void randomWrite(Recordset& writer) {
    switch (random_() % 6) {
      case 0:
      case 1:
        exec("INSERT INTO Item (Grp, Name, Qty) VALUES (?, ?, ?)",
             {int(random_() % 2), randomName(), randomQty()});
        break;
      case 2:
        exec("UPDATE Item SET Name = ?, Grp = ? WHERE Qty = ?",
             {randomName(), int(random_() % 2), int(random_() % 6)});
        break;
      case 3:
        exec("DELETE FROM Item WHERE ID % 7 = ?", {int(random_() % 7)});
        break;
      case 4:
        writer.addNew();
        writer.setValue("Grp", int(random_() % 2));
        writer.setValue("Name", randomName());
        writer.setValue("Qty", randomQty());
        writer.update();
        break;
      default:
        writer.requery();  // rows deleted by the statements above cannot be written
        if (writer.recordCount() == 0) break;
        writer.setAbsolutePosition(1 + random_() % writer.recordCount());
        if (random_() % 2) {
          writer.deleteCurrent();
        } else {
          writer.setValue("Qty", randomQty());
          writer.update();
        }
    }
  }

  static QString contents(Recordset& rows) {
    if (rows.recordCount() > 0) rows.moveFirst();
    return rows.getString("|", "\n", "<null>");
  }

  std::mt19937 random_{2024};
};

TEST_P(RequeryTest, IncrementalRequeryMatchesAFreshRead) {
  const QString ordered = "SELECT * FROM Item WHERE Grp = ? ORDER BY Name DESC, Qty, ID";
  const QString unordered = "SELECT ID, Name, Qty FROM Item WHERE Qty > ?";
  Recordset byName;
  byName.open(ordered, connection_, LockType::Optimistic, {1});
  Recordset byQty;
  byQty.open(unordered, connection_, LockType::ReadOnly, {1});
  Recordset filtered;
  filtered.open("Item", connection_, LockType::Optimistic);
  filtered.setFilterEqual("Name", "apple");
  Recordset writer;
  writer.open("Item", connection_, LockType::Optimistic);

  for (int round = 0; round < 60; ++round) {
    const int writes = 1 + static_cast<int>(random_() % 4);
    for (int i = 0; i < writes; ++i) randomWrite(writer);
    byName.requery();
    byQty.requery();
    filtered.requery();

    Recordset fresh;
    fresh.open(ordered, connection_, LockType::ReadOnly, {1});
    ASSERT_EQ(contents(byName), contents(fresh)) << "round " << round;
    fresh.open(unordered + " ORDER BY ID", connection_, LockType::ReadOnly, {1});
    byQty.setSort("ID");
    ASSERT_EQ(contents(byQty), contents(fresh)) << "round " << round;
    fresh.open("SELECT * FROM Item WHERE Name = 'apple' OR Name = 'Apple' ORDER BY ID",
               connection_);
    filtered.setSort("ID");
    ASSERT_EQ(contents(filtered), contents(fresh)) << "round " << round;

    const QVariant name = randomName();
    if (name.isNull()) continue;
    Recordset same;
    same.open("SELECT ID FROM Item WHERE Grp = 1 AND LOWER(Name) = LOWER(?)", connection_,
              LockType::ReadOnly, {name});
    if (byName.recordCount() > 0) byName.moveFirst();
    EXPECT_EQ(byName.findEqual("Name", name), same.recordCount() > 0)
        << name.toString().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, RequeryTest, ::testing::ValuesIn(kEngines), EngineParamName());

}  // namespace
}  // namespace qalvoro::test
