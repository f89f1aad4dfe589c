// The account tree: building it, searching it, choosing an account.

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
#include "tests/browser/BrowserTest.h"

namespace qalvoro::test {
namespace {

constexpr int kQuestionYesNo = 4 | 32 | 0x180000;
constexpr int kInformationYesNo = 4 | 64 | 0x180000;

class TreeTest : public BrowserTest {
 protected:
  // A branch whose numbers show the two ways of searching by number.
  int addSearchBranch() {
    const int branch = addBranch(QStringLiteral("فرع البحث"));
    addAccount(branch, "1", "Assets");
    addAccount(branch, "1201", "Cash", "1");
    addAccount(branch, "3", "Funds");
    addAccount(branch, "3120", "Bank", "3");
    return branch;
  }

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
    cash.setExpanded(true);
    EXPECT_EQ(TreeView::imageOf(cash), "OpenY");
    cash.setExpanded(false);
    EXPECT_EQ(TreeView::imageOf(cash), "CloseY");

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
    EXPECT_EQ(window.Command2->text(), "&OK  F5");
    EXPECT_EQ(window.Option1[1]->text(), "By account number");
    EXPECT_EQ(window.Combo1->itemText(0), "Starts with");
    EXPECT_EQ(window.MenuAcc[2]->text(), "Delete");
    EXPECT_EQ(twipsGeometry(*window.Frame1).left(), 7000 - (3450 + 3330) - 100);
  });
}

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

TEST_F(TreeTest, OkNeedsAnAccountAndSavesTheSearchSettings) {
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
  browse(1, [&](FrmBrowseAcc& window) {
    EXPECT_TRUE(window.Option1[1]->isChecked());
    EXPECT_EQ(window.Combo1->currentIndex(), 1);
    QTest::keyClick(window.TreeView1, Qt::Key_Escape);
  });
}

TEST_F(TreeTest, SearchByNameOrNumberStartsWithOrContains) {
  const int branch = addSearchBranch();
  browse(branch, [&](FrmBrowseAcc& window) {
    // text, by name, mode: the nodes found one after the other from the root
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
  });
}

TEST_F(TreeTest, SearchRestartsFromTheTopOnceAndKeepsTheMark) {
  const int branch = addSearchBranch();
  browse(branch, [&](FrmBrowseAcc& window) {
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
  });
  const auto ended = [](const char* text) {
    return QStringLiteral("انتهى البحث عن [%1]").arg(text);
  };
  const auto restart = [&](const char* text) {
    return ended(text) + QStringLiteral("\nهل تريد البحث من البداية؟");
  };
  // After a match the mark of the restart is kept: the next end is only
  // reported, and clears the mark; a second failure only reports the end.
  EXPECT_EQ(user().messageTexts(),
            QStringList({restart("12"), ended("12"), restart("12"), restart("99"), ended("99")}));
  const int styles[] = {kInformationYesNo, 0x180000, kInformationYesNo, kInformationYesNo,
                        0x180000};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(user().messages()[i].style, styles[i]) << i;
}

TEST_F(TreeTest, EmptySearchAsksOnceWhenAccepted) {
  browse(1, [&](FrmBrowseAcc& window) {
    user().queueAnswer(mb::kNo);
    search(window, "  ", true, 0);
    EXPECT_EQ(selectedKey(window), "R1") << "No searches with the empty text";
    window.Text1->clear();
    user().queueAnswer(mb::kYes);
    window.Command4->click();
    EXPECT_EQ(selectedKey(window), "R1") << "Yes ends this search";
    window.Command4->click();
    EXPECT_EQ(selectedKey(window), "R2") << "no second question: the next node is found";
  });
  ASSERT_EQ(user().messages().size(), 2u);
  EXPECT_EQ(user().messages()[0].text,
            QStringLiteral("أدخل النص الذي تريد البحث عنه ثم اضغط Enter\n"
                           "هل تريد البحث بدون ادخال أي نص؟"));
  EXPECT_EQ(user().messages()[0].style, kQuestionYesNo);
}

TEST_F(TreeTest, KeysAndDoubleClickDriveTheWindow) {
  const QString chosen = browse(1, [&](FrmBrowseAcc& window) {
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

    window.Option1[1]->setChecked(true);
    QTest::keyClick(window.Text1, Qt::Key_Return);
    ASSERT_EQ(selectedKey(window), "R51");
    const QPoint centre =
        window.TreeView1->visualItemRect(window.TreeView1->selectedNode()).center();
    // A double click: the first click, then the second press.
    QTest::mouseClick(window.TreeView1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(window.TreeView1->viewport(), Qt::LeftButton, {}, centre);
  });
  EXPECT_EQ(chosen, "51");
}

TEST(TreeViewTest, KeysAreUniqueAndRelativesAndPicturesMustExist) {
  ImageList images;
  images.add("Page", QPixmap(16, 16));
  TreeView tree;
  tree.setImageList(&images);
  tree.addTopNode("R", "root");
  tree.addChildNode("R", "R1", "one", "Page");
  const auto errorOf = [&](const QString& relative, const QString& key, const QString& image) {
    try {
      tree.addChildNode(relative, key, "two", image);
    } catch (const TreeError& error) {
      return error.number();
    }
    return 0L;
  };
  EXPECT_EQ(errorOf("R", "R1", "Page"), treeerr::kKeyNotUnique);
  EXPECT_EQ(errorOf("R9", "R2", "Page"), treeerr::kElementNotFound);
  EXPECT_EQ(errorOf("R", "R2", "Open"), treeerr::kElementNotFound);
  EXPECT_EQ(tree.nodeCount(), 2) << "a failed add leaves the tree as it was";
  EXPECT_EQ(tree.topLevelItem(0)->childCount(), 1);
  EXPECT_EQ(tree.nodeText(2), u"one");
  EXPECT_EQ(TreeView::indexOf(*tree.node("R1")), 2);
}

}  // namespace
}  // namespace qalvoro::test
