#pragma once

#include <QString>
#include <array>

#include "host/forms/Form.h"
#include "host/forms/TreeView.h"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qalvoro {

struct ChartAccount;

// The chart-of-accounts browser: the accounts of one branch as a tree, a
// search by name or number, and the choice of an account, which the window
// hands back through its tag (the account number, or empty for cancel). Its
// options menu adds, edits and deletes accounts.
class FrmBrowseAcc : public Form {
  Q_OBJECT

 public:
  explicit FrmBrowseAcc(QWidget* parent = nullptr);
  ~FrmBrowseAcc() override;

  // The branch whose accounts are shown; set by the opener before showing.
  int BranchID = 0;

  // Builds the tree when the setting "ReLoadAccTree" is not 0, and sets it
  // back to 0 after a full load.
  void FillTree();

  TreeView* TreeView1 = nullptr;
  ImageList ImageList1;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command4 = nullptr;
  QComboBox* Combo1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  std::array<QRadioButton*, 2> Option1{};
  QGroupBox* FrameAdd = nullptr;
  QLabel* lblAccFatherNo = nullptr;
  QLabel* lblAccFatherName = nullptr;
  QLineEdit* txtAccNo = nullptr;
  QLineEdit* txtAccNameA = nullptr;
  QLineEdit* txtAccNameE = nullptr;
  QPushButton* CmdSave = nullptr;
  QPushButton* CmdCancel = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* CmdOptions = nullptr;
  QFrame* Picture1 = nullptr;
  QLabel* Label1 = nullptr;  // index 1: the loading text
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* Cmd_Cancel = nullptr;
  QMenu* MnuAcc = nullptr;
  std::array<QAction*, 5> MenuAcc{};

 protected:
  void formLoad() override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class LoadingPanel;

  void buildSearchControls();
  void buildFrameAdd();
  void buildButtons();
  void buildLoadingPanel();
  void buildMenu();
  void watchKeys();

  void Form_Activate();
  // Keys the window sees before its controls; true when the key was used.
  bool Form_KeyDown(int key);
  bool Text1_KeyDown(int key);
  void addAccountNode(const ChartAccount& account, const QString& language);
  bool askToContinueLoading(const TreeError& error, const QString& accNo);

  void Command4_Click();
  // Selects the first node from index on that matches the text, offering
  // once to go on from the top.
  void searchFrom(int index, const QString& text);
  void Command2_Click();
  void Command1_Click();
  void Command3_Click();
  void CmdOptions_Click();

  void MenuAcc_Click(int index);
  void startNew();
  void startEdit();
  void deleteAccount();
  void openFrameAdd();
  void setMaintenanceEnabled(bool enabled);
  void proposeFocus();
  void CmdSave_Click();
  void CmdCancel_Click();
  // Selects the account's node (the tree as it is when there is none).
  void selectAccount(const QString& number);
  // Runs a maintenance step; a database error (rolled back by then) is shown
  // and the window is left usable with the tree rebuilt.
  template <class Step>
  void maintain(Step&& step);

  static bool isRoot(const TreeView::Node& node);

  QString mode_;          // "Add", "Edit" or empty
  qint64 editedId_ = 0;   // ID of the account selected when maintenance began
  QString editedNumber_;  // and its AccNo
  bool emptySearchAccepted_ = false;
  bool wrapped_ = false;  // the running search has restarted from the top once
  bool found_ = false;    // the current search step found a node
};

// Opens the browser modally on the branch its BranchID names (set by the
// caller on windows().get<FrmBrowseAcc>() before calling), with its
// maintenance menu, the tree rebuilt, and unloads it afterwards. Returns the
// chosen account number, or an empty text when the user cancelled.
QString BrowseAccount();

}  // namespace qalvoro
