// Customers and providers: the party tabs, their imports with the parent
// account check, the overwrite prompt and the party's own account, and the
// lookup-or-create services.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "browser/FrmBrowseAcc.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

class PartyImportTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

// The customer in version-2 branch 2 beside a customer of the same number
// in branch 1; overwritten, it keeps what its documents posted, where the
// old Windows component set the balances to 0 again.
TEST_P(PartyImportTest, ACustomerAndItsAccountGetEveryColumnAndAnOverwriteKeepsTheBalances) {
  StockRows rows;
  rows.customers = {{.number = 7,
                     .name = QStringLiteral("مؤسسة دار 'النخبة' التجارية"),
                     .branch = 2,
                     .person = QStringLiteral("يوسف"),
                     .address = QStringLiteral("الرياض - حي الغامدي"),
                     .phone = QStringLiteral("01-4324773"),
                     .fax = QVariant()}};
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
  const QString name = QStringLiteral("مؤسسة دار 'النخبة' التجارية");
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
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Customer'").toBool());

  // Overwritten: the same account, no second one, and the balances stay.
  MainConnection().execute(
      "UPDATE Customer SET AName = 'x', StartDebit = 5, Debit = 120, Credit = 20, Balance = 100 "
      "WHERE BranchID = 2");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  window.SSTab1->setCurrentTab(kCustomersTab);
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(2));
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdYes->click(); });
  window.CmdImport->click();
  EXPECT_EQ(windows().get<FrmOverWrite>().lblOld->text(),
            QStringLiteral("رقم العميل :7\r\nالاسم :x"));
  EXPECT_EQ(RowTexts(customer, {2}), QStringList{written + "0|0|0|5|0|120|20|100"});
  EXPECT_EQ(RowTexts(account), withAccount);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '1203'"), 1);
}

// Each write of a party with its new account (the party, the account, the
// parent's Haves, the link) fails in turn: all of them are
// written or none, and a failed party stays in the working copy.
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
      EXPECT_GE(k, 4) << "the party, its account, the parent's count and the link come first";
      break;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '21'"), 0) << k;
    EXPECT_EQ(count("SELECT Haves FROM CardAcc WHERE AccNo = '21' AND BranchID = 1"), 0) << k;
    ASSERT_EQ(user().messageTexts().filter("Err:").size(), 1) << k;
    EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
    EXPECT_EQ(rowsLeft(window, "الموردين"), 1) << k;
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

// A run stops at its first party when the parent account is missing; the
// check is made again for every press until it passes, where the old
// Windows component checked only once and then imported without it.
TEST_F(PartyRunTest, AFailedParentAccountCheckKeepsRefusingAndNoToAllSkipsOnlyExisting) {
  StockRows rows;
  rows.customers = {{.number = 1}, {.number = 2}};
  writeStockFile(rows);
  auto& window = openWindow(1, kCustomersTab);
  window.txtAccCustomer[1]->setText("999");
  window.CmdImportAll->click();
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts(), QStringList(2, QStringLiteral("يجب تحديد رقم حساب العملاء")));
  EXPECT_EQ(user().messages()[0].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 0);
  EXPECT_EQ(rowsLeft(window, "العملاء"), 2);
  EXPECT_TRUE(window.firstRecordPending());

  window.txtAccCustomer[1]->setText("1203");
  window.CmdImportAll->click();
  EXPECT_EQ(RowTexts("SELECT fNo, AccNoID FROM Customer ORDER BY fNo"), (QStringList{"1|0", "2|0"}))
      << "no accounts unless asked for";

  // No to all keeps the existing customer and imports the new one.
  MainConnection().execute("DELETE FROM Customer WHERE fNo = 2");
  MainConnection().execute("UPDATE Customer SET AName = 'old'");
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  window.SSTab1->setCurrentTab(kCustomersTab);
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNoAll->click(); });
  window.CmdImportAll->click();
  EXPECT_EQ(RowTexts("SELECT fNo, AName FROM Customer ORDER BY fNo"),
            (QStringList{"1|old", QStringLiteral("2|طرف")}));
}

TEST_F(PartyRunTest, APartyWithoutNumberOrNameOrWithANumberBeyond32BitsIsRefused) {
  StockRows rows;
  rows.providers = {{.number = 0}, {.number = 2, .name = QVariant()}, {.number = 3}, {.number = 4}};
  writeStockFile(rows);
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  window.CmdImport->click();
  window.CmdImport->click();
  window.CmdImport->click();
  EXPECT_EQ(user().messageTexts(),
            (QStringList{QStringLiteral("أدخل رقم المورد"), QStringLiteral("أدخل اسم المورد")}));
  window.txtProvNo->setText("4294967300");
  window.CmdImport->click();
  ASSERT_EQ(user().messages().size(), 3u);
  EXPECT_TRUE(user().messages()[2].text.startsWith("Err:"));
  EXPECT_TRUE(user().messages()[2].text.contains("Overflow"));
  EXPECT_EQ(RowTexts("SELECT fNo FROM Provider"), QStringList{"3"});
  EXPECT_EQ(rowsLeft(window, "الموردين"), 1);
}

TEST_F(PartyRunTest, OnlyTheCustomerImportWaitsForItsLock) {
  StockRows rows;
  rows.customers = {{.number = 1}};
  rows.providers = {{.number = 1}};
  writeStockFile(rows);
  holdLock("Customer", true);
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  const auto started = user().monotonicNow();
  window.CmdImport->click();
  EXPECT_EQ(user().monotonicNow(), started) << "providers take no lock";
  EXPECT_TRUE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Customer'").toBool());

  window.SSTab1->setCurrentTab(kCustomersTab);
  window.txtAccCustomer[1]->setText("1203");
  window.CmdImport->click();
  EXPECT_GE(user().monotonicNow() - started, std::chrono::seconds(15))
      << "a held lock is taken over after 15 seconds";
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 1);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Customer'").toBool());
}

TEST_F(PartyRunTest, ParentAccountsAreChosenInTheTargetBranchAndCancellingTheBrowserKeepsTheTypedParent) {
  writeStockFile({});
  auto& window = openWindow();
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
  EXPECT_EQ(window.txtAccCustomer[1]->text(), "1203");
  EXPECT_EQ(window.txtAccCustomer[0]->text(), "");
  choose("21");
  window.CmdAccProvdr[0]->click();
  EXPECT_EQ(window.txtAccProvider[0]->text(), "21");
  choose("");
  window.CmdAccProvdr[0]->click();
  EXPECT_EQ(window.txtAccProvider[0]->text(), "21") << "a cancelled choice changes nothing";
}

// Classes, cash boxes and accounts created for parties.
using ClassesAndAccountsTest = CatalogueTest;

TEST_F(ClassesAndAccountsTest, ClassesAreFoundByNameOrWrittenWithTheBranchAccounts) {
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
}

TEST_F(ClassesAndAccountsTest, ChildAccountsAreNumberedUnderTheirParentOnce) {
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
}

TEST_F(ClassesAndAccountsTest, CashBoxesAreListedByNameAndKeepThePositionChosen) {
  writeStockFile({});
  auto& window = openWindow();
  QComboBox& combo = *window.CboCashier[2];
  window.FillCashierCombo(combo, 1);
  ASSERT_EQ(combo.count(), 2);
  EXPECT_LT(combo.itemText(0), combo.itemText(1));
  combo.setCurrentIndex(1);
  window.FillCashierCombo(combo, 2);
  EXPECT_EQ(combo.currentIndex(), 1);
  MainConnection().execute("INSERT INTO Branch (AName, EName) VALUES ('ثالث', 'Third')");
  window.FillCashierCombo(combo, 3);
  EXPECT_EQ(combo.count(), 0);
  EXPECT_EQ(combo.currentIndex(), -1);
}

}  // namespace
}  // namespace qalvoro::test
