// The catalogue window: the file, branches, tabs, browsing, runs and filter.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/Tarmin_Calander3.h"
#include "tests/catalogue/CatalogueTest.h"
#include "tests/support/RowTexts.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro::test {
namespace {

const QString kEmpty = QStringLiteral("فارغ");

QString position(int record, int total) {
  return QStringLiteral("%1 من %2").arg(record).arg(total);
}

StockRows threeItems() {
  StockRows rows;
  rows.items = {{.number = "0101"}, {.number = "0102"}, {.number = "0103"}};
  return rows;
}

using CatalogueWindowTest = CatalogueTest;

TEST_F(CatalogueWindowTest, LoadsClosedOpensTheFileBrowsesEachTabAndTabKeepsToTheShowingTab) {
  StockRows rows = threeItems();
  rows.customers = {{.number = 1, .name = "a"}, {.number = 2, .name = "b"}};
  rows.sales = {{.number = 9, .date = on(5, 1)},
                {.number = 10, .date = on(2, 1)},
                {.number = 11, .date = on(3, 1), .branch = 2}};
  writeStockFile(rows);
  auto& window = windows().get<FrmCat_Restore>();
  window.load();
  EXPECT_TRUE(window.OptType[0]->isChecked() && window.ChkClass->isChecked());
  EXPECT_EQ(window.txtOldDBFile->text(), appPath() + "STOCK001.MDB");
  EXPECT_FALSE(window.CmdFilter->isEnabled() || window.CmdImport->isEnabled());
  EXPECT_EQ(window.CboBranch->currentData().toInt(), 1);
  EXPECT_EQ(window.CboClass->count(), 3) << "the classes of branch 1";
  window.SSTab1->setCurrentTab(kCustomersTab);
  EXPECT_EQ(window.Lb_CurRec->text(), kEmpty) << "no branch chosen: nothing is loaded";
  window.SSTab1->setCurrentTab(kItemsTab);

  window.txtOldDBFile->setText(folder() + "/NOSUCH.MDB");
  window.CmdOpenOldDB->click();
  EXPECT_EQ(user().messageTexts(),
            QStringList{QStringLiteral("ملف قاعدة بيانات الإصدار الأول غير موجود")});
  EXPECT_FALSE(window.source().isOpen());

  // The folder search: a one-character answer is ignored, a folder opened.
  user().queueWindow([](QWidget& seek) { setTag(seek, "x"); });
  window.CmdDialog->click();
  EXPECT_FALSE(window.source().isOpen());
  EXPECT_EQ(windows().get<WinSeek>().filList->pattern(), "Stock001.mdb");
  user().queueWindow([this](QWidget& seek) { setTag(seek, folder()); });
  window.CmdDialog->click();
  EXPECT_EQ(window.txtOldDBFile->text(), folder() + "/STOCK001.MDB");
  ASSERT_TRUE(window.source().isOpen());
  EXPECT_EQ(window.CboOldBranch->currentData().toInt(), 1);
  EXPECT_TRUE(window.CmdFilter->isEnabled() && window.CmdImportAll->isEnabled());
  EXPECT_EQ(window.TxtCategoryNo->text(), "0101");

  window.Cmd_Next->click();
  EXPECT_EQ(window.Lb_CurRec->text(), position(2, 3));
  window.Cmd_Last->click();
  window.Cmd_Next->click();
  EXPECT_EQ(window.TxtCategoryNo->text() + ' ' + window.Lb_CurRec->text(),
            "0103 " + position(3, 3));
  window.Cmd_First->click();
  window.Cmd_Pre->click();
  EXPECT_EQ(window.Lb_CurRec->text(), position(1, 3));
  EXPECT_EQ(user().beeps(), 0);

  window.SSTab1->setCurrentTab(kCustomersTab);
  EXPECT_EQ(window.txtCustomerName->text() + ' ' + window.Lb_CurRec->text(), "a " + position(1, 2));
  window.SSTab1->setCurrentTab(kProvidersTab);
  EXPECT_EQ(window.Lb_CurRec->text(), kEmpty);
  EXPECT_FALSE(window.CmdImport->isEnabled() || window.Cmd_First->isEnabled());
  window.SSTab1->setCurrentTab(kSalesTab);
  EXPECT_EQ(window.Lb_CurRec->text(), position(1, 2)) << "the invoices of branch 1";
  EXPECT_EQ(window.version1Rows().value(QStringLiteral("رقم_الفاتورة")).toInt(), 10)
      << "sorted by date";
  EXPECT_EQ(window.CboCashier[0]->count(), 2);
  EXPECT_EQ(window.CboCashier[0]->currentIndex(), -1) << "a list without a choice keeps none";
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(2));
  EXPECT_EQ(window.Lb_CurRec->text(), position(1, 1));

  // The item options steer each other.
  window.SSTab1->setCurrentTab(kItemsTab);
  window.show();
  window.OptType[1]->setChecked(true);
  EXPECT_FALSE(window.TxtAQuantity->isVisible() || window.TxtRPoint->isVisible());
  EXPECT_TRUE(window.TxtCostPrice->isVisible());
  window.OptType[0]->setChecked(true);
  EXPECT_TRUE(window.TxtIQuantity->isVisible());
  window.ChkProvider->setChecked(true);
  EXPECT_FALSE(window.ChkClass->isChecked() || window.txtTasneef->isEnabled());
  EXPECT_TRUE(window.CboClass->isEnabled());
  window.ChkClass->setChecked(true);
  EXPECT_FALSE(window.ChkProvider->isChecked() || window.CboClass->isEnabled());
  window.CboClass->setEnabled(true);
  QTest::keyClick(window.CboClass, Qt::Key_Return);
  EXPECT_EQ(user().sentKeys(), QStringList{"Tab"});

  // Tab walks the showing tab and the window's buttons, never other tabs.
  window.SSTab1->setCurrentTab(kSalesTab);
  QApplication::setActiveWindow(&window);
  window.TxtSalesNo->setFocus();
  QSet<QWidget*> reached;
  for (int press = 0; press < 300 && !reached.contains(QApplication::focusWidget()); ++press) {
    reached << QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  for (QWidget* control : reached) {
    EXPECT_TRUE(window.rect().contains(control->mapTo(&window, QPoint(0, 0))))
        << control->objectName().toStdString() << " is out of sight";
  }
  for (QWidget* control : std::initializer_list<QWidget*>{window.Cmd_First, window.CmdImport,
                                                          window.Cmd_Exit, window.CboCashier[0]}) {
    EXPECT_TRUE(reached.contains(control)) << control->objectName().toStdString();
  }
  window.hide();

  window.CmdOpenOldDB->click();
  EXPECT_FALSE(window.source().isOpen());
  EXPECT_EQ(window.CboOldBranch->count(), 0);
  EXPECT_FALSE(window.CmdFilter->isEnabled() || window.CmdImport->isEnabled() ||
               window.Cmd_Next->isEnabled());
  EXPECT_EQ(window.Lb_CurRec->text(), kEmpty);
}

TEST_F(CatalogueWindowTest, StopCancelAndClosingLeaveTheRecordInHandAndTheBarGrowsPerRecord) {
  StockRows rows;
  rows.items = {{.number = "1"}, {.number = "2"}, {.number = "3"}, {.number = "4"}};
  writeStockFile(rows);
  auto& window = openWindow();
  int yields = 0;
  user().onDoEvents([&] {
    if (++yields == 3) window.CmdStop->click();  // at the second record
  });
  window.CmdImportAll->click();
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), 1);
  EXPECT_EQ(rowsLeft("الاصناف"), 3);
  EXPECT_EQ(window.TxtCategoryNo->text(), "2");
  EXPECT_EQ(window.overwriteAnswer(), -1);

  // An existing item answered with Cancel ends the next run the same way.
  user().onDoEvents({});
  MainConnection().execute(
      "INSERT INTO Category (CategoryNo, BranchID, AName) VALUES ('3', 1, 'old')");
  answer(&FrmOverWrite::CmdCancel);
  window.CmdImportAll->click();
  EXPECT_EQ(rowsLeft("الاصناف"), 2);
  EXPECT_EQ(window.TxtCategoryNo->text(), "3");
  EXPECT_EQ(scalar("SELECT AName FROM Category WHERE CategoryNo = '3'").toString(), "old");

  // A new run goes to the end, its bar growing per record from the right.
  QList<int> widths;
  user().onDoEvents([&] {
    const QRect bar = twipsGeometry(*window.ShapeIN[1]);
    if (widths.isEmpty() || widths.last() != bar.width()) widths << bar.width();
    EXPECT_EQ(bar.left() + bar.width(), 6120);
    EXPECT_TRUE(window.CmdStop->isEnabled() && !window.SSTab1->isEnabled());
  });
  answer(&FrmOverWrite::CmdYes);
  window.CmdImportAll->click();
  EXPECT_EQ(widths, (QList<int>{3000, 6000}));
  EXPECT_EQ(twipsGeometry(*window.ShapeIN[1]).width(), 15);
  EXPECT_EQ(rowsLeft("الاصناف"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category WHERE BranchID = 1"), 4);
  EXPECT_EQ(window.Lb_CurRec->text(), kEmpty);
  EXPECT_TRUE(!window.CmdStop->isEnabled() && window.SSTab1->isEnabled());
  EXPECT_EQ(window.overwriteAnswer(), -1);

  // Closing the window during a run stops it as the stop button does.
  MainConnection().execute("DELETE FROM Category");
  reopen(window, kItemsTab);
  yields = 0;
  user().onDoEvents([&] {
    if (++yields != 3) return;
    window.close();
    EXPECT_TRUE(window.source().isOpen()) << "the file stays open until the run has ended";
    window.CmdImport->click();  // disabled during the run: nothing happens
  });
  window.CmdImportAll->click();
  user().onDoEvents({});
  EXPECT_EQ(count("SELECT COUNT(*) FROM Category"), 1);
  EXPECT_TRUE(window.isUnloaded());
  EXPECT_FALSE(window.source().isOpen());

  auto& next = openWindow();
  QTest::keyClick(&next, Qt::Key_Escape);
  EXPECT_FALSE(next.source().isOpen());
  EXPECT_TRUE(next.isUnloaded());
}

QString numbersLeft(FrmCat_Restore& window, const QString& table, const QString& column) {
  return RowTexts("SELECT " + column + " FROM " + table + " ORDER BY 1", {},
                  window.source().database())
      .join(' ');
}

// Documents of the branch outside the period leave; both bound days stay.
TEST_F(CatalogueWindowTest, TheDateFilterKeepsBothBoundDaysAndTheChosenBranch) {
  StockRows rows = threeItems();
  rows.sales = {{.number = 1, .date = on(1, 1)},
                {.number = 2, .date = on(1, 2)},
                {.number = 3, .date = on(6, 15)},
                {.number = 4, .date = on(12, 30)},
                {.number = 5, .date = on(12, 31, QTime(10, 30))},
                {.number = 6, .date = QDateTime(QDate(2002, 12, 31), QTime(23, 59))},
                {.number = 7, .date = on(12, 31), .branch = 2}};
  rows.purchases = rows.sales;
  for (const DocumentRow& document : rows.sales) {
    rows.vouchers.push_back(
        {.number = document.number, .date = document.date, .branch = document.branch});
  }
  writeStockFile(rows);
  // Runs the filter with the dates; the dialog must offer the period offered.
  const auto filter = [this](FrmCat_Restore& window, const QString& from, const QString& to,
                             const QStringList& offered = {}) {
    user().queueWindow([=](QWidget& dialog) {
      auto& filter = static_cast<FrmFilter&>(dialog);
      if (!offered.isEmpty()) {
        EXPECT_EQ(QStringList({filter.txtDate1->text(), filter.txtDate2->text()}), offered);
      }
      filter.txtDate1->setText(from);
      filter.txtDate2->setText(to);
      filter.CmdOK->click();
    });
    window.CmdFilter->click();
  };
  auto& window = openWindow(1, kSalesTab);
  filter(window, "2003/01/02", "2003/12/31");
  EXPECT_EQ(window.SSTab1->currentTab(), kItemsTab);
  EXPECT_FALSE(windows().exists<FrmFilter>());
  for (const auto& [table, column] :
       {std::pair{"ف_مبيعات", "رقم_الفاتورة"}, std::pair{"ف_مشتروات", "رقم_الفاتورة"},
        std::pair{"السندات", "رقم_السند"}}) {
    EXPECT_EQ(numbersLeft(window, table, column), "2 3 4 5 7") << table;
  }
  EXPECT_EQ(rowsLeft("الاصناف"), 3);
  EXPECT_EQ(window.lblFilter->text(), QStringLiteral("الفترة : 2003/01/02 - 2003/12/31"));

  // The next filter offers that period; a cancel changes nothing.
  user().queueWindow([](QWidget& dialog) { static_cast<FrmFilter&>(dialog).CmdCancel->click(); });
  window.CmdFilter->click();
  EXPECT_EQ(rowsLeft("ف_مبيعات"), 4);
  filter(window, "", "2003/06/15", {"2003/01/02", "2003/12/31"});
  EXPECT_EQ(numbersLeft(window, "السندات", "رقم_السند"), "1 2 3 6 7");
  EXPECT_EQ(window.lblFilter->text(), QStringLiteral("الفترة : … - 2003/06/15"));
  window.CmdOpenOldDB->click();
  EXPECT_EQ(window.lblFilter->text(), "") << "a closed file is filtered no more";

  // Another branch stays chosen; a new filter begins with the file's own rows.
  window.CmdOpenOldDB->click();
  window.CboOldBranch->setCurrentIndex(window.CboOldBranch->findData(2));
  filter(window, "2004/01/01", "");
  EXPECT_EQ(window.CboOldBranch->currentData().toInt(), 2);
  EXPECT_EQ(numbersLeft(window, "ف_مبيعات", "رقم_الفاتورة"), "1 2 3 4 5 6");
  filter(window, "", "");
  EXPECT_EQ(numbersLeft(window, "ف_مبيعات", "رقم_الفاتورة"), "1 2 3 4 5 6 7");
}

TEST(StockFileTest, TheFilterReadsTheDayOfEveryStoredForm) {
  const QTemporaryDir folder;
  QFile(folder.filePath("copy.db")).open(QIODevice::WriteOnly);  // an empty database
  Connection copy;
  copy.open(folder.filePath("copy.db"));
  const QStringList stored = {"2002/12/31", "2003/01/01", "2003-1-2 08:00", "2003-03-31T23:59:59",
                              "2003.04.01", "",           "no date"};
  copy.execute("CREATE TABLE ف_مبيعات (n INTEGER, تاريخ_الفاتوره1 TEXT, رقم_الفرع INTEGER)");
  copy.execute("CREATE TABLE ف_مشتروات (تاريخ_الفاتوره1 TEXT, رقم_الفرع INTEGER)");
  copy.execute("CREATE TABLE السندات (التاريخ1 TEXT, رقم_الفرع INTEGER)");
  for (int n = 0; n < stored.size(); ++n) {
    copy.execute("INSERT INTO ف_مبيعات VALUES (?, ?, 1)", {n, stored[n]});
  }
  DeleteDocumentsOutside(copy, 1, QDate(2003, 1, 1), QDate(2003, 3, 31));
  QStringList left;
  for (const QString& n : RowTexts("SELECT n FROM ف_مبيعات ORDER BY n", {}, copy))
    left << stored[n.toInt()];
  EXPECT_EQ(left,
            QStringList({"2003/01/01", "2003-1-2 08:00", "2003-03-31T23:59:59", "", "no date"}));
}

}  // namespace
}  // namespace qalvoro::test
