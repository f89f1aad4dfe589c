// The account tree: building it, searching it, choosing an account, and
// adding, editing and deleting accounts in it, on both engines.

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "host/forms/Windows.h"
#include "host/helpers/DbHelpers.h"
#include "tests/browser/BrowserTest.h"
#include "tests/support/RowTexts.h"

namespace qalvoro::test {
namespace {

constexpr int kQuestionYesNo = 4 | 32 | 0x180000;
constexpr int kInformationYesNo = 4 | 64 | 0x180000;

class TreeTest : public BrowserTest {
 protected:
  static void search(FrmBrowseAcc& window, const QString& text, bool byName, int mode) {
    window.Text1->setText(text);
    window.Option1[byName ? 0 : 1]->setChecked(true);
    window.Combo1->setCurrentIndex(mode);
    window.Command4->click();
  }
};

TEST_F(TreeTest, TreeShowsTheBranchWithKeysTextsTagsAndImages) {
  const QString chosen = browse(1, [&](FrmBrowseAcc& window) {
    TreeView& tree = *window.TreeView1;
    ASSERT_EQ(tree.nodeCount(), 31);
    EXPECT_EQ(tree.nodeAt(1)->text(0), QStringLiteral("دليل الحسابات - الفرع الرئيسي"));
    EXPECT_EQ(selectedKey(window), "R");
    EXPECT_EQ(TreeView::keyOf(*tree.nodeAt(2)), "R1") << "top-level accounts come first";
    TreeView::Node& cash = *tree.node("R1201");
    EXPECT_EQ(cash.text(0), QStringLiteral("الصناديق==1201"));
    EXPECT_EQ(TreeView::tagOf(cash), "1201");
    EXPECT_EQ(TreeView::keyOf(*cash.parent()), "R12");
    const std::pair<const char*, const char*> images[] = {
        {"R1201", "CloseY"}, {"R41", "PageG"}, {"R5", "CloseR"}, {"R51", "PageR"}};
    for (const auto& [key, image] : images) EXPECT_EQ(TreeView::imageOf(*tree.node(key)), image);
    tree.selectNode(cash);
    EXPECT_EQ(TreeView::imageOf(*tree.node("R12")), "OpenY") << "expanded to show the node";
    tree.node("R12")->setExpanded(false);
    EXPECT_EQ(TreeView::imageOf(*tree.node("R12")), "CloseY");

    EXPECT_EQ(tree.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(window.ProgressBar1->value(), 100);
    EXPECT_TRUE(window.Command4->isEnabled());
    EXPECT_EQ(window.focusWidget(), window.Text1);
    EXPECT_EQ(GetSetting("ReLoadAccTree"), "0");
    EXPECT_TRUE(window.MenuAcc[0]->isVisible());
    window.Cmd_Cancel->click();
    EXPECT_FALSE(window.Cmd_Cancel->isEnabled()) << "the loading panel's button disables itself";

    // Without "ReLoadAccTree" the tree shown stays; reloading reads it again.
    addAccount(1, "1205", QStringLiteral("الشيكات"), "12");
    window.FillTree();
    EXPECT_EQ(tree.nodeCount(), 31);
    window.Command3->click();
    EXPECT_EQ(tree.nodeCount(), 32);
    EXPECT_EQ(TreeView::imageOf(*tree.node("R1205")), "PageY");
    EXPECT_TRUE(window.Cmd_Cancel->isEnabled());
    window.CmdOptions->click();
    EXPECT_TRUE(window.MnuAcc->isVisible());
    window.MnuAcc->hide();
    window.Command1->click();
  });
  EXPECT_EQ(chosen, "") << "cancel returns nothing";
  EXPECT_FALSE(windows().exists<FrmBrowseAcc>()) << "unloaded";
  EXPECT_TRUE(user().messages().empty());
}

TEST_F(TreeTest, EnglishWindowIsMirroredTranslatedAndFallsBackToArabicNames) {
  setSetting("Language", "E");
  addAccount(2, "1209", QStringLiteral("صندوق فرعي"), "12", "  ");
  browse(2, [&](FrmBrowseAcc& window) {
    EXPECT_EQ(window.caption(), "Browse");
    EXPECT_EQ(window.TreeView1->nodeAt(1)->text(0), "Chart of accounts - North Branch");
    EXPECT_EQ(window.TreeView1->node("R1201")->text(0), "Cash boxes==1201");
    EXPECT_EQ(window.TreeView1->node("R1209")->text(0), QStringLiteral("صندوق فرعي==1209"))
        << "no English name: the Arabic one";
    select(window, "1209");
    window.MenuAcc[0]->trigger();
    EXPECT_EQ(window.lblAccFatherName->text(), QStringLiteral("صندوق فرعي"));
    EXPECT_EQ(window.TreeView1->layoutDirection(), Qt::LeftToRight);
    // Captions and mirroring are TranslateForm's and MirrorForm's (the language tests).
    EXPECT_EQ(window.Combo1->itemText(0), "Starts with");
    EXPECT_EQ(window.MenuAcc[2]->text(), "Delete");
  });
}

// The tree's own error for a parent not found; a failed add leaves the tree as it was.
TEST_F(TreeTest, RowWithoutItsParentAsksWhetherToContinue) {
  const int branch = addBranch(QStringLiteral("فرع"));
  addAccount(branch, "1", "Assets");
  addAccount(branch, "15", "Cash", "1");
  addAccount(branch, "8801", "Lost", "88");
  addAccount(branch, "9901", "Lost too", "99");
  user().queueAnswer(mb::kYes);
  user().queueAnswer(mb::kNo);
  browse(branch, [&](FrmBrowseAcc& window) {
    ASSERT_EQ(user().messages().size(), 2u);
    const ShownMessage& question = user().messages().front();
    EXPECT_EQ(question.style, kQuestionYesNo);
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("حدث خطأ رقم 35601\n")));
    EXPECT_TRUE(question.text.endsWith(QStringLiteral("\nرقم الحساب:8801\r\nهل تريد الاستمرار؟")));
    EXPECT_EQ(window.TreeView1->nodeCount(), 3) << "the root, 1 and 15; the rest was stopped";
    EXPECT_EQ(GetSetting("ReLoadAccTree"), "1") << "an incomplete tree is read again next time";
    EXPECT_TRUE(window.Text1->isEnabled());
    EXPECT_FALSE(window.Picture1->isVisible());
    EXPECT_EQ(user().mousePointer(), MousePointer::Default);

    user().queueAnswer(mb::kYes);
    user().queueAnswer(mb::kYes);
    window.Command3->click();
    EXPECT_EQ(window.TreeView1->nodeCount(), 3) << "both rows are left out";
    EXPECT_EQ(GetSetting("ReLoadAccTree"), "0");
  });
}

TEST_F(TreeTest, OkNeedsAnAccountAndTheKeysAndSearchSettingsDriveTheWindow) {
  const QString chosen = browse(1, [&](FrmBrowseAcc& window) {
    window.Command2->click();
    window.Option1[1]->setChecked(true);
    QTest::keyClick(window.Text1, Qt::Key_F5);
    EXPECT_EQ(user().messageTexts(), QStringList({QStringLiteral("يجب تحديد اسم الحساب"),
                                                  QStringLiteral("يجب تحديد رقم الحساب")}));
    EXPECT_EQ(user().messages().front().style, 64 | 0x180000);
    EXPECT_TRUE(window.isVisible()) << "the window stays";
    select(window, "1201");
    window.Combo1->setCurrentIndex(1);
    QTest::keyClick(window.TreeView1, Qt::Key_F5);
  });
  EXPECT_EQ(chosen, "1201");
  EXPECT_EQ(GetSetting("Browse by name"), "False");
  EXPECT_EQ(GetSetting("Search"), "1");
  // The settings come back; the keys and a double click drive the window.
  const QString second = browse(1, [&](FrmBrowseAcc& window) {
    EXPECT_TRUE(window.Option1[1]->isChecked());
    EXPECT_EQ(window.Combo1->currentIndex(), 1);
    window.Combo1->setCurrentIndex(0);
    QTest::keyClick(window.Text1, Qt::Key_Down);
    EXPECT_EQ(selectedKey(window), "R1") << "the arrow moved the tree's selection";
    QTest::keyClick(window.Text1, Qt::Key_Down);
    QTest::keyClick(window.Text1, Qt::Key_Up);
    EXPECT_EQ(selectedKey(window), "R1");
    EXPECT_EQ(window.focusWidget(), window.Text1) << "the focus came back";
    window.Text1->setText("51");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.TreeView1->setFocus();
    window.Text1->setFocus();
    EXPECT_EQ(window.Text1->selectedText(), "51") << "getting the focus selects the text";

    QTest::keyClick(window.Text1, Qt::Key_Return);
    ASSERT_EQ(selectedKey(window), "R51");
    const QPoint centre =
        window.TreeView1->visualItemRect(window.TreeView1->selectedNode()).center();
    // A double click: the first click, then the second press.
    QTest::mouseClick(window.TreeView1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(window.TreeView1->viewport(), Qt::LeftButton, {}, centre);
  });
  EXPECT_EQ(second, "51");
}

// At its end a search offers to restart once (after a match the next end is only reported);
// an empty text asks once whether to search with it.
TEST_F(TreeTest, SearchFindsNodesOneAfterTheOtherAndRestartsOnce) {
  // Numbers that show the two ways of searching by number.
  const int branch = addBranch(QStringLiteral("فرع البحث"));
  addAccount(branch, "1", "Assets");
  addAccount(branch, "1201", "Cash", "1");
  addAccount(branch, "3", "Funds");
  addAccount(branch, "3120", "Bank", "3");
  browse(branch, [&](FrmBrowseAcc& window) {
    const struct {
      const char* text;
      bool byName;
      int mode;
      QStringList found;
    } searches[] = {{"12", false, 0, {"R1201"}},
                    {"12", false, 1, {"R1201", "R3120"}},
                    {"B", true, 0, {"R3120"}}};
    for (const auto& step : searches) {
      window.TreeView1->selectNode(*window.TreeView1->nodeAt(1));
      for (const QString& key : step.found) {
        search(window, step.text, step.byName, step.mode);
        EXPECT_EQ(selectedKey(window), key) << step.text << step.byName << step.mode;
      }
    }
    EXPECT_TRUE(user().messages().empty());
    user().queueAnswer(mb::kNo);
    search(window, "cash", true, 1);
    EXPECT_EQ(selectedKey(window), "R3120") << "case matters; nothing found";

    window.TreeView1->selectNode(*window.TreeView1->nodeAt(1));
    search(window, "12", false, 0);
    user().queueAnswer(mb::kYes);
    window.Command4->click();
    EXPECT_EQ(selectedKey(window), "R1201") << "found again after the restart";
    window.Command4->click();
    user().queueAnswer(mb::kNo);
    QTest::keyClick(window.Text1, Qt::Key_Return);
    EXPECT_EQ(selectedKey(window), "R1201");
    user().queueAnswer(mb::kYes);
    search(window, "99", false, 0);
    EXPECT_EQ(selectedKey(window), "R") << "the restart selected the root";

    user().queueAnswer(mb::kNo);
    search(window, "  ", true, 0);
    EXPECT_EQ(selectedKey(window), "R1") << "No searches with the empty text";
    window.Text1->clear();
    user().queueAnswer(mb::kYes);
    window.Command4->click();
    EXPECT_EQ(selectedKey(window), "R1") << "Yes ends this search";
    window.Command4->click();
    EXPECT_EQ(selectedKey(window), "R3") << "no second question: the next node is found";
  });
  const auto ended = [](const char* text) {
    return QStringLiteral("انتهى البحث عن [%1]").arg(text);
  };
  const auto restart = [&](const char* text) {
    return ended(text) + QStringLiteral("\nهل تريد البحث من البداية؟");
  };
  const QString empty = QStringLiteral(
      "أدخل النص الذي تريد البحث عنه ثم اضغط Enter\n"
      "هل تريد البحث بدون ادخال أي نص؟");
  EXPECT_EQ(user().messageTexts(),
            QStringList({restart("cash"), restart("12"), ended("12"), restart("12"), restart("99"),
                         ended("99"), empty, empty}));
  const int styles[] = {kInformationYesNo, kInformationYesNo, 0x180000,      kInformationYesNo,
                        kInformationYesNo, 0x180000,          kQuestionYesNo};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(user().messages()[i].style, styles[i]) << i;
}

constexpr int kNew = 0;
constexpr int kEdit = 1;
constexpr int kDelete = 2;
constexpr int kCritical = 16 | 0x180000;
constexpr int kInformation = 64 | 0x180000;
constexpr int kDeleteQuestion = 4 | 32 | 256 | 0x180000;

class MaintenanceTest : public BrowserEngineTest {
 protected:
  // Selects the account (none: the root) and chooses the menu item.
  static void choose(FrmBrowseAcc& window, const QString& number, int item) {
    if (!number.isEmpty()) select(window, number);
    window.MenuAcc[item]->trigger();
  }
  QString subCards(const QString& number) {
    return scalar("SELECT SubCardsID FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {number})
        .toString();
  }
  int haves(const QString& number) {
    return count("SELECT Haves FROM CardAcc WHERE AccNo = ? AND BranchID = 1", {number});
  }
  int accounts() { return count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 1"); }
  QString ids(const QStringList& numbers) {
    QStringList list;
    for (const QString& number : numbers) list << QString::number(idOf(number));
    return list.join(',');
  }
  // Every row of the chart and of the table locks, as texts.
  static QStringList snapshot() {
    return RowTexts("SELECT * FROM CardAcc ORDER BY ID") + RowTexts("SELECT * FROM LockTables");
  }
};

TEST_P(MaintenanceTest, NewProposesTheNextNumberBelowTheParentAndEscClosesTheFrame) {
  MainConnection().execute("INSERT INTO GaidDetails (AccNoID) VALUES (?)", {idOf("1203")});
  const QString chosen = browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "", kNew);
    choose(window, "1203", kNew);
    EXPECT_FALSE(window.FrameAdd->isVisible()) << "refused before the frame opens";

    choose(window, "1204", kNew);
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
    window.txtAccNameA->setText(QStringLiteral("مسودة"));
    QTest::keyClick(window.txtAccNameA, Qt::Key_Escape);
    EXPECT_FALSE(window.FrameAdd->isVisible()) << "Esc is the frame's cancel";
    EXPECT_TRUE(window.isVisible()) << "and leaves the browser open";
    EXPECT_EQ(twipsGeometry(*window.TreeView1), QRect(120, 1140, 6660, 5555));
    EXPECT_TRUE(window.TreeView1->isEnabled() && window.Command2->isEnabled());
    EXPECT_TRUE(window.MenuAcc[kNew]->isEnabled());

    choose(window, "1201", kNew);
    EXPECT_EQ(window.txtAccNo->text(), "120103") << "after 120101 and 120102";
    EXPECT_EQ(window.focusWidget(), window.txtAccNameA);
    window.CmdCancel->click();
    window.MenuAcc[4]->trigger();  // cancel does nothing
    QTest::keyClick(window.Text1, Qt::Key_Escape);
  });
  EXPECT_EQ(chosen, "");
  EXPECT_EQ(accounts(), 30);
  EXPECT_EQ(user().messageTexts(),
            QStringList({QStringLiteral("يجب تحديد اسم الحساب الرئيسي"),
                         QStringLiteral("رقم الحساب 1203\nلايمكن استخدامه كحساب رئيسي بسبب وجود "
                                        "بعض القيود عليه")}));
  EXPECT_EQ(user().messages()[0].style, kInformation);
  EXPECT_EQ(user().messages()[1].style, kCritical);
}

TEST_P(MaintenanceTest, SavingANewAccountStoresItAndSelectsIt) {
  const QString name = QStringLiteral("صندوق O'Brien");
  browse(1, [&](FrmBrowseAcc& window) {
    choose(window, "1201", kNew);
    const std::pair<const char*, const char*> refused[] = {
        {"", ""}, {"120101", ""}, {"120101", " O'Brien's box "}};
    for (const auto& [number, nameE] : refused) {
      window.txtAccNo->setText(number);
      window.txtAccNameE->setText(nameE);
      window.CmdSave->click();
    }
    EXPECT_EQ(user().messageTexts(), QStringList({QStringLiteral("يجب ادخال رقم حساب"),
                                                  QStringLiteral("يجب إدخال اسم حساب"),
                                                  QStringLiteral("رقم الحساب موجود مسبقاً")}));
    EXPECT_EQ(user().messages()[0].style, kInformation);
    EXPECT_EQ(user().messages()[2].style, kCritical);
    EXPECT_EQ(window.focusWidget(), window.txtAccNo);
    EXPECT_EQ(accounts(), 30);

    window.txtAccNo->setText("120103");
    window.txtAccNameA->setText(name);
    window.CmdSave->click();
    EXPECT_FALSE(window.FrameAdd->isVisible());
    EXPECT_EQ(selectedKey(window), "R120103") << "the tree, read again, shows the new account";
    EXPECT_EQ(window.Text1->text(), "120103");
    window.Command1->click();
  });
  EXPECT_EQ(user().messages().size(), 3u) << "no search question";
  EXPECT_EQ(RowTexts("SELECT AccNameA, AccNameE, ffather, ftype, debit, credit, Haves, BranchID, "
                     "StartDebit, StartCredit, MaxBalance FROM CardAcc WHERE AccNo = '120103'"),
            QStringList{name + "|O'Brien's box|1201|0|1|0|0|1|0|0|0"})
      << "the English name trimmed; the parent's nature, no balance";
  EXPECT_EQ(haves("1201"), 3);
  EXPECT_EQ(subCards("1201"), ids({"120101", "120102", "120103"}));
  EXPECT_TRUE(subCards("1").endsWith("," + ids({"120103"})));
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
    EXPECT_EQ(window.txtAccNameE->text(), "Sales cash box");
    window.txtAccNameA->setText(QStringLiteral("صندوق البيع"));
    window.CmdSave->click();
    EXPECT_TRUE(user().messages().empty()) << "its own number is no duplicate";
    choose(window, "120102", kEdit);
    window.txtAccNo->setText("120101");
    window.CmdSave->click();
    EXPECT_EQ(user().messageTexts(), QStringList{QStringLiteral("رقم الحساب موجود مسبقاً")});
    window.txtAccNo->setText("120109");
    window.CmdSave->click();
    EXPECT_EQ(selectedKey(window), "R120109");
    EXPECT_EQ(window.Text1->text(), "120102") << "the number the edit began with";
    window.Command1->click();
  });
  EXPECT_EQ(scalar("SELECT AccNo FROM CardAcc WHERE ID = ?", {leaf}).toString(), "120109");
  EXPECT_EQ(scalar("SELECT AccNameA FROM CardAcc WHERE ID = ?", {leaf}).toString(),
            QStringLiteral("صندوق البيع"));
  EXPECT_EQ(haves("1201"), 2);
}

TEST_P(MaintenanceTest, DeletingALeafOrASubtreeAsksAndKeepsTheCounters) {
  // A chain 14 levels deep below 22.
  QString father = "22";
  for (int level = 1; level <= 14; ++level) {
    addAccount(1, father + "0", QStringLiteral("مستوى %1").arg(level), father);
    father += "0";
  }
  const QString leaf = QString::number(idOf("1204"));
  browse(1, [&](FrmBrowseAcc& window) {
    user().queueAnswer(mb::kNo);
    choose(window, "1204", kDelete);
    choose(window, "1204", kDelete);  // the default answer is No
    for (const int answered : {1, 2}) {
      for (int i = 0; i < answered; ++i) user().queueAnswer(mb::kYes);
      user().queueAnswer(mb::kNo);
      choose(window, "22", kDelete);
    }
    EXPECT_EQ(accounts(), 44) << "No stops the deletion";
    user().queueAnswer(mb::kYes);
    choose(window, "1204", kDelete);
    EXPECT_EQ(window.TreeView1->node("R1204"), nullptr);
    EXPECT_EQ(selectedKey(window), "R12") << "the parent is selected";
    EXPECT_EQ(window.Text1->text(), "12");
    for (int i = 0; i < 3; ++i) user().queueAnswer(mb::kYes);
    choose(window, "22", kDelete);
    window.Command1->click();
  });
  const QString confirm = QStringLiteral("هل تريد بالتأكيد حذف كرت الحساب الحالي ؟");
  const QString withSubAccounts = QStringLiteral(
      "هل تريد إزالة هذا الحساب مع جميع الحسابات المتفرعه منه\r"
      "سيتم إزالة جميع الحركات التي تندرج تحت هذه الحسابات\rهل تريد الإستمرار؟");
  const QString lastChance =
      QStringLiteral("هذه آخر محاولة للتراجع عن عملية الحذف\rهل تريد الإستمرار؟");
  EXPECT_EQ(user().messageTexts(),
            QStringList({confirm, confirm, confirm, withSubAccounts, confirm, withSubAccounts,
                         lastChance, confirm, confirm, withSubAccounts, lastChance}));
  for (const ShownMessage& message : user().messages()) EXPECT_EQ(message.style, kDeleteQuestion);
  EXPECT_EQ(accounts(), 28) << "1204, 22 and the whole chain below it";
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc c WHERE c.ffather <> '_' AND NOT EXISTS (SELECT 1 "
                  "FROM CardAcc p WHERE p.AccNo = c.ffather AND p.BranchID = c.BranchID)"),
            0)
      << "no account is left without its parent";
  EXPECT_EQ(haves("12"), 3);
  EXPECT_EQ(subCards("12"), ids({"1201", "120101", "120102", "1202", "120201", "1203"}));
  EXPECT_FALSE(subCards("1").split(',').contains(leaf)) << "the ancestors are refreshed too";
  EXPECT_EQ(haves("2"), 1);
  EXPECT_EQ(subCards("2"), ids({"21"}));
  EXPECT_EQ(count("SELECT COUNT(*) FROM CardAcc WHERE BranchID = 2"), 30) << "other branch";
}

TEST_P(MaintenanceTest, DeletionIsRefusedForAnOpeningBalanceOrAnAccountInUse) {
  setSetting("Language", "E");
  const QVariant used = idOf("120201");
  // Where a use of 120201 is recorded, and the end of the refusal.
  const std::pair<const char*, const char*> uses[] = {
      {"GaidDetails (AccNoID)", "journal entries are posted to it"},
      {"Customer (AccNoID)", "it is a customer's account"},
      {"Provider (AccNoID)", "it is a provider's account"},
      {"Cashier (AccID)", "it is a cash box account"},
      {"Receipt (AccIDTo)", "receipt vouchers name it"},
      {"ReceiptDetails (From_AccNoID)", "receipt vouchers name it"},
      {"Payment (AccIDFrom)", "payment vouchers name it"},
      {"PaymentDetails (To_AccNoID)", "payment vouchers name it"}};
  browse(1, [&](FrmBrowseAcc& window) {
    user().queueAnswer(mb::kYes);
    choose(window, "31", kDelete);
    EXPECT_EQ(user().messages().back().text,
              "This account has an opening balance, it cannot be deleted");
    for (const auto& [use, refusal] : uses) {
      const QString table = QString(use).section(' ', 0, 0);
      const QString column = QString(use).section('(', 1).chopped(1);
      MainConnection().execute(QString("INSERT INTO %1 (%2) VALUES (?)").arg(table, column),
                               {used});
      user().queueAnswer(mb::kYes);
      choose(window, "1202", kDelete);
      EXPECT_EQ(user().messages().back().text,
                QString("Account number 120201\nCannot be deleted because ") + refusal);
      EXPECT_EQ(user().messages().back().style, kCritical);
      MainConnection().execute(QString("DELETE FROM %1 WHERE %2 = ?").arg(table, column), {used});
    }
    EXPECT_TRUE(window.Text1->text().isEmpty()) << "refused before the search box changes";
    window.Command1->click();
  });
  EXPECT_EQ(user().messages().size(), 2u * 9u) << "no question about the sub-accounts";
  EXPECT_EQ(accounts(), 30);
  EXPECT_EQ(haves("12"), 4);
}

TEST_P(MaintenanceTest, AWriteFailingAtAnyStatementLeavesNothingWritten) {
  // Each write runs with its first, second, ... statement failing until it
  // goes through: every failure, the last statement's too, is rolled back.
  const std::pair<const char*, std::function<void(FrmBrowseAcc&)>> writes[] = {
      {"new",
       [](FrmBrowseAcc& window) {
         choose(window, "1202", kNew);
         window.txtAccNameA->setText(QStringLiteral("صندوق"));
         window.CmdSave->click();
       }},
      {"edit",
       [](FrmBrowseAcc& window) {
         choose(window, "120201", kEdit);
         window.txtAccNo->setText("120209");
         window.CmdSave->click();
       }},
      {"delete", [this](FrmBrowseAcc& window) {
         for (int i = 0; i < 3; ++i) user().queueAnswer(mb::kYes);
         choose(window, "1202", kDelete);
       }}};
  browse(1, [&](FrmBrowseAcc& window) {
    for (const auto& [name, write] : writes) {
      const QStringList before = snapshot();
      int statement = 1;
      for (;; ++statement) {
        user().clearMessages();
        MainConnection().failNthWrite(statement);
        write(window);
        MainConnection().failNthWrite(0);
        const auto& shown = user().messages();
        if (shown.empty() || !shown.back().text.startsWith("Err:") || statement > 100) break;
        EXPECT_EQ(shown.back().style, kCritical);
        EXPECT_EQ(snapshot(), before) << name << ": statement " << statement << " failed";
        EXPECT_FALSE(window.FrameAdd->isVisible());
        EXPECT_TRUE(window.TreeView1->isEnabled() && window.Text1->isEnabled());
      }
      EXPECT_GT(statement, 3) << name;
      EXPECT_NE(snapshot(), before) << name << " goes through once no statement fails";
    }
    window.Command1->click();
  });
  EXPECT_EQ(accounts(), 28);
  EXPECT_EQ(haves("12"), 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, MaintenanceTest, ::testing::ValuesIn(kEngines),
                         EngineParamName());

}  // namespace
}  // namespace qalvoro::test
