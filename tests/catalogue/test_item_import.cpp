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
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

// Answers the next overwrite prompts with these buttons, in order.
void answerPrompts(ScriptedUser& user, const QStringList& buttons) {
  for (const QString& button : buttons) {
    user.queueWindow(
        [button](QWidget& window) { window.findChild<QPushButton*>(button)->click(); });
  }
}

// Every column an import writes, with the class's name, branch and number.
const QString kItemColumns =
    "SELECT c.CategoryNo, c.AName, c.EName, k.AName AS ClassName, k.BranchID AS ClassBranch, "
    "k.fNo AS ClassNo, c.ProviderID, c.fType, "
    "c.AQuantity, c.RQuantity, c.IQuantity, c.RPoint, c.CostPrice, c.Location, c.JoinUnit, "
    "c.ShowJoinPrice, c.U1, c.RateU1, c.P1RateU1, c.P2RateU1, c.SPriceU1, c.LSPriceU1, "
    "c.WholeSalePriceU1, c.MPriceU1, c.ExtraData FROM Category c JOIN Class k ON k.ID = c.ClassID ";

QStringList itemNames(int branch) {
  return RowTexts("SELECT CategoryNo, AName FROM Category WHERE BranchID = ? ORDER BY CategoryID",
                  {branch});
}

class ItemImportTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

TEST_P(ItemImportTest, TheItemShownGoesWithEveryColumnToTheChosenBranchBesideTheSameNumber) {
  StockRows rows;
  rows.items = {{.number = "0105",
                 .description = QStringLiteral("علبة 6*250 'الأسرة'"),
                 .classification = QStringLiteral(" منظفات "),
                 .branch = 2,
                 .counted = QVariant(),
                 .cost = 53.79,
                 .retail = 67.24,
                 .lowest = 56.48,
                 .wholesale = 59.17}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES ('0105', 1, 'other')");
  auto& window = openWindow(2);
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  EXPECT_EQ(window.TxtAName->text(), QStringLiteral("علبة 6x250 'الأسرة'"));
  EXPECT_EQ(window.TxtIQuantity->text(), "0") << "a Null stock-take quantity";
  EXPECT_EQ(window.TxtCostPrice->text(), "53.79");
  EXPECT_EQ(window.txtPrice[0]->text(), "25.00");
  EXPECT_EQ(window.txtPrice[5]->text(), "0.00");
  window.TxtEName->setText("Box");
  window.TxtLocation->setText("A1");
  window.CboUnit->setCurrentIndex(window.CboUnit->findData(2));
  window.CmdImport->click();
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  EXPECT_EQ(RowTexts(kItemColumns + "WHERE c.BranchID = 2"),
            QStringList{QStringLiteral("0105|علبة 6x250 'الأسرة'|Box|منظفات|2|4|null|0|10|2|0|3|"
                                       "53.79|A1|1|0|2|1|25|10|67.24|56.48|59.17|0| ")});
  EXPECT_EQ(itemNames(1), QStringList{"0105|other"});
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Category'").toBool());
}

TEST_P(ItemImportTest, TheClassificationAsAProviderGivesTheSameRowsOneByOneAndAll) {
  StockRows rows;
  for (int branch : {1, 2}) {
    rows.items.push_back(
        {.number = "1", .classification = QStringLiteral("شركة أ"), .branch = branch});
    rows.items.push_back(
        {.number = "2", .classification = QStringLiteral("شركة ب"), .branch = branch});
    rows.items.push_back(
        {.number = "3", .classification = QStringLiteral("شركة أ"), .branch = branch});
  }
  writeStockFile(rows);
  auto& window = openWindow(1);
  window.ChkProvider->setChecked(true);
  for (int i = 0; i < 3; ++i) window.CmdImport->click();
  EXPECT_EQ(window.defaultClassId(), scalar("SELECT ID FROM Class WHERE BranchID = 1 AND AName = ?",
                                            {QStringLiteral("فئه1")})
                                         .toInt());

  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(2));
  window.ChkProvider->setChecked(true);
  window.CmdImportAll->click();
  for (int branch : {1, 2}) {
    EXPECT_EQ(RowTexts("SELECT c.CategoryNo, k.AName AS ClassName, p.AName, p.fNo FROM Category c "
                       "JOIN Class k ON k.ID = c.ClassID JOIN Provider p ON p.ID = c.ProviderID "
                       "WHERE c.BranchID = ? ORDER BY c.CategoryNo",
                       {branch}),
              (QStringList{QStringLiteral("1|فئه1|شركة أ|1"), QStringLiteral("2|فئه1|شركة ب|2"),
                           QStringLiteral("3|فئه1|شركة أ|1")}))
        << branch;
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider WHERE BranchID = 2"), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemImportTest, ::testing::ValuesIn(kEngines), EngineParamName());

using ItemPromptTest = CatalogueTest;

// No to all keeps every existing item and imports the new ones, where the
// old Windows component skipped the new ones too. Numbers match without case:
// "CD" overwrites "cd", and of "ab" and "AB" the one spelled alike.
TEST_F(ItemPromptTest, NoToAllSkipsOnlyExistingItemsAndNumbersMatchWithoutCase) {
  StockRows rows;
  rows.items = {{.number = "AB", .description = QStringLiteral("جديد AB")},
                {.number = "CD", .description = QStringLiteral("جديد CD")},
                {.number = "ef", .description = QStringLiteral("جديد ef")}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) "
      "VALUES ('ab', 1, 'old'), ('AB', 1, 'old'), ('cd', 1, 'old'), ('CD', 2, 'old')");
  auto& window = openWindow();
  answerPrompts(user(), {"CmdYes", "CmdNo"});
  window.CmdImportAll->click();
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("رقم الصنف :cd\r\nالوصف :old"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("رقم الصنف :CD\r\nالوصف :جديد CD"));
  EXPECT_EQ(itemNames(1), (QStringList{"ab|old", QStringLiteral("AB|جديد AB"), "cd|old",
                                       QStringLiteral("ef|جديد ef")}));

  MainConnection().execute("DELETE FROM Category WHERE CategoryNo = 'ef'");
  MainConnection().execute("UPDATE Category SET AName = 'old'");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompts(user(), {"CmdNoAll"});
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 3);
  EXPECT_EQ(itemNames(1),
            (QStringList{"ab|old", "AB|old", "cd|old", QStringLiteral("ef|جديد ef")}));

  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  answerPrompts(user(), {"CmdYesAll"});
  window.CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 4);
  EXPECT_EQ(itemNames(1),
            (QStringList{"ab|old", QStringLiteral("AB|جديد AB"), QStringLiteral("CD|جديد CD"),
                         QStringLiteral("ef|جديد ef")}));
  EXPECT_EQ(itemNames(2), QStringList{"CD|old"});
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0) << "skipped rows leave the list too";
}

TEST_F(ItemPromptTest, TheClassBoxShowsTheItemsClassAndThePromptTheNameInTheWindowsLanguage) {
  setSetting("Language", "E");
  StockRows rows;
  rows.items = {{.number = "1"},
                {.number = "2", .classification = QStringLiteral("جديدة")},
                {.number = "3", .classification = QStringLiteral("جديدة")}};
  rows.providers = {{.number = 5, .name = QStringLiteral("مورد جديد")}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Provider (BranchID, fNo, AName, EName) VALUES (1, 5, 'قديم', 'Old Co')");
  auto& window = openWindow();
  EXPECT_EQ(window.CboClass->currentText(), "Foodstuffs");
  window.CmdImport->click();
  EXPECT_EQ(window.TxtCategoryNo->text(), "2");
  EXPECT_EQ(window.CboClass->currentIndex(), -1) << "no class of that name yet";
  window.CmdImport->click();
  EXPECT_EQ(window.CboClass->currentText(), QStringLiteral("جديدة"))
      << "the Arabic name when the English one is blank";
  EXPECT_EQ(window.CboClass->findText(QStringLiteral("جديدة")), window.CboClass->count() - 1);

  window.SSTab1->setCurrentTab(kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  window.CmdImport->click();
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("Provider number:5\r\nName:Old Co"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("Provider number:5\r\nName:مورد جديد"));
  EXPECT_EQ(RowTexts("SELECT AName FROM Provider"), QStringList{QStringLiteral("قديم")});
}

TEST_F(ItemPromptTest, AServiceKeepsItsQuantitiesARunWritesGoodsAndNoNumberOrNameIsRefused) {
  StockRows rows;
  rows.items = {{.number = "1"},
                {.number = "", .description = QStringLiteral("بلا رقم")},
                {.number = "2", .description = QVariant()},
                {.number = "3"}};
  writeStockFile(rows);
  auto& window = openWindow();
  window.CmdImport->click();  // no number, shown first
  window.OptType[1]->setChecked(true);
  window.CmdImport->click();
  window.OptType[1]->setChecked(true);
  window.CmdImportAll->click();
  EXPECT_EQ(RowTexts("SELECT CategoryNo, fType, AQuantity FROM Category ORDER BY CategoryNo"),
            (QStringList{"1|1|10", "3|0|10"}));
  EXPECT_EQ(user().messageTexts(),
            (QStringList{QStringLiteral("إدخل رقم الصنف"), QStringLiteral("إدخل اسم الصنف")}));
  EXPECT_EQ(user().messages()[0].style, 64 | 0x180000);
  EXPECT_EQ(rowsLeft(window, "الاصناف"), 0);
}

TEST_F(ItemPromptTest, AnErrorOffersAbortRetryAndIgnore) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}, {.number = "3"}, {.number = "4"}};
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
  EXPECT_EQ(itemNames(1), QStringList{QStringLiteral("2|صنف")});

  // The existence query fails and is ignored: the item counts as new, not
  // as the previous one, which existed.
  MainConnection().execute("INSERT INTO LockTables (TableName, fLocked) VALUES ('Category', 0)");
  MainConnection().execute("UPDATE Category SET CategoryNo = '3'");
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  window.CmdImport->click();
  ASSERT_FALSE(window.isNewRecord());
  MainConnection().execute("ALTER TABLE Category RENAME COLUMN AName TO Renamed");
  user().queueAnswer(5);
  user().queueAnswer(5);
  window.CmdImport->click();
  MainConnection().execute("ALTER TABLE Category RENAME COLUMN Renamed TO AName");
  EXPECT_TRUE(window.isNewRecord());
}

TEST_F(ItemPromptTest, EnsureItemFindsWritesOrMakesAPlaceholder) {
  StockRows rows;
  rows.items = {{.number = "ab04", .description = QStringLiteral("شاي 'أحمر'"), .counted = {}},
                {.number = "7001", .branch = 2}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES ('x200', 2, 'elsewhere')");
  auto& window = openWindow();
  window.CboUnit->setCurrentIndex(window.CboUnit->findData(3));
  const int before = count("SELECT COUNT(*) FROM Category");
  EXPECT_EQ(window.EnsureItem("X200"),
            scalar("SELECT CategoryID FROM Category WHERE CategoryNo = 'x200'").toInt())
      << "found in another branch, without case";
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), before);

  const int found = window.EnsureItem("AB04");
  const int placeholder = window.EnsureItem("7001");
  EXPECT_EQ(window.EnsureItem("7001"), placeholder);
  EXPECT_EQ(window.EnsureItem("ab04"), found);
  EXPECT_EQ(RowTexts(kItemColumns + "WHERE c.CategoryID IN (?, ?) ORDER BY c.CategoryID",
                     {found, placeholder}),
            (QStringList{QStringLiteral("AB04|شاي 'أحمر'| |مواد غذائية|1|1|-1|0|10|2|0|3|5.5| "
                                        "|1|0|3|1|25|10|6.875|5.775|6.05|0|"),
                         QStringLiteral("7001|7001 صنف محذوف| |مواد غذائية|1|1|-1|0|0|0|0|0|0| "
                                        "|1|0|3|1|0|0|0|0|0|0|")}))
      << "an item of another version-1 branch is not taken";
}

}  // namespace
}  // namespace qalvoro::test
