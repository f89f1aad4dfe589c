// The lines, totals and discount routines of the document windows, driven
// through the windows' controls.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "host/forms/FlexGrid.h"
#include "host/forms/Windows.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

using InvoiceLinesTest = PostingTest;

double sumOfColumn(const FlexGrid& grid, int col) {
  double sum = 0;
  for (int row = 1; row < grid.rows(); ++row) sum += Val(grid.textMatrix(row, col));
  return sum;
}

// An import gives the discount and the net version 1 stored and spreads the
// discount whatever the net shows; a user's Enter in a purchase window
// spreads only a discount the net does not show yet.
TEST_F(InvoiceLinesTest, AnImportAlwaysSpreadsItsDiscountAndADiscountOfZeroResetsTheLines) {
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
    EXPECT_EQ(window->txtDiscount2->text(), "25.00");
    EXPECT_EQ(window->lblAmount->text(), "225.00");
    EXPECT_DOUBLE_EQ(sumOfColumn(*window->Grid1, 7), 25) << "the lines carry the discount";
    EXPECT_EQ(window->Grid1->textMatrix(1, 8), "90.00");
    EXPECT_EQ(window->Grid1->textMatrix(2, 8), "135.00");
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

// The sales spread places shares in whole hundredths by percentage passes:
// one unit over three equal lines places 0.99, and the rest stays unplaced.
TEST_F(InvoiceLinesTest, TheSalesSpreadCanPlace0_99Of1_00OverThreeLines) {
  auto& window = newDocument<FrmInvSales>();
  for (int line = 0; line < 3; ++line) addLine(window, itemA, "1", "10");
  window.txtDiscount2->setText("1");
  window.SpreadDiscount();
  EXPECT_EQ(window.txtDiscount2->text(), "0.99");
  EXPECT_EQ(window.lblAmount->text(), "29.01");
}

TEST_F(InvoiceLinesTest, AShareLargerThanALinesTotalStopsAtZero) {
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
  EXPECT_EQ(window.txtDiscount2->text(), "250.00");
  EXPECT_EQ(window.lblAmount->text(), "0.00");

  auto& purchase = newDocument<FrmInvBuy>();
  addLine(purchase, itemA, "2", "50");
  purchase.txtDiscount2->setText("120");
  purchase.txtDiscount2_KeyPress(13);
  EXPECT_EQ(purchase.Grid1->textMatrix(1, 8), "0.00") << "never below zero";
  EXPECT_EQ(purchase.Grid1->textMatrix(1, 7), "100.00");
}

TEST_F(InvoiceLinesTest, SpreadsUnevenDiscountsExactly) {
  for (InvoiceWindow* window : std::initializer_list<InvoiceWindow*>{&newDocument<FrmInvSales>(),
                                                                     &newDocument<FrmInvBuy>()}) {
    SCOPED_TRACE(window->objectName().toStdString());
    addLine(*window, itemA, "3", "33.33");
    addLine(*window, itemB, "1", "10.01");
    addLine(*window, itemB, "7", "1.07");
    window->txtDiscount2->setText("10.05");
    window->txtDiscount2_KeyPress(13);
    EXPECT_EQ(window->txtDiscount2->text(), "10.05");
    EXPECT_NEAR(sumOfColumn(*window->Grid1, 7), 10.05, 1e-9);
    EXPECT_EQ(window->lblTotal->text(), "117.49");
    EXPECT_EQ(window->lblAmount->text(), "107.44");
  }
}

TEST_F(InvoiceLinesTest, TheUserTypesLinesIntoTheGrid) {
  auto& window = newDocument<FrmInvSales>();
  FlexGrid& grid = *window.Grid1;
  EXPECT_EQ(grid.rows(), 2);
  EXPECT_EQ(grid.textMatrix(0, 4), QStringLiteral("الكمية"));
  EXPECT_TRUE(grid.isColumnHidden(11));
  grid.item(1, 1)->setText("A1");  // typed into the cell
  EXPECT_EQ(grid.textMatrix(1, 2), QStringLiteral("قلم"));
  EXPECT_EQ(grid.textMatrix(1, 4), "1");
  EXPECT_EQ(grid.textMatrix(1, 5), "50.00");
  EXPECT_EQ(grid.textMatrix(1, 11), QString::number(itemA));
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
