// Adding, editing and deleting accounts in the account tree, on both engines.

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "browser/ModuleAcc.h"
#include "host/helpers/DbHelpers.h"
#include "tests/browser/BrowserTest.h"

namespace qalvoro::test {
namespace {

constexpr int kNew = 0;
constexpr int kEdit = 1;
constexpr int kDelete = 2;
constexpr int kCritical = 16 | 0x180000;
constexpr int kInformation = 64 | 0x180000;
constexpr int kDeleteQuestion = 4 | 32 | 256 | 0x180000;

class MaintenanceTest : public BrowserEngineTest {
 protected:
  // Selects the account and chooses the menu item; searches by number, so
  // that the search after a change selects the account again.
  static void choose(FrmBrowseAcc& window, const QString& number, int item) {
    window.Option1[1]->setChecked(true);
    window.Combo1->setCurrentIndex(0);
    if (!number.isEmpty()) select(window, number);
    window.MenuAcc[item]->trigger();
  }

  static QString subCards(const QString& number) {
    return scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {number})
        .toString();
  }
  static int haves(const QString& number) {
    return count("SELECT Haves FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {number});
  }
  static int accounts() { return count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1"); }
  static bool cardAccLocked() {
    const QString held = LookupValue("LockTables", "fLocked", "TableName = 'CardAcc'");
    return held == "1" || held.compare("true", Qt::CaseInsensitive) == 0;
  }
  static QString ids(const QStringList& numbers) {
    QStringList list;
    for (const QString& number : numbers) list << QString::number(idOf(number));
    return list.join(',');
  }
};

TEST_P(MaintenanceTest, NewProposesTheNextNumberBelowTheParent) {
  addJournalLine(idOf("1203"));
  browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "", kNew);
    EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("يجب تحديد اسم الحساب الرئيسي")});
    EXPECT_EQ(user().messages().back().style, kInformation);

    choose(window, "1203", kNew);
    ASSERT_EQ(user().messages().size(), 2u);
    EXPECT_EQ(user().messages()[1].text,
              QStringLiteral("رقم الحساب 1203\nلايمكن استخدامه كحساب رئيسي بسبب وجود بعض القيود "
                             "عليه"));
    EXPECT_EQ(user().messages()[1].style, kCritical);
    EXPECT_FALSE(window.FrameAdd->isVisible()) << "refused before the frame opens";

    choose(window, "1204", kNew);
    EXPECT_TRUE(window.FrameAdd->isVisible());
    EXPECT_EQ(window.txtAccNo->text(), "120401") << "the first sub-account";
    EXPECT_EQ(window.focusWidget(), window.txtAccNo);
    EXPECT_EQ(window.lblAccFatherNo->text(), "1204");
    EXPECT_EQ(window.lblAccFatherName->text(), QStringLiteral("المخزون"));
    EXPECT_EQ(twipsGeometry(*window.TreeView1), QRect(120, 2945, 6660, 3750));
    for (QWidget* control :
         std::initializer_list<QWidget*>{window.TreeView1, window.Text1, window.Combo1,
                                         window.Command1, window.Command2, window.Command3}) {
      EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_FALSE(window.MenuAcc[kDelete]->isEnabled());
    window.CmdCancel->click();
    EXPECT_FALSE(window.FrameAdd->isVisible());
    EXPECT_EQ(twipsGeometry(*window.TreeView1), QRect(120, 1140, 6660, 5555));
    EXPECT_TRUE(window.TreeView1->isEnabled() && window.Command2->isEnabled());
    EXPECT_TRUE(window.MenuAcc[kNew]->isEnabled());

    choose(window, "1201", kNew);
    EXPECT_EQ(window.txtAccNo->text(), "120103") << "after 120101 and 120102";
    EXPECT_EQ(window.focusWidget(), window.txtAccNameA);
    window.CmdCancel->click();
    window.MenuAcc[4]->trigger();  // cancel does nothing
    window.Command1->click();
  });
  EXPECT_EQ(user().messages().size(), 2u);
}

TEST_P(MaintenanceTest, SavingANewAccountKeepsCountersAndDescendantLists) {
  const QString name = QStringLiteral("صندوق O'Brien");
  browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "1201", kNew);
    window.txtAccNo->clear();
    window.CmdSave->click();
    window.txtAccNo->setText("120101");
    window.CmdSave->click();
    window.txtAccNameE->setText(" O'Brien's box ");
    window.CmdSave->click();
    EXPECT_EQ(user().messageTexts(), QStringList({QStringLiteral("يجب ادخال رقم حساب"),
                                                  QStringLiteral("يجب إدخال اسم حساب"),
                                                  QStringLiteral("رقم الحساب موجود مسبقاً")}));
    EXPECT_EQ(user().messages()[0].style, kInformation);
    EXPECT_EQ(user().messages()[2].style, kCritical);
    EXPECT_EQ(window.focusWidget(), window.txtAccNo);
    EXPECT_TRUE(window.FrameAdd->isVisible());
    EXPECT_EQ(accounts(), 30);

    window.txtAccNo->setText("120103");
    window.txtAccNameA->setText(name);
    window.CmdSave->click();
    EXPECT_FALSE(window.FrameAdd->isVisible());
    EXPECT_EQ(window.Text1->text(), "1201");
    EXPECT_NE(window.TreeView1->node("R120103"), nullptr) << "the tree was rebuilt";
    EXPECT_EQ(selectedKey(window), "R1201") << "the search found the parent";
    EXPECT_TRUE(window.Command2->isEnabled());
    window.Command1->click();
  });
  EXPECT_EQ(user().messages().size(), 3u);
  const auto row = MainConnection().firstRow(
      "SELECT AccNameA, AccNameE, ffather, ftype, debit, credit, Haves, BranchID "
      "FROM CardAcc WHERE AccNo = '120103'");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->value(0).toString(), name) << "stored unchanged";
  EXPECT_EQ(row->value(1).toString(), "O'Brien's box") << "trimmed";
  EXPECT_EQ(row->value(2).toString(), "1201");
  EXPECT_EQ(row->value(3).toInt(), 0);
  EXPECT_EQ(row->value(4).toInt(), 1) << "the parent's nature";
  EXPECT_EQ(row->value(5).toInt(), 0);
  EXPECT_EQ(row->value(6).toInt(), 0);
  EXPECT_EQ(row->value(7).toInt(), 1);
  EXPECT_EQ(haves("1201"), 3);
  EXPECT_EQ(subCards("1201"), ids({"120101", "120102", "120103"}));
  EXPECT_TRUE(subCards("12").endsWith("," + ids({"120103"})));
  EXPECT_TRUE(subCards("1").endsWith("," + ids({"120103"})));
  EXPECT_FALSE(cardAccLocked());
}

TEST_P(MaintenanceTest, EditingKeepsOrChangesTheNumberOfALeafOnly) {
  const qint64 leaf = idOf("120102");
  browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "12", kEdit);
    EXPECT_TRUE(window.txtAccNo->isReadOnly()) << "an account with sub-accounts";
    EXPECT_EQ(window.lblAccFatherNo->text(), "1");
    EXPECT_EQ(window.lblAccFatherName->text(), QStringLiteral("الأصول"));
    window.CmdCancel->click();

    choose(window, "120102", kEdit);
    EXPECT_FALSE(window.txtAccNo->isReadOnly());
    EXPECT_EQ(window.txtAccNo->text(), "120102");
    EXPECT_EQ(window.txtAccNameE->text(), "Sales cash box");
    window.txtAccNameA->setText(QStringLiteral("صندوق البيع"));
    window.CmdSave->click();
    EXPECT_TRUE(user().messages().empty()) << "its own number is no duplicate";
    EXPECT_EQ(selectedKey(window), "R120102");

    choose(window, "120102", kEdit);
    window.txtAccNo->setText("120101");
    window.CmdSave->click();
    EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("رقم الحساب موجود مسبقاً")});
    window.txtAccNo->setText("120109");
    window.CmdSave->click();
    EXPECT_EQ(window.Text1->text(), "120102") << "the number the edit began with";
    window.Command1->click();
  });
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {leaf}).toString(), "120109");
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE ID = ?", {leaf}).toString(),
            QStringLiteral("صندوق البيع"));
  EXPECT_EQ(haves("1201"), 2);
  EXPECT_EQ(accounts(), 30);
}

TEST_P(MaintenanceTest, DeletingALeafLowersItsParentsCounter) {
  const QString removed = QString::number(idOf("1204"));
  browse(1, [&](FrmBrowseAcc& window) {
    user().queueAnswer(mb::kNo);
    choose(window, "1204", kDelete);
    EXPECT_EQ(accounts(), 30);

    choose(window, "1204", kDelete);  // the default answer is No
    EXPECT_EQ(accounts(), 30);

    user().queueAnswer(mb::kYes);
    choose(window, "1204", kDelete);
    EXPECT_EQ(window.Text1->text(), "12");
    EXPECT_EQ(window.TreeView1->node("R1204"), nullptr);
    EXPECT_EQ(selectedKey(window), "R12") << "the parent is selected";
    window.Command1->click();
  });
  ASSERT_EQ(user().messages().size(), 3u);
  EXPECT_EQ(user().messages()[0].text, QStringLiteral("هل تريد بالتأكيد حذف كرت الحساب الحالي ؟"));
  EXPECT_EQ(user().messages()[0].style, kDeleteQuestion);
  EXPECT_EQ(accounts(), 29);
  EXPECT_EQ(haves("12"), 3);
  EXPECT_EQ(subCards("12"), ids({"1201", "120101", "120102", "1202", "120201", "1203"}));
  EXPECT_FALSE(subCards("1").split(',').contains(removed)) << "the ancestors are refreshed too";
  EXPECT_FALSE(cardAccLocked());
}

TEST_P(MaintenanceTest, DeletingAnAccountWithSubAccountsAsksTwiceAndRemovesAllOfThem) {
  // A chain 14 levels deep below 22.
  QString father = "22";
  for (int level = 1; level <= 14; ++level) {
    const QString number = father + "0";
    addAccount(1, number, QStringLiteral("مستوى %1").arg(level), father);
    father = number;
  }
  browse(1, [&](FrmBrowseAcc& window) {
    for (const int answered : {1, 2}) {
      for (int i = 0; i < answered; ++i) user().queueAnswer(mb::kYes);
      user().queueAnswer(mb::kNo);
      choose(window, "22", kDelete);
      EXPECT_EQ(accounts(), 44) << "No stops the deletion";
    }
    for (int i = 0; i < 3; ++i) user().queueAnswer(mb::kYes);
    choose(window, "22", kDelete);
    window.Command1->click();
  });
  ASSERT_EQ(user().messages().size(), 2u + 3u + 3u);
  EXPECT_EQ(user().messages()[1].text,
            QStringLiteral("هل تريد إزالة هذا الحساب مع جميع الحسابات المتفرعه منه\r"
                           "سيتم إزالة جميع الحركات التي تندرج تحت هذه الحسابات\r"
                           "هل تريد الإستمرار؟"));
  EXPECT_EQ(user().messages()[4].text,
            QStringLiteral("هذه آخر محاولة للتراجع عن عملية الحذف\rهل تريد الإستمرار؟"));
  for (const ShownMessage& message : user().messages()) EXPECT_EQ(message.style, kDeleteQuestion);
  EXPECT_EQ(accounts(), 29) << "22 and the whole chain below it";
  EXPECT_EQ(
      count("SELECT COUNT(*) FROM CardAcc c WHERE c.ffather <> '_' AND NOT EXISTS "
            "(SELECT 1 FROM CardAcc p WHERE p.AccNo = c.ffather AND p.BranchID = c.BranchID)"),
      0)
      << "no account is left without its parent";
  EXPECT_EQ(haves("2"), 1);
  EXPECT_EQ(subCards("2"), ids({"21"}));
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 2"), 30) << "other branch";
}

TEST_P(MaintenanceTest, DeletionIsRefusedForOpeningBalancesAndJournalLines) {
  addJournalLine(idOf("120102"));
  browse(1, [&](FrmBrowseAcc& window) {
    user().queueAnswer(mb::kYes);
    choose(window, "31", kDelete);
    user().queueAnswer(mb::kYes);
    choose(window, "12", kDelete);
    EXPECT_TRUE(window.Text1->text().isEmpty()) << "refused before the search box changes";
    window.Command1->click();
  });
  ASSERT_EQ(user().messages().size(), 4u) << "no question about the sub-accounts";
  EXPECT_EQ(user().messages()[1].text,
            QStringLiteral("يوجد رصيد افتتاحي لهذا الحساب , لايمكن حذفه"));
  EXPECT_EQ(user().messages()[1].style, kCritical);
  EXPECT_EQ(user().messages()[3].text,
            QStringLiteral("رقم الحساب 120102\nلايمكن حذفه بسبب وجود بعض القيود عليه"));
  EXPECT_EQ(user().messages()[3].style, kCritical);
  EXPECT_EQ(accounts(), 30);
  EXPECT_EQ(haves("3"), 2);
  EXPECT_EQ(haves("1"), 2);
}

TEST_P(MaintenanceTest, DatabaseErrorRollsBackAndLeavesTheWindowUsable) {
  MainConnection().execute("ALTER TABLE CardAcc RENAME COLUMN SubCardsID TO SubCardsText");
  browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "1201", kNew);
    window.txtAccNameA->setText(QStringLiteral("صندوق"));
    window.CmdSave->click();
    ASSERT_EQ(user().messages().size(), 1u);
    EXPECT_TRUE(user().messages()[0].text.startsWith("Err:"));
    EXPECT_EQ(user().messages()[0].style, kCritical);
    EXPECT_FALSE(window.FrameAdd->isVisible());
    EXPECT_TRUE(window.TreeView1->isEnabled() && window.Text1->isEnabled());
    EXPECT_EQ(window.TreeView1->nodeCount(), 31) << "the tree was read again";
    EXPECT_EQ(accounts(), 30) << "the account was not added";
    EXPECT_EQ(haves("1201"), 2);
    EXPECT_FALSE(cardAccLocked());

    MainConnection().execute("ALTER TABLE CardAcc RENAME COLUMN SubCardsText TO SubCardsID");
    choose(window, "1201", kNew);
    window.txtAccNameA->setText(QStringLiteral("صندوق"));
    window.CmdSave->click();
    EXPECT_EQ(user().messages().size(), 1u);
    EXPECT_NE(window.TreeView1->node("R120103"), nullptr);
    window.Command1->click();
  });
  EXPECT_EQ(haves("1201"), 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, MaintenanceTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
