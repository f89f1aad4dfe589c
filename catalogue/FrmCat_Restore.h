#pragma once

#include <array>
#include <memory>
#include <optional>
#include <tuple>

#include "catalogue/ClassesAndAccounts.h"
#include "catalogue/InvoiceImport.h"
#include "host/batch/RunTally.h"
#include "host/db/Recordset.h"
#include "host/forms/Form.h"
#include "host/forms/RunState.h"
#include "host/helpers/LookupCache.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qalvoro {

class InvoiceWindow;
class SSTab;
class Version1Source;
class VoucherWindow;
struct PartyKind;
struct VoucherKind;

// The catalogue-restore window: the user opens a version-1 stock file,
// chooses the version-1 and version-2 branches and a kind of record on the
// tabs (items, customers, providers, sales, purchases, vouchers), browses the
// version-1 records and imports the one shown or all of them. Every row a run
// has processed leaves the working copy.
class FrmCat_Restore : public Form {
  Q_OBJECT

 public:
  explicit FrmCat_Restore(QWidget* parent = nullptr);
  ~FrmCat_Restore() override;

  // Shows the current version-1 row of the current tab.
  void ViewRec();

  // The views and imports of the item, customer and provider tabs.
  void ShowItem();
  void ImportItem();
  void ShowCustomer();
  void ShowProvider();
  void ImportCustomer();
  void ImportProvider();
  // The view and import of the voucher tab: a payment (kind 0) or a
  // receipt, posted through the hidden voucher window.
  void ShowVoucher();
  void ImportVoucher();
  // The views and imports of the sales and purchase tabs; an invoice's
  // returns follow it.
  void ShowSales();
  void ShowPurchases();
  void ImportSales();
  void ImportPurchases();

  // Lookup-or-create services of the document imports, for the branches
  // chosen in the window.
  int EnsureItem(const QString& number);
  int EnsureCustomer(int number);
  int EnsureProvider(int number);
  // Selects the class (the provider) of that name in CboClass, writing it
  // first when the branch has none.
  void EnsureClassByName(const QString& name);
  void EnsureProviderByName(const QString& name);
  // Lists the cash-box accounts of a branch, keeping the position chosen.
  void FillCashierCombo(QComboBox& combo, int branch);
  // The account with that name under the parent account number of the
  // version-2 branch, written when there is none.
  int CreateChildAccount(const QString& parentNo, const QString& name);

  // Someone else to tell what became of every record (unattended runs); may
  // be null. The window counts every run itself and shows its summary.
  void setReport(ImportReport* report) { tally_.forwardTo(report); }
  Version1Source& source() { return *source_; }
  Recordset& version1Rows() { return version1Rows_; }
  int overwriteAnswer() const { return OverwriteAnswer; }
  bool firstRecordPending() const { return FirstRecordPending; }
  int defaultClassId() const { return DefaultClassID; }
  bool isNewRecord() const { return IsNewRecord; }

  // The version-1 source.
  QGroupBox* Frame3 = nullptr;
  QLineEdit* txtOldDBFile = nullptr;
  QPushButton* CmdDialog = nullptr;
  QPushButton* CmdOpenOldDB = nullptr;
  QComboBox* CboOldBranch = nullptr;
  QPushButton* CmdFilter = nullptr;
  // The period of the date filter in effect; empty while none is.
  QLabel* lblFilter = nullptr;
  // The target, the run and browsing.
  QComboBox* CboBranch = nullptr;
  QPushButton* CmdImport = nullptr;
  QPushButton* CmdImportAll = nullptr;
  QPushButton* CmdStop = nullptr;
  QPushButton* Cmd_Exit = nullptr;
  QPushButton* Cmd_First = nullptr;
  QPushButton* Cmd_Pre = nullptr;
  QPushButton* Cmd_Next = nullptr;
  QPushButton* Cmd_Last = nullptr;
  QLabel* Lb_CurRec = nullptr;
  std::array<QFrame*, 2> ShapeOut{};
  std::array<QFrame*, 2> ShapeIN{};
  SSTab* SSTab1 = nullptr;
  // Item tab.
  QGroupBox* Frame4 = nullptr;
  QLineEdit* TxtCategoryNo = nullptr;
  QLineEdit* TxtAName = nullptr;
  QLineEdit* TxtEName = nullptr;
  QLineEdit* txtTasneef = nullptr;
  QComboBox* CboClass = nullptr;
  QComboBox* CboUnit = nullptr;
  QLineEdit* TxtLocation = nullptr;
  QLineEdit* TxtAQuantity = nullptr;
  QLineEdit* TxtRQuantity = nullptr;
  QLineEdit* TxtIQuantity = nullptr;
  QLineEdit* TxtRPoint = nullptr;
  QLineEdit* TxtCostPrice = nullptr;
  std::array<QLineEdit*, 6> txtPrice{};
  QGroupBox* Frame2 = nullptr;
  std::array<QRadioButton*, 2> OptType{};
  QCheckBox* ChkClass = nullptr;
  QCheckBox* ChkProvider = nullptr;
  // Customer tab; index 0 of the account arrays is on the voucher tab.
  QGroupBox* Frame5 = nullptr;
  QLineEdit* txtCustomerNo = nullptr;
  QLineEdit* txtCustomerName = nullptr;
  QLineEdit* txtCustomerPerson = nullptr;
  QLineEdit* txtCustomerAddress = nullptr;
  QLineEdit* txtCustomerPhone = nullptr;
  QLineEdit* txtCustomerFax = nullptr;
  std::array<QLineEdit*, 2> txtAccCustomer{};
  std::array<QPushButton*, 2> CmdAccCustmr{};
  QCheckBox* ChkAddCustmAcc = nullptr;
  // Provider tab.
  QGroupBox* Frame6 = nullptr;
  QLineEdit* txtProvNo = nullptr;
  QLineEdit* txtProvName = nullptr;
  QLineEdit* txtProvPerson = nullptr;
  QLineEdit* txtProvAddress = nullptr;
  QLineEdit* txtProvPhone = nullptr;
  QLineEdit* txtProvFax = nullptr;
  std::array<QLineEdit*, 2> txtAccProvider{};
  std::array<QPushButton*, 2> CmdAccProvdr{};
  QCheckBox* ChkAddProvAcc = nullptr;
  // Sales and purchase tabs (index 0 sales, 1 purchases, 2 vouchers for the
  // cash boxes).
  QGroupBox* Frame7 = nullptr;
  QGroupBox* Frame8 = nullptr;
  QLineEdit* TxtSalesNo = nullptr;
  QLineEdit* TxtSalesDate = nullptr;
  QLineEdit* TxtSalesName = nullptr;
  QLineEdit* TxtSalesAmount = nullptr;
  QComboBox* CboRSalesNo = nullptr;
  QLineEdit* TxtRSalesDate = nullptr;
  QLineEdit* TxtRSalesName = nullptr;
  QLineEdit* TxtRSalesAmount = nullptr;
  QGroupBox* Frame9 = nullptr;
  QGroupBox* Frame10 = nullptr;
  QLineEdit* txtBuyNo = nullptr;
  QLineEdit* TxtBuyDate = nullptr;
  QLineEdit* TxtBuyName = nullptr;
  QLineEdit* TxtBuyAmount = nullptr;
  QComboBox* CboRBuyNo = nullptr;
  QLineEdit* TxtRBuyDate = nullptr;
  QLineEdit* TxtRBuyName = nullptr;
  QLineEdit* TxtRBuyAmount = nullptr;
  std::array<QLabel*, 2> lblStartInvNo{};
  std::array<QLineEdit*, 2> txtStartInvNo{};
  std::array<QPushButton*, 2> CmdStartInvNo{};
  std::array<QComboBox*, 3> CboCashier{};
  // Voucher tab.
  QGroupBox* Frame11 = nullptr;
  QLabel* lblSndType = nullptr;
  QLineEdit* txtSndNo = nullptr;
  QLineEdit* txtSndDate = nullptr;
  QLineEdit* txtSndType = nullptr;
  QLineEdit* txtSndName = nullptr;
  QLineEdit* txtSndMoney = nullptr;
  QLineEdit* txtSndDetail = nullptr;
  QCheckBox* ChkAutoSND = nullptr;

 protected:
  void formLoad() override;
  void formUnload() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The title bar's close waits, like the exit button, for a run's end.
  void closeEvent(QCloseEvent* event) override;

 private:
  // The names and texts that tell the customer tab from the provider tab.
  struct PartyTexts {
    const char* frame;          // Frame5, Frame6
    const char* boxes;          // prefix of the six boxes: txtCustomer, txtProv
    const char* accountBox;     // txtAccCustomer, txtAccProvider
    const char* accountButton;  // CmdAccCustmr, CmdAccProvdr
    const char* addAccountBox;  // ChkAddCustmAcc, ChkAddProvAcc
    const char* title;
    const char* numberCaption;
    const char* parentCaption;
    const char* addAccount;
    const char* noAccount;
    const char* noNumber;
    const char* noName;
    bool promptNameInLanguage;  // the prompt shows AName or EName
  };
  // The controls of the customer or the provider tab, which work alike.
  struct PartyTab {
    const PartyKind* kind = nullptr;
    const PartyTexts* texts = nullptr;
    QGroupBox* frame = nullptr;
    QLineEdit* number = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* person = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* phone = nullptr;
    QLineEdit* fax = nullptr;
    QLineEdit* parentAccount = nullptr;  // index 1 of the account array
    QPushButton* chooseAccount = nullptr;
    QCheckBox* addAccount = nullptr;
    auto controls() const {
      return std::tuple{frame, number, name, person, address, phone, fax, addAccount};
    }
  };

  // The controls of the sales or the purchase tab, which work alike.
  struct InvoiceTab {
    const TradeSide* side = nullptr;
    int index = 0;  // of CboCashier, txtStartInvNo and CmdStartInvNo
    QLineEdit* number = nullptr;
    QLineEdit* date = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* amount = nullptr;
    QComboBox* returns = nullptr;
    QLineEdit* returnDate = nullptr;
    QLineEdit* returnName = nullptr;
    QLineEdit* returnAmount = nullptr;
  };

  // Layout (FrmCat_RestoreLayout.cpp).
  // A frame filling a page of the tab control.
  QGroupBox* tabFrame(const QString& name, const QString& title, int tab);
  void buildSourceFrame();
  void buildRunControls();
  void buildItemTab();
  PartyTab buildPartyTab(int tab, const PartyKind& kind, const PartyTexts& texts,
                         std::array<QLineEdit*, 2>& accounts,
                         std::array<QPushButton*, 2>& accountButtons);
  void buildPartyTabs();
  void buildInvoiceTabs();
  void buildVoucherTab();
  QLineEdit* fieldWithLabel(QWidget* container, const QString& name, const QString& caption,
                            const QRect& box, int labelWidth);
  void connectEvents();

  // Window state and events (FrmCat_Restore.cpp).
  int version1Branch() const;
  int version2Branch() const;
  bool hasCurrentRow() const;
  void SetButtonState(int mode);
  void ClearItemFields();
  void showPosition();
  void loadVersion1Rows();
  void openVersion2Rows(bool onOldBranchChoice);
  void closeVersion2Rows();
  void placeStartNumber();
  void setShapeWidth(int index, int twips);
  void lockForRun(bool locked);
  QString recordKey() const;
  void importShown();
  void prepareProviderClassification();
  void stopAt(const QString& reason);
  void endRecord();

  void CboOldBranch_Click();
  void SSTab1_Click();
  void CboBranch_Click();
  void Cmd_First_Click();
  void Cmd_Pre_Click();
  void Cmd_Next_Click();
  void Cmd_Last_Click();
  void CmdImport_Click();
  void CmdImportAll_Click();
  void CmdStop_Click();
  void CmdFilter_Click();
  void Cmd_Exit_Click();
  void OptType_Click();
  void ChkClass_Click();
  void ChkProvider_Click();

  // Imports (FrmCat_RestoreImports.cpp).
  void showParty(const PartyTab& party);
  void importParty(PartyTab& party);
  bool parentAccountMissing(const QLineEdit& parentAccount, const PartyTab& party);
  void selectNamedEntry(const NamedRow& row);
  void FillClassCombo();
  void chooseParentAccount(QLineEdit& box);

  // Invoices and returns (FrmCat_RestoreInvoices.cpp).
  void connectInvoiceTabs();
  void showInvoice(InvoiceTab& tab);
  void fillReturnList(InvoiceTab& tab);
  void returnListClick(InvoiceTab& tab);
  void importInvoice(InvoiceTab& tab);
  bool postInvoice(InvoiceTab& tab, const InvoiceImport::Existing* replaced);
  void importReturns(InvoiceTab& tab);
  void fillDocumentHeader(InvoiceWindow& window, const InvoiceTab& tab,
                          const InvoiceImport::Document& document);
  void fillGrid(InvoiceWindow& window, const std::vector<InvoiceImport::Line>& lines,
                bool generalPrice, const std::function<QString(const InvoiceImport::Line&)>& cost);
  bool pressSave(InvoiceWindow& window);
  void CmdStartInvNo_Click(int index);
  void report(const QString& key, ImportReport::Outcome outcome, const QString& reason = {});

  // Lookups kept during a run (see lookups_); outside runs lookup() is
  // asked every time.
  QVariant lookedUp(const QString& key, const std::function<QVariant()>& lookup);
  std::optional<NamedRow> findNamed(const QString& table, const QString& name);
  // The key of a row of the version-2 branch among the run's lookups, by
  // its table and its name or number: "table/branch/name".
  QString namedKey(const QString& table, const QString& name) const;
  // A party's ID, kept under its namedKey.
  int ensureParty(const PartyKind& kind, int number);
  NamedRow ensureNamed(const QString& table, const QString& name,
                       const std::function<NamedRow()>& ensure);

  // Vouchers (FrmCat_RestoreVouchers.cpp).
  int voucherPartyAccount();
  void postVoucher(VoucherWindow& window, const VoucherKind& kind);

  std::unique_ptr<Version1Source> source_;
  Recordset version1Rows_;
  Recordset version2Rows_;
  PartyTab customer_;
  PartyTab provider_;
  InvoiceTab sales_;
  InvoiceTab purchases_;
  std::array<QLabel*, 4> quantityLabels_{};
  int OverwriteAnswer = -1;
  bool FirstRecordPending = true;
  bool IsNewRecord = false;
  int DefaultClassID = 0;
  RunTally tally_;
  ImportReport* report_ = &tally_;
  QString stopReason_;
  // The dates last chosen in the filter ("yyyy/mm/dd" or empty), offered
  // again at its next showing.
  std::optional<std::pair<QString, QString>> filterPeriod_;
  RunState run_;
  // The version-2 rows the imports look up (items, parties, classes,
  // accounts) during a run, checked once per record.
  LookupCache lookups_{{QStringLiteral("Category"), QStringLiteral("Customer"),
                        QStringLiteral("Provider"), QStringLiteral("Class"),
                        QStringLiteral("CardAcc")}};
};

}  // namespace qalvoro
