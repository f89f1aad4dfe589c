#pragma once

#include <memory>

#include "accounts/AccountImport.h"
#include "host/batch/RunTally.h"
#include "host/db/Recordset.h"
#include "host/forms/Form.h"
#include "host/forms/RunState.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qalvoro {

class FileListBox;
class ImportReport;
class JournalImport;
class Version1Source;

// The accounts-restore window: the user opens a version-1 accounts file,
// chooses the version-1 and version-2 branches, browses the version-1
// accounts, imports one or all of them, and imports the journal.
class FrmAcc_Restore : public Form {
  Q_OBJECT

 public:
  explicit FrmAcc_Restore(QWidget* parent = nullptr);
  ~FrmAcc_Restore() override;

  // Shows the current row of the version-1 account list.
  void ViewRec();
  // Imports the account the fields show.
  void ImportAccount();
  // Imports one journal entry of the version-1 file.
  void ImportJournalEntry(int entryNumber);

  // Someone else to tell what became of every record (unattended runs); may
  // be null. The window counts every run itself and shows its summary.
  void setReport(ImportReport* report) { tally_.forwardTo(report); }
  Version1Source& source() { return *source_; }
  int overwriteAnswer() const { return OverwriteAnswer; }
  Recordset& version1Accounts() { return version1List_; }

  QGroupBox* Frame3 = nullptr;
  QPushButton* CmdDialog = nullptr;
  FileListBox* File1 = nullptr;
  QComboBox* CboOldBranch = nullptr;
  QPushButton* CmdOpenOldDB = nullptr;
  QComboBox* CboBranch = nullptr;
  QGroupBox* Frame7 = nullptr;
  QLineEdit* txtAccNo = nullptr;
  QLineEdit* txtAccNameA = nullptr;
  QLineEdit* txtAccNameE = nullptr;
  QLineEdit* txtAccFather = nullptr;
  QGroupBox* Frame2 = nullptr;
  QComboBox* CboAccType = nullptr;
  QGroupBox* Frame4 = nullptr;
  QCheckBox* ChkDebit = nullptr;
  QCheckBox* ChkCredit = nullptr;
  QGroupBox* FrameSBalance = nullptr;
  QLineEdit* txtStartDebit = nullptr;
  QLineEdit* txtStartCredit = nullptr;
  QGroupBox* FrameBalance = nullptr;
  QLineEdit* txtDebit = nullptr;
  QLineEdit* txtCredit = nullptr;
  QGroupBox* Frame6 = nullptr;
  QLineEdit* txtMaxDebit = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Lb_CurRec = nullptr;
  QPushButton* Cmd_First = nullptr;
  QPushButton* Cmd_Pre = nullptr;
  QPushButton* Cmd_Next = nullptr;
  QPushButton* Cmd_Last = nullptr;
  QPushButton* CmdImport = nullptr;
  QPushButton* CmdImportAll = nullptr;
  QPushButton* CmdStop = nullptr;
  QPushButton* CmdImportGaid = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLabel* lblGaidStatus = nullptr;
  QPushButton* Cmd_Exit = nullptr;

 protected:
  void formLoad() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildSourceFrame();
  void buildAccountFields();
  void buildButtons();
  QLineEdit* fieldWithLabel(QGroupBox* frame, const QString& name, const QString& caption, int top);

  void ClearFields();
  void SetButtonState(int state);
  void showParentName();
  void colourFields(bool parentAccount);
  AccountFields fields() const;
  int version1Branch() const;
  int version2Branch() const;
  // Shows the overwrite prompt; its answer becomes OverwriteAnswer.
  void askOverwrite(const ExistingAccount& existing);

  void CboOldBranch_Click();
  void CboBranch_Click();
  void openVersion2List();
  void closeVersion2List();
  void Cmd_First_Click();
  void Cmd_Pre_Click();
  void Cmd_Next_Click();
  void Cmd_Last_Click();
  void CmdImport_Click();
  void CmdImportAll_Click();
  void CmdStop_Click();
  void CmdImportGaid_Click();
  void Cmd_Exit_Click();

  void lockForRun(bool locked);
  bool confirmJournalRun();
  void runJournal();
  void refreshSubAccounts(int branch);
  void endJournalRun();
  void stopAt(const QString& reason);

  std::unique_ptr<Version1Source> source_;
  Recordset version1List_;
  Recordset version2List_;
  int OverwriteAnswer = -1;
  bool IsNewRecord = false;
  RunTally tally_;
  ImportReport* report_ = &tally_;
  std::unique_ptr<JournalImport> journal_;
  RunState run_;
};

}  // namespace qalvoro
