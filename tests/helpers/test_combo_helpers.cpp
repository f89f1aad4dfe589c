// Combo boxes filled from version-2 code tables, on both engines.

#include <QComboBox>

#include "host/Globals.h"
#include "host/helpers/ComboHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

class ComboHelpersTest : public HelpersTest {
 protected:
  void SetUp() override {
    HelpersTest::SetUp();
    addUnit(1, QStringLiteral("حبة"), QStringLiteral("Piece"));
    addUnit(2, QVariant(), QStringLiteral("Box"));
    addUnit(3, QStringLiteral("كرتون"), QVariant());
    addUnit(4, QStringLiteral("متر"), QStringLiteral("Metre"));
  }

  static void addUnit(int id, const QVariant& arabic, const QVariant& english) {
    MainConnection().execute("INSERT INTO Unit (ID, AName, EName) VALUES (?, ?, ?)",
                             {id, arabic, english});
  }
};

QStringList entries(const QComboBox& combo) {
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) {
    shown << combo.itemText(i) + '=' + combo.itemData(i).toString();
  }
  return shown;
}

TEST_P(ComboHelpersTest, RefillKeepsTheChosenIdAndShowsOnlyNamedRows) {
  QComboBox combo;
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({QStringLiteral("حبة=1"), QStringLiteral("كرتون=3"),
                                         QStringLiteral("متر=4")}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "nothing was chosen before";

  SelectComboByData(combo, 3);
  MainConnection().execute("DELETE FROM Unit WHERE ID = 1");
  MainConnection().execute("UPDATE Unit SET AName = ? WHERE ID = 3", {QStringLiteral("كرتونة")});
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(SelectedItemData(combo), 3);
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرتونة"));

  // Entries follow the key, whatever order the rows were written in.
  addUnit(6, QStringLiteral("لتر"), QStringLiteral("Litre"));
  addUnit(5, QStringLiteral("كيلو"), QStringLiteral("Kilo"));
  MainConnection().execute("UPDATE Unit SET EName = ? WHERE ID = 2", {"Small box"});
  setLanguage("E");
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({"Small box=2", "Metre=4", "Kilo=5", "Litre=6"}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "unit 3 has no English name";
}

TEST_P(ComboHelpersTest, RefillOfAnEditableComboWithoutChoiceKeepsTheTypedText) {
  QComboBox combo;
  combo.setEditable(true);
  combo.setEditText(QStringLiteral("كرت"));
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(combo.count(), 3);
  EXPECT_EQ(SelectedItemData(combo), -1);
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرت"));

  SelectComboByData(combo, 1);
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(SelectedItemData(combo), 1);
  EXPECT_EQ(combo.currentText(), QStringLiteral("حبة"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ComboHelpersTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

TEST(ComboSelection, ChoosesTheFirstEntryWithTheDataOrNone) {
  QComboBox combo;
  EXPECT_EQ(SelectedItemData(combo), -1);
  combo.addItem("a", 5);
  combo.addItem("b", 7);
  combo.addItem("c", 5);

  SelectComboByData(combo, 5);
  EXPECT_EQ(combo.currentIndex(), 0);
  SelectComboByData(combo, 7);
  EXPECT_EQ(SelectedItemData(combo), 7);
  SelectComboByData(combo, 9);
  EXPECT_EQ(combo.currentIndex(), -1);
  EXPECT_EQ(SelectedItemData(combo), -1);
}

}  // namespace
}  // namespace qalvoro::test
