// Items: the item view, the import from the item tab with its prompt,
// classes and providers from the classification, and EnsureItem.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "tests/catalogue/CatalogueTest.h"

namespace qalvoro::test {
namespace {

// Answers the next overwrite prompts with these buttons, in order.
void answerPrompts(ScriptedUser& user, const QStringList& buttons) {
  for (const QString& button : buttons) {
    user.queueWindow(
        [button](QWidget& window) { window.findChild<QPushButton*>(button)->click(); });
  }
}

class ItemImportTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

TEST_P(ItemImportTest, TheItemShownIsWrittenWithEveryColumn) {
  StockRows rows;
  rows.items = {{.number = "0105",
                 .description = QStringLiteral("علبة 6*250 'الأسرة'"),
                 .classification = QStringLiteral(" منظفات "),
                 .counted = QVariant(),
                 .cost = 53.79,
                 .retail = 67.24,
                 .lowest = 56.48,
                 .wholesale = 59.17}};
  writeStockFile(rows);
  auto& window = openWindow();
  EXPECT_EQ(window.TxtAName->text(), QStringLiteral("علبة 6x250 'الأسرة'"));
  EXPECT_EQ(window.TxtAQuantity->text(), "10");
  EXPECT_EQ(window.TxtIQuantity->text(), "0") << "a Null stock-take quantity";
  EXPECT_EQ(window.TxtCostPrice->text(), "53.79");
  EXPECT_EQ(window.txtPrice[0]->text(), "25.00");
  EXPECT_EQ(window.txtPrice[5]->text(), "0.00");
  EXPECT_EQ(window.TxtEName->text(), "");
  window.TxtEName->setText("Box");
  window.TxtLocation->setText("A1");
  window.CboUnit->setCurrentIndex(window.CboUnit->findData(2));
  window.CmdImport->click();

  Recordset item;
  item.open("SELECT * FROM Category WHERE CategoryNo = '0105'", MainConnection());
  ASSERT_FALSE(item.eof());
  const int classId =
      scalar("SELECT ID FROM Class WHERE BranchID = 1 AND AName = ?", {QStringLiteral("منظفات")})
          .toInt();
  EXPECT_NE(classId, 0) << "the trimmed classification is a new class";
  EXPECT_EQ(item.value("BranchID").toInt(), 1);
  EXPECT_EQ(item.text("AName"), QStringLiteral("علبة 6x250 'الأسرة'"));
  EXPECT_EQ(item.text("EName"), "Box");
  EXPECT_EQ(item.value("ClassID").toInt(), classId);
  EXPECT_TRUE(item.isNull("ProviderID"));
  EXPECT_EQ(item.value("fType").toInt(), 0);
  EXPECT_DOUBLE_EQ(item.value("AQuantity").toDouble(), 10);
  EXPECT_DOUBLE_EQ(item.value("RQuantity").toDouble(), 2);
  EXPECT_DOUBLE_EQ(item.value("IQuantity").toDouble(), 0);
  EXPECT_DOUBLE_EQ(item.value("RPoint").toDouble(), 3);
  EXPECT_DOUBLE_EQ(item.value("CostPrice").toDouble(), 53.79);
  EXPECT_EQ(item.text("Location"), "A1");
  EXPECT_TRUE(item.value("JoinUnit").toBool());
  EXPECT_FALSE(item.value("ShowJoinPrice").toBool());
  EXPECT_EQ(item.value("U1").toInt(), 2);
  EXPECT_DOUBLE_EQ(item.value("RateU1").toDouble(), 1);
  EXPECT_DOUBLE_EQ(item.value("P1RateU1").toDouble(), 25);
  EXPECT_DOUBLE_EQ(item.value("P2RateU1").toDouble(), 10);
  EXPECT_DOUBLE_EQ(item.value("SPriceU1").toDouble(), 67.24);
  EXPECT_DOUBLE_EQ(item.value("LSPriceU1").toDouble(), 56.48);
  EXPECT_DOUBLE_EQ(item.value("WholeSalePriceU1").toDouble(), 59.17);
  EXPECT_DOUBLE_EQ(item.value("MPriceU1").toDouble(), 0);
  EXPECT_EQ(item.text("ExtraData"), " ");
  EXPECT_EQ(scalar("SELECT fNo FROM Class WHERE ID = ?", {classId}).toInt(), 4);
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0);
  EXPECT_EQ(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Category'").toBool(), false);
}

TEST_P(ItemImportTest, TheClassificationAsAProviderGivesTheSameRowsOneByOneAndAll) {
  StockRows rows;
  rows.items = {{.number = "1", .classification = QStringLiteral("شركة أ")},
                {.number = "2", .classification = QStringLiteral("شركة ب")},
                {.number = "3", .classification = QStringLiteral("شركة أ")}};
  for (int i = 0; i < 3; ++i) {
    ItemRow second = rows.items[i];
    second.branch = 2;
    rows.items.push_back(second);
  }
  writeStockFile(rows);
  auto& window = openWindow(1);
  window.ChkProvider->setChecked(true);
  for (int i = 0; i < 3; ++i) window.CmdImport->click();
  const int class1 =
      scalar("SELECT ID FROM Class WHERE BranchID = 1 AND AName = ?", {QStringLiteral("فئه1")})
          .toInt();
  EXPECT_NE(class1, 0);
  EXPECT_EQ(window.defaultClassId(), class1);

  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(2));
  window.ChkProvider->setChecked(true);
  window.CmdImportAll->click();

  const QString items =
      "SELECT c.CategoryNo, k.AName AS class, p.AName AS provider, p.fNo FROM Category c "
      "JOIN Class k ON k.ID = c.ClassID JOIN Provider p ON p.ID = c.ProviderID "
      "WHERE c.BranchID = ? ORDER BY c.CategoryNo";
  for (int branch : {1, 2}) {
    Recordset written;
    written.open(items, MainConnection(), LockType::ReadOnly, {branch});
    QStringList seen;
    for (; !written.eof(); written.moveNext()) {
      seen << written.text("CategoryNo") + '|' + written.text("class") + '|' +
                  written.text("provider") + '|' + written.text("fNo");
    }
    EXPECT_EQ(seen,
              (QStringList{QStringLiteral("1|فئه1|شركة أ|1"), QStringLiteral("2|فئه1|شركة ب|2"),
                           QStringLiteral("3|فئه1|شركة أ|1")}))
        << branch;
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider WHERE BranchID = 2"), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemImportTest, ::testing::ValuesIn(kEngines), EngineParamName());

using ItemPromptTest = CatalogueTest;

TEST_F(ItemPromptTest, ExistingItemsAreAskedAboutOneByOneUntilAnAnswerForAll) {
  StockRows rows;
  rows.items = {{.number = "1", .description = QStringLiteral("جديد 1")},
                {.number = "2", .description = QStringLiteral("جديد 2")},
                {.number = "3", .description = QStringLiteral("جديد 3")},
                {.number = "4", .description = QStringLiteral("جديد 4")}};
  writeStockFile(rows);
  for (const char* number : {"1", "2", "4"}) {
    MainConnection().execute("INSERT INTO Category (CategoryNo, BranchID, AName) VALUES (?, 1, ?)",
                             {QString(number), QStringLiteral("قديم ") + number});
  }
  auto& window = openWindow();
  answerPrompts(user(), {"CmdYes", "CmdNo", "CmdNo"});
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows(), (QStringList{"FrmOverWrite", "FrmOverWrite", "FrmOverWrite"}));
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("رقم الصنف :4\r\nالوصف :قديم 4"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("رقم الصنف :4\r\nالوصف :جديد 4"));
  EXPECT_EQ(scalar("SELECT AName FROM Category WHERE CategoryNo = '1'").toString(),
            QStringLiteral("جديد 1"));
  EXPECT_EQ(scalar("SELECT AName FROM Category WHERE CategoryNo = '2'").toString(),
            QStringLiteral("قديم 2"));
  EXPECT_EQ(scalar("SELECT AName FROM Category WHERE CategoryNo = '3'").toString(),
            QStringLiteral("جديد 3"))
      << "after No a new item is imported";
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0) << "skipped rows leave the list too";
}

TEST_F(ItemPromptTest, YesToAllOverwritesWithoutAskingAndNoToAllWritesNothingMore) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}, {.number = "3"}};
  writeStockFile(rows);
  for (const char* number : {"1", "3"}) {
    MainConnection().execute(
        "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES (?, 1, 'old')",
        {QString(number)});
  }
  auto& window = openWindow();
  answerPrompts(user(), {"CmdYesAll"});
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE AName = 'old'"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE BranchID = 1"), 3);

  MainConnection().execute("DELETE FROM Category WHERE CategoryNo = '3'");
  MainConnection().execute("UPDATE Category SET AName = 'old'");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompts(user(), {"CmdNoAll"});
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 2);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE CategoryNo = '3'"), 0)
      << "after No to all new items are not written either";
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE AName = 'old'"), 2);
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0);
}

TEST_F(ItemPromptTest, AServiceIsWrittenWithItsQuantitiesAndARunWritesGoods) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}};
  writeStockFile(rows);
  auto& window = openWindow();
  window.OptType[1]->setChecked(true);
  window.CmdImport->click();
  EXPECT_EQ(scalar("SELECT fType FROM Category WHERE CategoryNo = '1'").toInt(), 1);
  EXPECT_DOUBLE_EQ(scalar("SELECT AQuantity FROM Category WHERE CategoryNo = '1'").toDouble(), 10);
  window.OptType[1]->setChecked(true);
  window.CmdImportAll->click();
  EXPECT_EQ(scalar("SELECT fType FROM Category WHERE CategoryNo = '2'").toInt(), 0);
}

TEST_F(ItemPromptTest, AnItemWithoutNumberOrNameIsRefusedAndLeavesTheList) {
  StockRows rows;
  rows.items = {{.number = "", .description = QStringLiteral("بلا رقم")},
                {.number = "2", .description = QVariant()},
                {.number = "3"}};
  writeStockFile(rows);
  auto& window = openWindow();
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(),
            (QStringList{QStringLiteral("إدخل رقم الصنف"), QStringLiteral("إدخل اسم الصنف")}));
  EXPECT_EQ(user().messages()[0].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE BranchID = 1"), 1);
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0);
}

TEST_F(ItemPromptTest, AnErrorOffersAbortRetryAndIgnore) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}};
  writeStockFile(rows);
  auto& window = openWindow();
  window.ChkClass->setChecked(false);
  MainConnection().execute("DELETE FROM LockTables WHERE TableName = 'Category'");
  user().queueAnswer(4);  // Retry: the lock fails again
  user().queueAnswer(3);  // Abort
  window.CmdImport->click();
  ASSERT_EQ(user().messages().size(), 2u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
  EXPECT_EQ(user().messages()[0].style, 2 | 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), 0);

  user().queueAnswer(5);  // Ignore: the item is written without the lock
  window.CmdImport->click();
  EXPECT_EQ(user().messages().size(), 3u) << user().messageTexts().join("|").toStdString();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE CategoryNo = '2'"), 1);
}

TEST_F(ItemPromptTest, EnsureItemFindsWritesOrMakesAPlaceholder) {
  StockRows rows;
  rows.items = {{.number = "0104", .description = QStringLiteral("شاي 'أحمر'"), .counted = {}},
                {.number = "7001", .branch = 2}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES ('0200', 2, 'elsewhere')");
  auto& window = openWindow();
  window.CboUnit->setCurrentIndex(window.CboUnit->findData(3));
  const int classId = window.CboClass->currentData().toInt();
  const int before = count("SELECT COUNT(*) FROM Category");

  const int elsewhere = window.EnsureItem("0200");
  EXPECT_EQ(elsewhere, scalar("SELECT CategoryID FROM Category WHERE CategoryNo = '0200'").toInt());
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), before);

  const int found = window.EnsureItem("0104");
  Recordset item;
  item.open("SELECT * FROM Category WHERE CategoryID = ?", MainConnection(), LockType::ReadOnly,
            {found});
  ASSERT_FALSE(item.eof());
  EXPECT_EQ(item.text("AName"), QStringLiteral("شاي 'أحمر'"));
  EXPECT_EQ(item.value("BranchID").toInt(), 1);
  EXPECT_EQ(item.value("ClassID").toInt(), classId);
  EXPECT_EQ(item.value("ProviderID").toInt(), -1);
  EXPECT_DOUBLE_EQ(item.value("IQuantity").toDouble(), 0);
  EXPECT_DOUBLE_EQ(item.value("AQuantity").toDouble(), 10);
  EXPECT_DOUBLE_EQ(item.value("SPriceU1").toDouble(), 6.875);
  EXPECT_EQ(item.value("U1").toInt(), 3);
  EXPECT_EQ(item.text("Location"), " ");
  EXPECT_EQ(item.text("ExtraData"), "");
  EXPECT_TRUE(item.value("JoinUnit").toBool());

  const int placeholder = window.EnsureItem("7001");
  EXPECT_EQ(scalar("SELECT AName FROM Category WHERE CategoryID = ?", {placeholder}).toString(),
            QStringLiteral("7001 صنف محذوف"))
      << "an item of another version-1 branch is not taken";
  EXPECT_DOUBLE_EQ(
      scalar("SELECT CostPrice FROM Category WHERE CategoryID = ?", {placeholder}).toDouble(), 0);
  EXPECT_EQ(window.EnsureItem("7001"), placeholder);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), before + 2);
}

}  // namespace
}  // namespace qalvoro::test
