// The frame of the posting windows: loading, the add button, the button
// states, the keyboard and the undo question.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "host/forms/FlexGrid.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "tests/posting/PostingTest.h"

namespace qalvoro::test {
namespace {

using PostingFrameTest = PostingTest;

TEST_F(PostingFrameTest, LoadReadsTheCalendarAndTheAddButtonStartsADocument) {
  MainConnection().execute("UPDATE SysInfo SET CalndrType = 1, CalndrAutoChange = TRUE");
  user().setNow(QDateTime(QDate(2026, 3, 20), QTime(9, 5)));
  auto& window = windows().get<FrmInvSales>();
  window.load();
  EXPECT_EQ(globals().CalendarType, 1);
  EXPECT_EQ(window.txtDate1->calendarType(), 1);
  EXPECT_TRUE(window.txtDate1->autoChange());
  ASSERT_EQ(window.CboPayment->count(), 2);
  EXPECT_EQ(window.CboPayment->itemText(1), QStringLiteral("آجل"));
  EXPECT_TRUE(window.Cmd_Add->isEnabled());
  EXPECT_FALSE(window.Cmd_Save->isEnabled());
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("خروج  Esc"));

  window.setBranchID(1);
  window.OpenMyRec();
  window.txtPartyName->setText("old");
  window.Cmd_Add->click();
  EXPECT_EQ(window.mode(), "Add");
  EXPECT_EQ(window.PartyID(), -1);
  EXPECT_EQ(window.txtPartyNo->text(), "0");
  EXPECT_EQ(window.txtPartyName->text(), "");
  EXPECT_EQ(window.txtDate1->text(), "1447/10/01") << "today in the Hijri calendar";
  EXPECT_EQ(window.txtTime1->text(), "09:05");
  EXPECT_EQ(window.lblTotal->text(), "0.00");
  EXPECT_EQ(window.txtDiscount2->text(), "0");
  EXPECT_EQ(window.Grid1->row(), 1);
  EXPECT_EQ(window.Cmd_Exit->text(), QStringLiteral("تراجع Esc"));
  EXPECT_TRUE(window.Cmd_Save->isEnabled());
  EXPECT_TRUE(window.FrameGrid->isEnabled());

  window.Cmd_Exit->click();  // the invoice windows hide and empty their tag
  EXPECT_TRUE(tagOf(window).isEmpty());
  EXPECT_TRUE(window.isHidden());

  auto& purchase = newDocument<FrmInvBuy>();
  EXPECT_EQ(purchase.txtPartyNo->text(), "");
  EXPECT_EQ(purchase.txtPartyNo->objectName(), "txtProvNo");
  EXPECT_EQ(window.txtPartyNo->objectName(), "txtCusNo");
}

TEST_F(PostingFrameTest, TheReturnWindowsAnswerTheirKeysAndAskBeforeUndoing) {
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

  auto& sales = newDocument<FrmInvSales>();
  QTest::keyClick(&sales, Qt::Key_Escape);
  EXPECT_EQ(sales.mode(), "Add") << "Esc is not a key of the sales invoice window";
}

}  // namespace
}  // namespace qalvoro::test
