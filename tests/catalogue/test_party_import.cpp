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

namespace qalvoro::test {
namespace {

class PartyImportTest : public CatalogueTest, public ::testing::WithParamInterface<Engine> {
 protected:
  Engine version2Engine() const override { return GetParam(); }
};

TEST_P(PartyImportTest, ACustomerIsWrittenWithItsOwnAccountUnderTheParent) {
  StockRows rows;
  rows.customers = {{.number = 7,
                     .name = QStringLiteral("مؤسسة دار 'النخبة' التجارية"),
                     .person = QStringLiteral("يوسف"),
                     .address = QStringLiteral("الرياض - حي الغامدي"),
                     .phone = QStringLiteral("01-4324773"),
                     .fax = QVariant()}};
  writeStockFile(rows);
  auto& window = openWindow(1, kCustomersTab);
  EXPECT_EQ(window.txtCustomerNo->text(), "7");
  EXPECT_EQ(window.txtCustomerFax->text(), "");
  window.txtAccCustomer[1]->setText("1203");
  window.ChkAddCustmAcc->setChecked(true);
  int shownNumber = 0;
  user().onDoEvents([&] { shownNumber = window.txtCustomerNo->text() == "0007"; });
  window.CmdImport->click();
  EXPECT_TRUE(shownNumber) << "the number is shown with four digits before it is written";

  Recordset customer;
  customer.open("SELECT * FROM Customer WHERE BranchID = 1", MainConnection());
  ASSERT_EQ(customer.recordCount(), 1);
  EXPECT_EQ(customer.value("fNo").toInt(), 7);
  EXPECT_EQ(customer.text("AName"), QStringLiteral("مؤسسة دار 'النخبة' التجارية"));
  EXPECT_EQ(customer.text("EName"), " ");
  EXPECT_EQ(customer.text("APerson"), QStringLiteral("يوسف"));
  EXPECT_EQ(customer.text("EPerson"), " ");
  EXPECT_EQ(customer.text("Phone"), "01-4324773");
  EXPECT_EQ(customer.text("Fax"), "");
  EXPECT_EQ(customer.text("Mobile"), " ");
  EXPECT_EQ(customer.text("AAddress"), QStringLiteral("الرياض - حي الغامدي"));
  EXPECT_EQ(customer.text("EAddress"), " ");
  EXPECT_EQ(customer.value("CountryID").toInt(), -1);
  EXPECT_EQ(customer.value("CityID").toInt(), -1);
  for (const char* blank : {"PBox", "Zip", "EMail", "URL"}) EXPECT_EQ(customer.text(blank), " ");
  for (const char* zero : {"CreditDis", "CashDis", "ToBillDis", "StartDebit", "StartCredit",
                           "Debit", "Credit", "Balance"}) {
    EXPECT_EQ(customer.value(zero).toDouble(), 0) << zero;
  }
  const int parentId =
      scalar("SELECT ID FROM CardAcc WHERE BranchID = 1 AND AccNo = '1203'").toInt();
  Recordset account;
  account.open("SELECT * FROM CardAcc WHERE ID = ?", MainConnection(), LockType::ReadOnly,
               {customer.value("AccNoID")});
  ASSERT_FALSE(account.eof());
  EXPECT_EQ(account.text("AccNo"), "1203001");
  EXPECT_EQ(account.text("AccNameA"), customer.text("AName"));
  EXPECT_EQ(account.text("AccNameE"), " ");
  EXPECT_EQ(account.text("ffather"), "1203");
  EXPECT_EQ(account.value("debit").toInt(), 1) << "the parent's flags";
  EXPECT_EQ(account.value("Haves").toInt(), 0);
  EXPECT_EQ(scalar("SELECT Haves FROM CardAcc WHERE ID = ?", {parentId}).toInt(), 1);
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Customer'").toBool());

  // Importing it again over the first: the same account, no second one.
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  window.SSTab1->setCurrentTab(kCustomersTab);
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdYes->click(); });
  window.CmdImport->click();
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(),
            QStringLiteral("رقم العميل :7\r\nالاسم :مؤسسة دار 'النخبة' التجارية"));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 1);
  EXPECT_EQ(scalar("SELECT AccNoID FROM Customer").toInt(), account.value("ID").toInt());
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '1203'"), 1);
  EXPECT_EQ(scalar("SELECT Haves FROM CardAcc WHERE ID = ?", {parentId}).toInt(), 1);
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
  Recordset placeholder;
  placeholder.open("SELECT * FROM Customer WHERE ID = ?", MainConnection(), LockType::ReadOnly,
                   {unknown});
  ASSERT_FALSE(placeholder.eof());
  EXPECT_EQ(placeholder.value("fNo").toInt(), 99);
  EXPECT_EQ(placeholder.text("AName"), "??");
  EXPECT_EQ(placeholder.text("APerson"), " ");
  EXPECT_EQ(placeholder.text("AAddress"), "");
  EXPECT_EQ(window.EnsureCustomer(99), unknown);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 1);

  const int customer = window.EnsureCustomer(3);
  EXPECT_EQ(scalar("SELECT AName FROM Customer WHERE ID = ?", {customer}).toString(),
            QStringLiteral("عميل 3"));
  EXPECT_EQ(scalar("SELECT APerson FROM Customer WHERE ID = ?", {customer}).toString(), "")
      << "a Null text is written empty";

  const int provider = window.EnsureProvider(4);
  Recordset found;
  found.open("SELECT * FROM Provider WHERE ID = ?", MainConnection(), LockType::ReadOnly,
             {provider});
  ASSERT_FALSE(found.eof());
  EXPECT_EQ(found.value("BranchID").toInt(), 1);
  EXPECT_EQ(found.value("AccNoID").toInt(), 0);
  EXPECT_EQ(found.text("Phone"), "02-6999339");
  EXPECT_EQ(found.text("Fax"), "02-6152989");
  EXPECT_EQ(found.text("Mobile"), " ");
}

INSTANTIATE_TEST_SUITE_P(Engines, PartyImportTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

using PartyRunTest = CatalogueTest;

TEST_F(PartyRunTest, WithoutAParentAccountTheFirstPartyStopsTheRun) {
  StockRows rows;
  rows.customers = {{.number = 1}, {.number = 2}};
  writeStockFile(rows);
  auto& window = openWindow(1, kCustomersTab);
  window.txtAccCustomer[1]->setText("999");
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب تحديد رقم حساب العملاء")});
  EXPECT_EQ(user().messages()[0].style, 64 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 0);
  EXPECT_EQ(rowsLeft(window, "العملاء"), 2);
  EXPECT_TRUE(window.firstRecordPending());

  window.txtAccCustomer[1]->setText("1203");
  window.CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 2);
  EXPECT_EQ(scalar("SELECT MAX(AccNoID) FROM Customer").toInt(), 0)
      << "no accounts unless asked for";
}

TEST_F(PartyRunTest, APartyWithoutNumberOrNameIsRefusedAndTheRunGoesOn) {
  StockRows rows;
  rows.providers = {{.number = 0}, {.number = 2, .name = QVariant()}, {.number = 3}};
  writeStockFile(rows);
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  window.CmdImportAll->click();
  EXPECT_EQ(user().messageTexts(),
            (QStringList{QStringLiteral("أدخل رقم المورد"), QStringLiteral("أدخل اسم المورد")}));
  EXPECT_EQ(count("SELECT COUNT(*) FROM Provider"), 1);
  EXPECT_EQ(rowsLeft(window, "الموردين"), 0);
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

TEST_F(PartyRunTest, AnErrorWhileWritingEndsTheRunWithTheRowKeptAndTheLockFree) {
  StockRows rows;
  rows.customers = {{.number = 1}, {.number = 2}};
  writeStockFile(rows);
  MainConnection().execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON Customer WHEN NEW.fNo = 2 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  auto& window = openWindow(1, kCustomersTab);
  window.txtAccCustomer[1]->setText("1203");
  window.CmdImportAll->click();
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
  EXPECT_TRUE(user().messages()[0].text.contains("\nrefused"));
  EXPECT_EQ(user().messages()[0].style, 16 | 0x180000);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Customer"), 1);
  EXPECT_EQ(rowsLeft(window, "العملاء"), 1);
  EXPECT_EQ(window.txtCustomerNo->text(), "2");
  EXPECT_FALSE(scalar("SELECT fLocked FROM LockTables WHERE TableName = 'Customer'").toBool());
}

TEST_F(PartyRunTest, TheProviderPromptNamesTheProviderInTheLanguageOfTheWindow) {
  setSetting("Language", "E");
  StockRows rows;
  rows.providers = {{.number = 5, .name = QStringLiteral("مورد جديد")}};
  writeStockFile(rows);
  MainConnection().execute(
      "INSERT INTO Provider (BranchID, fNo, AName, EName) VALUES (1, 5, 'قديم', 'Old Co')");
  auto& window = openWindow(1, kProvidersTab);
  window.txtAccProvider[1]->setText("21");
  user().queueWindow([](QWidget& prompt) { static_cast<FrmOverWrite&>(prompt).CmdNo->click(); });
  window.CmdImport->click();
  const auto& prompt = windows().get<FrmOverWrite>();
  EXPECT_EQ(prompt.lblOld->text(), QStringLiteral("Provider number:5\r\nName:Old Co"));
  EXPECT_EQ(prompt.lblNew->text(), QStringLiteral("Provider number:5\r\nName:مورد جديد"));
  EXPECT_EQ(scalar("SELECT AName FROM Provider WHERE fNo = 5").toString(), QStringLiteral("قديم"));
}

TEST_F(PartyRunTest, TheParentAccountsAreChosenInTheChartOfTheTargetBranch) {
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
  EXPECT_EQ(user().shownWindows(), (QStringList{"FrmBrowseAcc", "FrmBrowseAcc", "FrmBrowseAcc"}));
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

  window.EnsureClassByName(QStringLiteral("فئة 'خاصة'"));
  const int id = window.CboClass->currentData().toInt();
  Recordset written;
  written.open("SELECT * FROM Class WHERE ID = ?", MainConnection(), LockType::ReadOnly, {id});
  ASSERT_FALSE(written.eof());
  EXPECT_EQ(written.text("AName"), QStringLiteral("فئة 'خاصة'"));
  EXPECT_EQ(written.text("EName"), " ");
  EXPECT_EQ(written.value("fNo").toInt(), 4);
  EXPECT_EQ(written.value("AccID_Cash_S").toInt(),
            scalar("SELECT AccID_Cash_S FROM Class WHERE BranchID = 1 AND fNo = 1").toInt());
  EXPECT_NE(written.value("AccID_Credit_BR").toInt(), 0);

  MainConnection().execute("DELETE FROM Class WHERE BranchID = 2");
  window.CboBranch->setCurrentIndex(window.CboBranch->findData(2));
  EXPECT_EQ(window.CboClass->count(), 0);
  window.EnsureClassByName(QStringLiteral("فئه1"));
  Recordset first;
  first.open("SELECT * FROM Class WHERE BranchID = 2", MainConnection());
  ASSERT_EQ(first.recordCount(), 1);
  EXPECT_EQ(first.value("fNo").toInt(), 1);
  for (const char* account : {"AccID_Cash_S", "AccID_Credit_S", "AccID_ToBill_S", "AccID_Cash_B",
                              "AccID_Credit_B", "AccID_Cash_SR", "AccID_Credit_SR",
                              "AccID_ToBill_SR", "AccID_Cash_BR", "AccID_Credit_BR"}) {
    EXPECT_EQ(first.value(account).toInt(), 0) << account;
  }
  EXPECT_EQ(window.CboClass->currentData().toInt(), first.value("ID").toInt());
}

TEST_F(ClassesAndAccountsTest, ChildAccountsAreNumberedUnderTheirParentOnce) {
  writeStockFile({});
  auto& window = openWindow();
  const int first = window.CreateChildAccount("1203", QStringLiteral("عميل أ"));
  EXPECT_EQ(window.CreateChildAccount("1203", QStringLiteral("عميل أ")), first);
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {first}).toString(), "1203001");
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE ffather = '1203' AND BranchID = 1"), 1);
  EXPECT_EQ(scalar("SELECT Haves FROM CardAcc WHERE AccNo = '1203' AND BranchID = 1").toInt(), 1);

  MainConnection().execute(
      "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather) VALUES (1, '1203007', 'x', "
      "'1203')");
  const int next = window.CreateChildAccount("1203", QStringLiteral("عميل ب"));
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {next}).toString(), "1203008");

  const int orphan = window.CreateChildAccount("77", QStringLiteral("بلا أب"));
  Recordset account;
  account.open("SELECT * FROM CardAcc WHERE ID = ?", MainConnection(), LockType::ReadOnly,
               {orphan});
  ASSERT_FALSE(account.eof());
  EXPECT_EQ(account.text("AccNo"), "77001");
  EXPECT_EQ(account.text("ffather"), "77");
  EXPECT_EQ(account.value("ftype").toInt(), 0);
  EXPECT_EQ(account.value("debit").toInt(), 0);
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
