// Combo boxes filled from version-2 code tables, on both engines.

#include <QComboBox>

#include "host/Globals.h"
#include "host/helpers/ComboHelpers.h"
#include "tests/helpers/HelpersTest.h"

namespace qalvoro::test {
namespace {

void addUnit(int id, const QVariant& arabic, const QVariant& english) {
  MainConnection().execute("INSERT INTO Unit (ID, AName, EName) VALUES (?, ?, ?)",
                           {id, arabic, english});
}

QStringList entries(const QComboBox& combo) {
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) {
    shown << combo.itemText(i) + '=' + combo.itemData(i).toString();
  }
  return shown;
}

using ComboHelpersTest = HelpersTest;

TEST_P(ComboHelpersTest, RefillKeepsTheChosenIdOrTheTypedTextAndShowsOnlyNamedRows) {
  addUnit(1, QStringLiteral("حبة"), "Piece");
  addUnit(2, QVariant(), "Box");
  addUnit(3, QStringLiteral("كرتون"), QVariant());
  addUnit(4, QStringLiteral("متر"), "Metre");
  QComboBox combo;
  combo.setEditable(true);
  combo.setEditText(QStringLiteral("كرت"));
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({QStringLiteral("حبة=1"), QStringLiteral("كرتون=3"),
                                         QStringLiteral("متر=4")}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "nothing was chosen before";
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرت"));

  SelectComboByData(combo, 3);
  MainConnection().execute("DELETE FROM Unit WHERE ID = 1");
  MainConnection().execute("UPDATE Unit SET AName = ? WHERE ID = 3", {QStringLiteral("كرتونة")});
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(SelectedItemData(combo), 3);
  EXPECT_EQ(combo.currentText(), QStringLiteral("كرتونة"));

  // Entries follow the key, whatever order the rows were written in.
  addUnit(6, QStringLiteral("لتر"), "Litre");
  addUnit(5, QStringLiteral("كيلو"), "Kilo");
  SaveSetting("Language", "E");
  FillComboFromTable(combo, "Unit");
  EXPECT_EQ(entries(combo), QStringList({"Box=2", "Metre=4", "Kilo=5", "Litre=6"}));
  EXPECT_EQ(SelectedItemData(combo), -1) << "unit 3 has no English name";

  // The first entry with the data, or none.
  combo.addItem("again", 4);
  SelectComboByData(combo, 4);
  EXPECT_EQ(combo.currentIndex(), 1);
  SelectComboByData(combo, 9);
  EXPECT_EQ(combo.currentIndex(), -1);
}

INSTANTIATE_TEST_SUITE_P(Engines, ComboHelpersTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
