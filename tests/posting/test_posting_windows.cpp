// Reading, rounding and showing amounts, and the posting windows driven by
// a user: keys, undo, a voucher typed in, lines, totals and discounts.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <tuple>
#include <utility>

#include "host/db/DbError.h"
#include "host/forms/FlexGrid.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/Numbers.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

TEST(NumbersTest, ValReadsTheLeadingNumber) {
  // Blanks are skipped anywhere, a comma ends the number, four hexadecimal
  // digits read as a 16-bit integer.
  // clang-format off
  const std::pair<const char*, double> cases[] = {
      {"  12.5abc", 12.5}, {"1 615 198th Street", 1615198}, {"-3.25", -3.25}, {"+.5", 0.5},
      {"1.5E3x", 1500}, {"2e", 2}, {"25.00%", 25}, {"abc", 0}, {"", 0}, {".", 0},
      {"&HFF", 255}, {"&HFFFF", -1}, {"&O17", 15}, {"1,234", 1}};
  // clang-format on
  for (const auto& [text, value] : cases) EXPECT_EQ(Val(text), value) << text;
}

TEST(NumbersTest, IntegerConversionRoundsHalvesToEven) {
  const std::pair<double, qint32> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.51, 3}, {2147483647.4, 2147483647}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(CLng(value), rounded) << value;
  EXPECT_EQ(CLng(QStringLiteral("3.5")) + CLng(QStringLiteral("")), 4);
  for (const double overflow : {2147483647.5, -3e9})
    EXPECT_EQ(errorOf([overflow] { CLng(overflow); }), 6) << overflow;
}

TEST(NumbersTest, CurrencyKeepsFourDecimalsHalvesToEven) {
  EXPECT_EQ(Currency::fromDouble(1.23456).tenThousandths(), 12346);
  EXPECT_EQ(Currency::fromDouble(0.00005).tenThousandths(), 0) << "half to the even 0";
  EXPECT_EQ(Currency::fromDouble(0.00015).tenThousandths(), 2) << "half to the even 2";
  EXPECT_EQ(Currency::fromDouble(-0.00015).tenThousandths(), -2);
  EXPECT_EQ(Currency::fromText("12.5 kg").toDouble(), 12.5);
  Currency sum;
  for (int i = 0; i < 10; ++i) sum += Currency::fromText("0.1");
  EXPECT_EQ(sum.tenThousandths(), 10000) << "ten tenths add up to exactly one";
  EXPECT_EQ((Currency::fromDouble(5) - Currency::fromDouble(7.25)).toDouble(), -2.25);
  EXPECT_THROW(Currency::fromDouble(1e16), DbError);
}

TEST(NumbersTest, GeneralNumberShowsFifteenSignificantDigits) {
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {25, "25"}, {0.5, "0.5"}, {-12.125, "-12.125"}, {0, "0"}, {-0.0, "0"}, {1200, "1200"},
      {0.0012, "0.0012"}, {0.1 + 0.2, "0.3"}, {250.0 / 100 * 10, "25"}, {1e16, "1E+16"},
      {1.5e-20, "1.5E-20"}};
  // clang-format on
  for (const auto& [value, text] : cases) EXPECT_EQ(GeneralNumber(value), text) << value;
}

// Rounded on the decimal value (2.345 is stored just below it), halves away
// from zero; a zero result has no sign.
TEST(NumbersTest, FormatRoundsTheDecimalValueHalvesAwayFromZero) {
  // clang-format off
  const std::tuple<double, const char*, const char*> cases[] = {
      {2.345, "0.00", "2.35"}, {-2.345, "0.00", "-2.35"}, {2.5, "0", "3"},
      {1.0005, "0.000", "1.001"}, {0.125, "0.00", "0.13"}, {0, "0.00", "0.00"},
      {-0.001, "0.00", "0.00"}, {0.005, "0.00", "0.01"}, {9.999, "0.00", "10.00"},
      {1234567.891, "0.000", "1234567.891"}, {0.0004, "0.000", "0.000"}};
  // clang-format on
  for (const auto& [value, format, text] : cases) EXPECT_EQ(Format(value, format), text) << value;
}

using PostingWindowTest = PostingTest;

double sumOfColumn(const FlexGrid& grid, int col) {
  double sum = 0;
  for (int row = 1; row < grid.rows(); ++row) sum += Val(grid.textMatrix(row, col));
  return sum;
}

TEST_F(PostingWindowTest, TheInvoiceWindowsStartDocumentsAnswerKeysAndAskBeforeUndoing) {
  auto& window = windows().get<FrmInvBuy_R>();
  window.load();
  window.setBranchID(1);
  window.OpenMyRec();
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(window.mode(), "") << "F5 does nothing while the save button is disabled";
  QTest::keyClick(&window, Qt::Key_F2);
  ASSERT_EQ(window.mode(), "Add");
  EXPECT_EQ(window.txtDate1->findChild<QLineEdit*>()->text(), "2026/01/01")
      << "a right-to-left window shows the date's parts in their order";
  EXPECT_EQ(window.txtTime1->findChild<QLineEdit*>()->text(), "12:00");
  window.txtfNo->setText("9");
  addLine(window, itemA, "2", "10");

  user().queueAnswer(7);  // No
  QTest::keyClick(&window, Qt::Key_Escape);
  ASSERT_EQ(user().messages().size(), 1u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("هل تريد التراجع حقاً ؟"));
  EXPECT_EQ(user().messages()[0].style, 4 | 32 | 256 | 0x180000);
  EXPECT_EQ(window.mode(), "Add") << "No keeps the document";
  user().queueAnswer(6);  // Yes
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(window.mode(), "");
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  EXPECT_FALSE(window.FrameGrid->isEnabled());
  EXPECT_EQ(count("SELECT COUNT(*) FROM RBuyInvoice"), 0);

  QTest::keyClick(&window, Qt::Key_F2);
  window.txtfNo->setText("9");
  addLine(window, itemA, "2", "10");
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(count("SELECT COUNT(*) FROM RBuyInvoice"), 1);
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("خروج  Esc"));

  QTest::keyClick(&window, Qt::Key_Escape);  // idle: the window unloads
  EXPECT_FALSE(window.isLoaded());
  EXPECT_EQ(user().messages().size(), 2u);

  // The add button of an invoice window empties the party, the totals and
  // the grid; Esc is not a key of the sales window, whose exit hides it.
  auto& sales = windows().get<FrmInvSales>();
  sales.load();
  EXPECT_EQ(sales.CboPayment->count(), 2);
  EXPECT_FALSE(sales.Cmd_Save->isEnabled());
  sales.setBranchID(1);
  sales.OpenMyRec();
  sales.txtPartyName->setText("old");
  sales.Cmd_Add->click();
  QTest::keyClick(&sales, Qt::Key_Escape);
  EXPECT_EQ(
      QStringList({sales.mode(), QString::number(sales.PartyID()), sales.txtPartyNo->text(),
                   sales.txtPartyName->text(), sales.lblTotal->text(), sales.txtDiscount2->text(),
                   QString::number(sales.Grid1->row()), sales.Cmd_Exit->text()}),
      QStringList({"Add", "-1", "0", "", "0.00", "0", "1", QStringLiteral("تراجع Esc")}));
  EXPECT_TRUE(sales.Cmd_Save->isEnabled() && sales.FrameGrid->isEnabled());
  sales.Cmd_Exit->click();
  EXPECT_TRUE(tagOf(sales).isEmpty());
  EXPECT_TRUE(sales.isHidden());
  EXPECT_EQ(newDocument<FrmInvBuy>().txtPartyNo->text(), "") << "a purchase has no party number";
}

// The window shows and takes dates in the Hijri calendar; what it stores is
// the day chosen, in the Gregorian form the rest of the system reads.
TEST_F(PostingWindowTest, AUserTypesAHijriVoucherThatIsStoredInTheGregorianForm) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1, CalndrAutoChange = TRUE");
  MainConnection().execute("INSERT INTO Bank (AName, EName) VALUES (?, 'Trade Bank')",
                           {QStringLiteral("بنك التجارة")});
  user().setNow(QDateTime(QDate(2026, 3, 20), QTime(9, 5)));
  auto& window = windows().get<FrmReceipt>();
  window.load();
  EXPECT_EQ(window.txtBillDate->calendarType(), 1);
  EXPECT_TRUE(window.txtBillDate->autoChange());
  ASSERT_EQ(window.CboType->count(), 2);
  ASSERT_EQ(window.CboBank->count(), 1);

  window.setBranchID(1);
  window.OpenMyRec();
  EXPECT_FALSE(window.Frame3->isEnabled()) << "idle after OpenMyRec";
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.txtName->setText("old");
  window.CboBank->setCurrentIndex(0);
  QTest::mouseClick(window.Cmd_Add, Qt::LeftButton);
  EXPECT_EQ(window.txtName->text() + window.CboBank->currentText(), "");
  EXPECT_EQ(window.txtDate1->text() + ' ' + window.txtTime1->text(), "1447/10/01 09:05")
      << "today in the Hijri calendar";
  EXPECT_TRUE(window.Frame3->isEnabled());
  EXPECT_TRUE(window.txtfNo->hasFocus());
  QTest::keyClicks(window.txtfNo, "12");
  window.txtName->setFocus();
  window.txtfNo->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(window.txtfNo->selectedText(), "12") << "the number is selected when it gets the focus";
  window.txtName->setFocus();
  QTest::keyClicks(window.txtName, "Al 'Noor' Est.");
  QTest::keyClicks(window.txtMoney1, "750.5");
  window.CboType->setFocus();
  QTest::keyClick(window.CboType, Qt::Key_Down);
  QTest::keyClick(window.CboType, Qt::Key_Return);
  EXPECT_FALSE(window.CboType->hasFocus()) << "Enter moves on";
  QTest::keyClicks(window.txtBillNo, "CH-9'1");
  window.txtBillDate->setText("1447/10/15");
  window.CboBank->setCurrentIndex(0);
  QTest::keyClicks(window.txtDetails, "On account");
  window.setCashierAccID(31);
  window.setFrom_AccNoID(44);
  QTest::mouseClick(window.Cmd_Save, Qt::LeftButton);
  ASSERT_FALSE(window.lastSaveFailed()) << window.saveFailure()->description().toStdString();
  EXPECT_EQ(JoinedRows("SELECT ReceiptNo, fDate, fTime, AccIDTo, fCheque, ftype, BillNo, BillDate "
                       "FROM Receipt WHERE ID = ?",
                       {window.savedId()}),
            "12|2026/03/20|09:05|31|750.5|1|CH-9'1|2026/04/03");
  EXPECT_EQ(JoinedRows("SELECT From_AccNoID, fPayer, BankID, Details, BillDate FROM ReceiptDetails "
                       "WHERE ReceiptID = ?",
                       {window.savedId()}),
            QString("44|Al 'Noor' Est.|%1|On account|2026/04/03")
                .arg(scalar("SELECT ID FROM Bank").toInt()));

  QTest::keyClick(&window, Qt::Key_Escape);  // idle: the window unloads
  EXPECT_FALSE(window.isLoaded());
  EXPECT_TRUE(user().messages().empty());
}

// An import spreads the discount version 1 stored whatever the net shows; a user's Enter in a
// purchase window spreads only a discount the net does not show yet.
TEST_F(PostingWindowTest, AnImportAlwaysSpreadsItsDiscountAndADiscountOfZeroResetsTheLines) {
  for (InvoiceWindow* window : std::initializer_list<InvoiceWindow*>{
           &newDocument<FrmInvSales>(), &newDocument<FrmInvBuy>(), &newDocument<FrmInvSales_R>(),
           &newDocument<FrmInvBuy_R>()}) {
    SCOPED_TRACE(window->objectName().toStdString());
    addLine(*window, itemA, "2", "50");
    addLine(*window, itemB, "6", "25");
    EXPECT_EQ(window->lblTotal->text(), "250.00");
    window->txtDiscount2->setText("10%");
    window->lblAmount->setText("225");
    window->SpreadDiscount();
    EXPECT_EQ(window->txtDiscount2->text() + ' ' + window->lblAmount->text(), "25.00 225.00");
    EXPECT_DOUBLE_EQ(sumOfColumn(*window->Grid1, 7), 25) << "the lines carry the discount";
    EXPECT_EQ(window->Grid1->textMatrix(1, 8) + ' ' + window->Grid1->textMatrix(2, 8),
              "90.00 135.00");
    window->txtDiscount2->setText("0");
    QTest::keyClick(window->txtDiscount2, Qt::Key_Return);  // the user presses Enter
    for (int row = 1; row <= 2; ++row) {
      EXPECT_EQ(Val(window->Grid1->textMatrix(row, 7)), 0) << "row " << row;
      EXPECT_EQ(window->Grid1->textMatrix(row, 8), window->Grid1->textMatrix(row, 6));
    }
    EXPECT_EQ(window->lblAmount->text(), "250.00");
  }
  auto& sales = windows().get<FrmInvSales>();
  sales.txtDiscount2->setText("10%");
  sales.txtDiscount2_KeyPress(13);
  EXPECT_EQ(sales.lblDiscount->text(), "10.00");
  EXPECT_EQ(sales.Grid1->textMatrix(1, 13), "45.00") << "actual unit price after the discount";
  auto& purchase = windows().get<FrmInvBuy>();
  purchase.txtDiscount2->setText("25");
  purchase.lblAmount->setText("225");
  purchase.txtDiscount2_KeyPress(13);
  EXPECT_EQ(purchase.lblAmount->text(), "250.00") << "Enter finds the discount already shown";
}

// A share larger than a line's total stops at zero; uneven discounts are placed
// exactly; the sales spread places whole hundredths: 0.99 of 1.00 over three lines.
TEST_F(PostingWindowTest, TheSpreadStopsAtZeroAndPlacesUnevenDiscountsExactly) {
  auto& window = newDocument<FrmInvSales>();
  addLine(window, itemA, "2", "50");
  addLine(window, itemB, "6", "25");
  window.txtDiscount2->setText("300");
  window.txtDiscount2_KeyPress(13);
  for (int row = 1; row <= 2; ++row) {
    EXPECT_EQ(window.Grid1->textMatrix(row, 8), "0.00");
    EXPECT_EQ(Val(window.Grid1->textMatrix(row, 7)), Val(window.Grid1->textMatrix(row, 6)));
    EXPECT_TRUE(window.Grid1->textMatrix(row, 0).endsWith('*'));
    EXPECT_EQ(window.Grid1->textMatrix(row, 0).count('*'), 1) << "no further share";
  }
  EXPECT_EQ(window.txtDiscount2->text() + ' ' + window.lblAmount->text(), "250.00 0.00");
  auto& purchase = newDocument<FrmInvBuy>();
  addLine(purchase, itemA, "2", "50");
  purchase.txtDiscount2->setText("120");
  purchase.txtDiscount2_KeyPress(13);
  EXPECT_EQ(purchase.Grid1->textMatrix(1, 8), "0.00") << "never below zero";
  EXPECT_EQ(purchase.Grid1->textMatrix(1, 7), "100.00");
  window.unload();
  purchase.unload();
  for (InvoiceWindow* uneven : std::initializer_list<InvoiceWindow*>{&newDocument<FrmInvSales>(),
                                                                     &newDocument<FrmInvBuy>()}) {
    SCOPED_TRACE(uneven->objectName().toStdString());
    addLine(*uneven, itemA, "3", "33.33");
    addLine(*uneven, itemB, "1", "10.01");
    addLine(*uneven, itemB, "7", "1.07");
    uneven->txtDiscount2->setText("10.05");
    uneven->txtDiscount2_KeyPress(13);
    EXPECT_EQ(uneven->txtDiscount2->text(), "10.05");
    EXPECT_NEAR(sumOfColumn(*uneven->Grid1, 7), 10.05, 1e-9);
    EXPECT_EQ(uneven->lblTotal->text() + ' ' + uneven->lblAmount->text(), "117.49 107.44");
  }
  windows().get<FrmInvSales>().unload();
  auto& thirds = newDocument<FrmInvSales>();
  for (int line = 0; line < 3; ++line) addLine(thirds, itemA, "1", "10");
  thirds.txtDiscount2->setText("1");
  thirds.SpreadDiscount();
  EXPECT_EQ(thirds.txtDiscount2->text() + ' ' + thirds.lblAmount->text(), "0.99 29.01");
}

TEST_F(PostingWindowTest, TheUserTypesLinesIntoTheGrid) {
  auto& window = newDocument<FrmInvSales>();
  FlexGrid& grid = *window.Grid1;
  EXPECT_EQ(grid.rows(), 2);
  EXPECT_TRUE(grid.isColumnHidden(11));
  grid.item(1, 1)->setText("A1");  // typed into the cell
  EXPECT_EQ(QStringList({grid.textMatrix(1, 2), grid.textMatrix(1, 4), grid.textMatrix(1, 5),
                         grid.textMatrix(1, 11)}),
            QStringList({QStringLiteral("قلم"), "1", "50.00", QString::number(itemA)}));
  EXPECT_EQ(grid.rows(), 3) << "a new entry row";
  grid.item(1, 4)->setText("4");
  EXPECT_EQ(grid.textMatrix(1, 6), "200.00");
  EXPECT_EQ(grid.textMatrix(1, 10), "4");
  EXPECT_EQ(window.lblAmount->text(), "200.00");
  grid.item(2, 1)->setText("nothing");
  EXPECT_EQ(user().beeps(), 1) << "an unknown item number";
  EXPECT_EQ(grid.rows(), 3);
}

}  // namespace
}  // namespace qalvoro::test
