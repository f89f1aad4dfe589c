// Items, customers and providers: imports, prompts, classes and accounts.

#include <tuple>

#include "browser/FrmBrowseAcc.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

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

using ItemImportTest = CatalogueEngineTest;

TEST_P(ItemImportTest, TheItemShownGoesWithEveryColumnToTheChosenBranchBesideTheSameNumber) {
  StockRows rows;
  rows.items = {{.number = "0105", .branch = 2, .counted = QVariant(), .cost = 53.79}};
  rows.items[0].description = QStringLiteral("علبة 6*250 'الأسرة'");
  rows.items[0].classification = QStringLiteral(" منظفات ");
  std::tie(rows.items[0].retail, rows.items[0].lowest, rows.items[0].wholesale) =
      std::tuple(67.24, 56.48, 59.17);
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES ('0105', 1, 'other')");
  auto& window = openWindow(2);
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  EXPECT_EQ(QStringList({window.TxtAName->text(), window.TxtIQuantity->text(),
                         window.TxtCostPrice->text(), window.txtPrice[0]->text(),
                         window.txtPrice[5]->text()}),
            QStringList({QStringLiteral("علبة 6x250 'الأسرة'"), "0", "53.79", "25.00", "0.00"}));
  const auto importShown = [](FrmCat_Restore& shown) {
    shown.TxtEName->setText("Box");
    shown.TxtLocation->setText("A1");
    shown.CboUnit->setCurrentIndex(shown.CboUnit->findData(2));
    shown.CmdImport->click();
  };
  importShown(window);
  EXPECT_TRUE(user().messages().empty()) << user().messageTexts().join('|').toStdString();
  const QStringList imported{
      QStringLiteral("0105|علبة 6x250 'الأسرة'|Box|منظفات|2|4|null|0|10|2|0|"
                     "3|53.79|A1|1|0|2|1|25|10|67.24|56.48|59.17|0| ")};
  EXPECT_EQ(RowTexts(kItemColumns + "WHERE c.BranchID = 2"), imported);
  EXPECT_EQ(itemNames(1), QStringList{"0105|other"});
  EXPECT_EQ(locksHeld(), 0);

  // Overwritten after every column changed: the same row gets them all back.
  const int id = count("SELECT CategoryID FROM Category WHERE BranchID = 2");
  MainConnection().execute(
      "UPDATE Category SET AName = 'x', EName = 'x', ClassID = ClassID + 1, "
      "fType = 1, AQuantity = 9, RQuantity = 9, IQuantity = 9, RPoint = 9, CostPrice = 9, "
      "Location = 'x', JoinUnit = FALSE, ShowJoinPrice = TRUE, U1 = 9, RateU1 = 9, P1RateU1 = 9, "
      "P2RateU1 = 9, SPriceU1 = 9, LSPriceU1 = 9, WholeSalePriceU1 = 9, MPriceU1 = 9, "
      "ExtraData = 'x' WHERE BranchID = 2");
  answer(&FrmOverWrite::CmdYes);
  auto& again = reopen(window, kItemsTab, 2);
  again.CboBranch->setCurrentIndex(again.CboBranch->findData(2));
  importShown(again);
  EXPECT_EQ(RowTexts(kItemColumns + "WHERE c.BranchID = 2"), imported);
  EXPECT_EQ(count("SELECT MAX(CategoryID) * 10 + COUNT(*) FROM Category WHERE BranchID = 2"),
            id * 10 + 1);
  EXPECT_EQ(locksHeld(), 0);
}

// One by one and all: each company is one provider of the chosen branch, the class its default.
TEST_P(ItemImportTest, TheClassificationAsAProviderMakesOneProviderPerCompanyInTheChosenBranch) {
  StockRows rows;
  for (const auto& [number, company] : {std::pair{"1", "شركة أ"}, {"2", "شركة ب"}, {"3", "شركة أ"}})
    rows.items.push_back(
        {.number = number, .classification = QString::fromUtf8(company), .branch = 2});
  writeStockFile(rows);
  auto& window = openWindow(2);
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.ChkProvider->setChecked(true);
  window.CmdImport->click();
  window.CmdImportAll->click();
  EXPECT_EQ(
      RowTexts("SELECT c.CategoryNo, k.AName AS ClassName, k.BranchID AS ClassBranch, "
               "p.AName, p.fNo, p.BranchID FROM Category c JOIN Class k ON k.ID = c.ClassID "
               "JOIN Provider p ON p.ID = c.ProviderID WHERE c.BranchID = 2 ORDER BY 1"),
      (QStringList{QStringLiteral("1|فئه1|2|شركة أ|1|2"), QStringLiteral("2|فئه1|2|شركة ب|2|2"),
                   QStringLiteral("3|فئه1|2|شركة أ|1|2")}));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider"), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ItemImportTest, ::testing::ValuesIn(kEngines), EngineParamName());

using ItemPromptTest = CatalogueTest;

// No to all imports new items only; numbers match without case, alike first.
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
  answer(&FrmOverWrite::CmdYes);
  answer(&FrmOverWrite::CmdNo);
  window.CmdImportAll->click();
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("رقم الصنف :cd\r\nالوصف :old"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("رقم الصنف :CD\r\nالوصف :جديد CD"));
  EXPECT_EQ(itemNames(1), (QStringList{"ab|old", QStringLiteral("AB|جديد AB"), "cd|old",
                                       QStringLiteral("ef|جديد ef")}));

  MainConnection().execute("DELETE FROM Category WHERE CategoryNo = 'ef'");
  MainConnection().execute("UPDATE Category SET AName = 'old'");
  answer(&FrmOverWrite::CmdNoAll);
  reopen(window, kItemsTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 3);
  EXPECT_EQ(itemNames(1),
            (QStringList{"ab|old", "AB|old", "cd|old", QStringLiteral("ef|جديد ef")}));

  answer(&FrmOverWrite::CmdYesAll);
  reopen(window, kItemsTab).CmdImportAll->click();
  EXPECT_EQ(user().shownWindows().size(), 4);
  EXPECT_EQ(itemNames(1),
            (QStringList{"ab|old", QStringLiteral("AB|جديد AB"), QStringLiteral("CD|جديد CD"),
                         QStringLiteral("ef|جديد ef")}));
  EXPECT_EQ(itemNames(2), QStringList{"CD|old"});
  EXPECT_EQ(rowsLeft("الاصناف"), 0) << "skipped rows leave the list too";
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

  window.SSTab1->setCurrentTab(kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  answer(&FrmOverWrite::CmdNo);
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
  EXPECT_EQ(rowsLeft("الاصناف"), 0);
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

  // A failed, ignored existence query: the item counts as new.
  MainConnection().execute("INSERT INTO LockTables (TableName, fLocked) VALUES ('Category', 0)");
  MainConnection().execute("UPDATE Category SET CategoryNo = '3'");
  answer(&FrmOverWrite::CmdNo);
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

using PartyImportTest = CatalogueEngineTest;

// Beside branch 1's customer of the number; overwritten, it keeps its balances.
TEST_P(PartyImportTest, ACustomerAndItsAccountGetEveryColumnAndAnOverwriteKeepsTheBalances) {
  StockRows rows;
  const QString name = QStringLiteral("مؤسسة دار 'النخبة' التجارية");
  rows.customers = {{.number = 7, .name = name, .branch = 2, .person = QStringLiteral("يوسف")}};
  rows.customers[0].address = QStringLiteral("الرياض - حي الغامدي");
  rows.customers[0].phone = QStringLiteral("01-4324773");
  rows.customers[0].fax = QVariant();
  writeStockFile(rows);
  MainConnection().execute("INSERT INTO Customer (BranchID, fNo, AName) VALUES (1, 7, 'other')");
  auto& window = openWindow(2, kCustomersTab);
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  window.txtAccCustomer[1]->setText("1203");
  window.ChkAddCustmAcc->setChecked(true);
  int shownNumber = 0;
  user().onDoEvents([&] { shownNumber = window.txtCustomerNo->text() == "0007"; });
  window.CmdImport->click();
  user().onDoEvents({});
  EXPECT_TRUE(shownNumber) << "the number is shown with four digits before it is written";
  const QString customer =
      "SELECT fNo, AName, EName, APerson, EPerson, Phone, Fax, Mobile, AAddress, EAddress, "
      "CountryID, CityID, PBox, Zip, EMail, URL, CreditDis, CashDis, ToBillDis, StartDebit, "
      "StartCredit, Debit, Credit, Balance FROM Customer WHERE BranchID = ?";
  const QString written =
      "7|" + name + QStringLiteral("| |يوسف| |01-4324773|| |الرياض - حي الغامدي| |-1|-1| | | | |");
  EXPECT_EQ(RowTexts(customer, {2}), QStringList{written + "0|0|0|0|0|0|0|0"});
  const QString account =
      "SELECT a.AccNo, a.AccNameA, a.AccNameE, a.ffather, a.ftype, a.debit, a.credit, "
      "a.StartDebit, a.StartCredit, a.MaxBalance, a.Haves, p.Haves AS ParentHaves FROM Customer c "
      "JOIN CardAcc a ON a.ID = c.AccNoID JOIN CardAcc p ON p.AccNo = a.ffather "
      "AND p.BranchID = a.BranchID WHERE c.BranchID = 2";
  const QStringList withAccount = {"1203001|" + name + "| |1203|0|1|0|0|0|0|0|1"};
  EXPECT_EQ(RowTexts(account), withAccount);
  EXPECT_EQ(RowTexts("SELECT fNo, AName, AccNoID FROM Customer WHERE BranchID = 1"),
            QStringList{"7|other|0"});
  EXPECT_EQ(locksHeld(), 0);

  // Overwritten: the same account, no second one, and the balances stay.
  MainConnection().execute(
      "UPDATE Customer SET AName = 'x', StartDebit = 5, Debit = 120, Credit = 20, Balance = 100 "
      "WHERE BranchID = 2");
  answer(&FrmOverWrite::CmdYes);
  reopen(window, kCustomersTab, 2).CmdImport->click();
  EXPECT_EQ(windows().get<FrmOverWrite>().lblOld->text(),
            QStringLiteral("رقم العميل :7\r\nالاسم :x"));
  EXPECT_EQ(RowTexts(customer, {2}), QStringList{written + "0|0|0|5|0|120|20|100"});
  EXPECT_EQ(RowTexts(account), withAccount);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '1203'"), 1);
}

// Each write fails in turn: all or nothing, and the party stays in the list.
TEST_P(PartyImportTest, APartyAndItsAccountAreWrittenTogetherOrNotAtAll) {
  StockRows rows;
  rows.providers = {{.number = 3, .name = QStringLiteral("مورد")}};
  writeStockFile(rows);
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  window.ChkAddProvAcc->setChecked(true);
  const QString written =
      "SELECT p.fNo, a.AccNo, (SELECT Haves FROM CardAcc WHERE AccNo = '21' AND BranchID = 1) "
      "FROM Provider p LEFT JOIN CardAcc a ON a.ID = p.AccNoID";
  for (int k = 0;; ++k) {
    user().clearMessages();
    MainConnection().failNthWrite(k + 1);
    window.CmdImport->click();
    MainConnection().failNthWrite(0);
    if (count("SELECT COUNT(*) FROM Provider") == 1) {
      EXPECT_EQ(RowTexts(written), QStringList{"3|21001|1"}) << k;
      EXPECT_GE(k, 3) << "the account, the parent's count and the party with its link come first";
      break;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '21'"), 0) << k;
    EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '21' AND BranchID = 1"), 0) << k;
    ASSERT_EQ(user().messageTexts().filter("Err:").size(), 1) << k;
    EXPECT_EQ(rowsLeft("الموردين"), 1) << k;
  }
}

TEST_P(PartyImportTest, EnsureFindsWritesFromVersionOneOrMakesAPlaceholder) {
  StockRows rows;
  rows.customers = {
      {.number = 3, .name = QStringLiteral("عميل 3"), .person = QVariant(), .address = QVariant()}};
  rows.providers = {
      {.number = 4, .name = QStringLiteral("مورد 4"), .phone = "02-6999339", .fax = "02-6152989"}};
  writeStockFile(rows);
  auto& window = openWindow();
  const int unknown = window.EnsureCustomer(99);
  EXPECT_EQ(window.EnsureCustomer(99), unknown);
  const int customer = window.EnsureCustomer(3);
  const int provider = window.EnsureProvider(4);
  const QString columns =
      "SELECT BranchID, AccNoID, fNo, AName, EName, APerson, EPerson, Phone, Fax, Mobile, "
      "AAddress, EAddress, CountryID, CityID, PBox, Zip, EMail, URL, CreditDis, CashDis, "
      "StartDebit, StartCredit, Debit, Credit, Balance FROM ";
  EXPECT_EQ(RowTexts(columns + "Customer WHERE ID IN (?, ?) ORDER BY ID", {unknown, customer}),
            (QStringList{"1|0|99|??| | | | | | || |-1|-1| | | | |0|0|0|0|0|0|0",
                         QStringLiteral("1|0|3|عميل 3| || |01-4224484|01-4605915| || |-1|-1| | | | "
                                        "|0|0|0|0|0|0|0")}))
      << "a Null text is written empty";
  EXPECT_EQ(RowTexts(columns + "Provider WHERE ID = ?", {provider}),
            QStringList{QStringLiteral("1|0|4|مورد 4| |سعيد| |02-6999339|02-6152989| |الرياض| "
                                       "|-1|-1| | | | |0|0|0|0|0|0|0")});
}
INSTANTIATE_TEST_SUITE_P(Engines, PartyImportTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

using PartyRunTest = CatalogueTest;

// Refusals; only customers wait 15 s for another workstation's lock; the
// parent account is checked at every press; No to all imports new ones only.
TEST_F(PartyRunTest, RefusalsTheParentAccountCheckTheLockAndNoToAll) {
  StockRows rows;
  rows.customers = {{.number = 1}, {.number = 2}};
  rows.providers = {{.number = 0}, {.number = 2, .name = QVariant()}, {.number = 3}, {.number = 4}};
  writeStockFile(rows);
  MainConnection().execute("UPDATE LockTables SET fLocked = TRUE WHERE TableName = 'Customer'");
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  const auto started = user().monotonicNow();
  for (int i = 0; i < 3; ++i) window.CmdImport->click();
  window.txtProvNo->setText("4294967300");
  window.CmdImport->click();
  ASSERT_EQ(user().messages().size(), 3u);
  EXPECT_EQ(user().messageTexts().mid(0, 2),
            (QStringList{QStringLiteral("أدخل رقم المورد"), QStringLiteral("أدخل اسم المورد")}));
  EXPECT_TRUE(user().messages()[2].text.startsWith("Err:") &&
              user().messages()[2].text.contains("Overflow"));
  EXPECT_EQ(RowTexts("SELECT fNo FROM Provider"), QStringList{"3"});
  EXPECT_EQ(rowsLeft("الموردين"), 1);
  EXPECT_EQ(user().monotonicNow(), started);

  user().clearMessages();
  window.SSTab1->setCurrentTab(kCustomersTab);
  window.txtAccCustomer[1]->setText("999");
  window.CmdImportAll->click();
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts(), QStringList(2, QStringLiteral("يجب تحديد رقم حساب العملاء")));
  EXPECT_EQ(rowsLeft("العملاء"), 2);
  EXPECT_TRUE(window.firstRecordPending());
  EXPECT_EQ(locksHeld(), 1);

  window.txtAccCustomer[1]->setText("1203");
  window.CmdImportAll->click();
  EXPECT_GE(user().monotonicNow() - started, std::chrono::seconds(15));
  EXPECT_EQ(locksHeld(), 0);
  EXPECT_EQ(RowTexts("SELECT fNo, AccNoID FROM Customer ORDER BY fNo"), (QStringList{"1|0", "2|0"}))
      << "no accounts unless asked for";
  MainConnection().execute("DELETE FROM Customer WHERE fNo = 2");
  MainConnection().execute("UPDATE Customer SET AName = 'old'");
  answer(&FrmOverWrite::CmdNoAll);
  reopen(window, kCustomersTab).CmdImportAll->click();
  EXPECT_EQ(RowTexts("SELECT fNo, AName FROM Customer ORDER BY fNo"),
            (QStringList{"1|old", QStringLiteral("2|طرف")}));
}

// Child accounts numbered once; parents browsed in the target branch.
TEST_F(PartyRunTest, ChildAccountsAndTheParentsChosenInTheTargetBranch) {
  writeStockFile({});
  auto& window = openWindow();
  const int first = window.CreateChildAccount("1203", QStringLiteral("عميل أ"));
  EXPECT_EQ(window.CreateChildAccount("1203", QStringLiteral("عميل أ")), first);
  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1203007', 'x', "
      "'1203')");
  const int next = window.CreateChildAccount("1203", QStringLiteral("عميل ب"));
  const int orphan = window.CreateChildAccount("77", QStringLiteral("بلا أب"));
  EXPECT_EQ(
      RowTexts("SELECT AccNo, ffather, ftype, debit, Haves FROM CardAcc WHERE ID IN (?, ?, "
               "?) OR (AccNo = '1203' AND BranchID = 1) ORDER BY AccNo",
               {first, next, orphan}),
      (QStringList{"1203|12|0|1|2", "1203001|1203|0|1|0", "1203008|1203|0|1|0", "77001|77|0|0|0"}));

  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  int shownBranch = 0;
  const auto choose = [&](const QString& accNo) {
    user().queueWindow([&shownBranch, accNo](QWidget& browser) {
      shownBranch = static_cast<FrmBrowseAcc&>(browser).BranchID;
      setTag(browser, accNo);
    });
  };
  choose("1203");
  window.CmdAccCustmr[1]->click();
  EXPECT_EQ(shownBranch, 2);
  EXPECT_EQ(window.txtAccCustomer[1]->text() + '/' + window.txtAccCustomer[0]->text(), "1203/");
  choose("21");
  window.CmdAccProvdr[0]->click();
  choose("");
  window.CmdAccProvdr[0]->click();
  EXPECT_EQ(window.txtAccProvider[0]->text(), "21");
}

// Classes found or written with the branch's accounts; cash boxes by name.
TEST_F(PartyRunTest, ClassesAndCashBoxesOfTheTargetBranch) {
  writeStockFile({});
  auto& window = openWindow();
  const int classes = count("SELECT COUNT(*) FROM Class");
  window.EnsureClassByName(QStringLiteral("أدوات منزلية"));
  EXPECT_EQ(window.CboClass->currentText(), QStringLiteral("أدوات منزلية"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Class"), classes) << "a class in the list is not written";
  const QString columns =
      "SELECT BranchID, fNo, AName, EName, AccID_Cash_S, AccID_Credit_S, AccID_ToBill_S, "
      "AccID_Cash_B, AccID_Credit_B, AccID_Cash_SR, AccID_Credit_SR, AccID_ToBill_SR, "
      "AccID_Cash_BR, AccID_Credit_BR FROM Class WHERE ID = ?";
  window.EnsureClassByName(QStringLiteral("فئة 'خاصة'"));
  EXPECT_EQ(RowTexts(columns, {window.CboClass->currentData()}),
            QStringList{QStringLiteral("1|4|فئة 'خاصة'| |20|20|20|22|22|21|21|21|23|23")});
  MainConnection().execute("DELETE FROM Class WHERE BranchID = 2");
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  EXPECT_EQ(window.CboClass->count(), 0);
  window.EnsureClassByName(QStringLiteral("فئه1"));
  EXPECT_EQ(RowTexts(columns, {window.CboClass->currentData()}),
            QStringList{QStringLiteral("2|1|فئه1| |0|0|0|0|0|0|0|0|0|0")});

  QComboBox& combo = *window.CboCashier[2];
  window.FillCashierCombo(combo, 1);
  ASSERT_EQ(combo.count(), 2);
  EXPECT_LT(combo.itemText(0), combo.itemText(1));
  combo.setCurrentIndex(1);
  window.FillCashierCombo(combo, 2);
  EXPECT_EQ(combo.currentIndex(), 1);
  MainConnection().execute("INSERT INTO Branch (AName, EName) VALUES ('ثالث', 'Third')");
  window.FillCashierCombo(combo, 3);
  EXPECT_EQ(combo.count() + combo.currentIndex(), -1);
}

}  // namespace
}  // namespace qalvoro::test
