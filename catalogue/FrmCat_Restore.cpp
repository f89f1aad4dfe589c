#include "catalogue/FrmCat_Restore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "catalogue/StockFile.h"
#include "host/Globals.h"
#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/SSTab.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/RecordBrowsing.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "posting/PostingWindows.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

const QString kExit = QStringLiteral("خروج  Esc");
const QString kBack = QStringLiteral("تراجع Esc");
constexpr int kBarWidth = 6000;  // twips of a full progress bar
constexpr int kEmptyBar = 15;    // twips of a progress bar at rest
constexpr int kStartNumberGap = 50;
constexpr int kStartButtonGap = 10;

const std::array<const char*, 6> kTabCaptions = {"كروت الأصناف",     "كروت العملاء",
                                                 "كروت الموردين",    "فواتير المبيعات",
                                                 "فواتير المشتريات", "السندات"};

}  // namespace

FrmCat_Restore::FrmCat_Restore(QWidget* parent) : Form(QStringLiteral("FrmCat_Restore"), parent) {
  setCaption(QStringLiteral("استيراد بيانات من Qalvoro للمخزون الإصدار 1.2"));
  setTwipsSize(11520, 8820);
  buildSourceFrame();
  SSTab1 = addControl<SSTab>(QStringLiteral("SSTab1"), {120, 1800, 11280, 5100});
  for (const char* caption : kTabCaptions) SSTab1->addTab(QString::fromUtf8(caption));
  buildItemTab();
  buildPartyTabs();
  buildInvoiceTabs();
  buildVoucherTab();
  buildRunControls();
  source_ = std::make_unique<Version1Source>(
      Version1Source::Product::Catalogue,
      Version1Source::Controls{CboOldBranch, CmdOpenOldDB, nullptr, nullptr, txtOldDBFile,
                               CmdFilter, [this] { closeVersion2Rows(); }});
  connectEvents();
}

FrmCat_Restore::~FrmCat_Restore() = default;

void FrmCat_Restore::connectEvents() {
  const auto on = [this](QPushButton* clicked, void (FrmCat_Restore::*handler)()) {
    connect(clicked, &QPushButton::clicked, this,
            [this, handler] { ReportErrors([this, handler] { (this->*handler)(); }); });
  };
  // Presses that close or reopen the file end a run first: the run reads
  // from it.
  const auto whenIdle = [this](QPushButton* clicked, const std::function<void()>& press) {
    connect(clicked, &QPushButton::clicked, this, [this, press] { run_.whenIdle(press); });
  };
  whenIdle(CmdDialog, [this] { source_->CmdDialog_Click(); });
  whenIdle(CmdOpenOldDB, [this] { source_->CmdOpenOldDB_Click(); });
  whenIdle(CmdFilter, [this] { CmdFilter_Click(); });
  on(Cmd_First, &FrmCat_Restore::Cmd_First_Click);
  on(Cmd_Pre, &FrmCat_Restore::Cmd_Pre_Click);
  on(Cmd_Next, &FrmCat_Restore::Cmd_Next_Click);
  on(Cmd_Last, &FrmCat_Restore::Cmd_Last_Click);
  on(CmdImport, &FrmCat_Restore::CmdImport_Click);
  on(CmdImportAll, &FrmCat_Restore::CmdImportAll_Click);
  on(CmdStop, &FrmCat_Restore::CmdStop_Click);
  on(Cmd_Exit, &FrmCat_Restore::Cmd_Exit_Click);
  connect(CboOldBranch, &QComboBox::currentIndexChanged, this,
          [this] { ReportErrors([this] { CboOldBranch_Click(); }); });
  connect(CboBranch, &QComboBox::currentIndexChanged, this,
          [this] { ReportErrors([this] { CboBranch_Click(); }); });
  connect(SSTab1, &SSTab::currentTabChanged, this,
          [this] { ReportErrors([this] { SSTab1_Click(); }); });
  connect(OptType[1], &QRadioButton::toggled, this, [this] { OptType_Click(); });
  connect(ChkClass, &QCheckBox::toggled, this, [this] { ChkClass_Click(); });
  connect(ChkProvider, &QCheckBox::toggled, this, [this] { ChkProvider_Click(); });
  for (int index = 0; index < 2; ++index) {
    for (const auto& [button, box] : {std::pair{CmdAccCustmr[index], txtAccCustomer[index]},
                                      std::pair{CmdAccProvdr[index], txtAccProvider[index]}}) {
      connect(button, &QPushButton::clicked, this,
              [this, box] { ReportErrors([this, box] { chooseParentAccount(*box); }); });
    }
  }
  CboClass->installEventFilter(this);
  connectInvoiceTabs();
}

void FrmCat_Restore::formLoad() {
  SetFontForm(*this);
  ApplyLanguage(*this);
  Cmd_Exit->setText(Translate(kExit));
  OptType[0]->setChecked(true);
  ReportErrors([this] {
    FillComboFromTable(*CboUnit, QStringLiteral("Unit"));
    FillComboFromTable(*CboBranch, QStringLiteral("Branch"));
    SelectComboByData(*CboBranch, 0);
    if (CboBranch->count() > 0 && CboBranch->currentIndex() < 0) CboBranch->setCurrentIndex(0);
    FillClassCombo();
    if (CboClass->count() > 0) CboClass->setCurrentIndex(0);
    if (CboUnit->count() > 0) CboUnit->setCurrentIndex(0);
  });
  ChkClass->setChecked(true);
  ChkClass_Click();
  SetButtonState(0);
  txtOldDBFile->setText(globals().AppPath + QStringLiteral("STOCK001.MDB"));
  const QSignalBlocker blocker(CboOldBranch);
  CboOldBranch->clear();
}

bool FrmCat_Restore::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CboClass && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && CboClass->currentIndex() >= 0) {
      platform().sendKeys(QStringLiteral("Tab"));
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

int FrmCat_Restore::version1Branch() const { return SelectedItemData(*CboOldBranch); }

int FrmCat_Restore::version2Branch() const { return SelectedItemData(*CboBranch); }

bool FrmCat_Restore::hasCurrentRow() const {
  return version1Rows_.state() == 1 && version1Rows_.recordCount() > 0 && !version1Rows_.bof() &&
         !version1Rows_.eof();
}

void FrmCat_Restore::SetButtonState(int mode) {
  if (CmdStop->isEnabled()) return;
  const std::initializer_list<QPushButton*> browsing = {Cmd_First, Cmd_Pre, Cmd_Next, Cmd_Last};
  switch (mode) {
    case 0:
      for (QPushButton* button : browsing) button->setEnabled(false);
      CmdImport->setEnabled(false);
      CmdImportAll->setEnabled(false);
      Cmd_Exit->setText(Translate(kExit));
      Lb_CurRec->setText(Translate(QStringLiteral("فارغ")));
      break;
    case 1:
      Cmd_Exit->setText(Translate(kBack));
      TxtCategoryNo->setEnabled(true);
      for (QPushButton* button : browsing) button->setEnabled(false);
      break;
    case 2:
      CmdImport->setEnabled(true);
      CmdImportAll->setEnabled(true);
      for (QPushButton* button : browsing) button->setEnabled(true);
      Cmd_Exit->setText(Translate(kExit));
      break;
    default:
      break;
  }
}

void FrmCat_Restore::ClearItemFields() {
  for (QLineEdit* field : {TxtCategoryNo, TxtAName, TxtEName, TxtLocation}) field->clear();
  for (QLineEdit* field : {TxtAQuantity, TxtRQuantity, TxtIQuantity, TxtRPoint, TxtCostPrice}) {
    field->setText(QStringLiteral("0"));
  }
  for (QLineEdit* price : txtPrice) price->setText(QStringLiteral("0.00"));
}

void FrmCat_Restore::showPosition() {
  Lb_CurRec->setText(QString::number(version1Rows_.absolutePosition()) + ' ' +
                     Translate(QStringLiteral("من")) + ' ' +
                     QString::number(version1Rows_.recordCount()));
  SetButtonState(2);
}

void FrmCat_Restore::ViewRec() {
  switch (SSTab1->currentTab()) {
    case kItemsTab:
      ShowItem();
      break;
    case kCustomersTab:
      ShowCustomer();
      break;
    case kProvidersTab:
      ShowProvider();
      break;
    case kSalesTab:
      ShowSales();
      break;
    case kPurchasesTab:
      ShowPurchases();
      break;
    case kVouchersTab:
      ShowVoucher();
      break;
  }
}

void FrmCat_Restore::loadVersion1Rows() {
  version1Rows_.close();
  version1Rows_.open(Version1TabQuery(SSTab1->currentTab()), source_->database(),
                     LockType::Optimistic, {version1Branch()});
  CompleteRowCount(version1Rows_);
}

void FrmCat_Restore::openVersion2Rows(bool onOldBranchChoice) {
  const QString query = Version2TabQuery(SSTab1->currentTab(), onOldBranchChoice);
  if (query.isEmpty()) return;
  version2Rows_.open(query, MainConnection(), LockType::Optimistic, {version2Branch()});
}

void FrmCat_Restore::closeVersion2Rows() {
  if (version2Rows_.state() == 1) version2Rows_.close();
}

void FrmCat_Restore::CboOldBranch_Click() {
  ClearItemFields();
  const bool chosen = CboOldBranch->currentIndex() >= 0;
  for (QWidget* control : std::initializer_list<QWidget*>{CmdImport, CmdImportAll, SSTab1}) {
    control->setEnabled(chosen);
  }
  if (!chosen) {
    // The file is being closed: nothing is listed any more, and a reopened
    // file holds every document again.
    version1Rows_.close();
    lblFilter->clear();
    SetButtonState(0);
    return;
  }
  PrepareStockFile(source_->database());
  loadVersion1Rows();
  closeVersion2Rows();
  openVersion2Rows(true);
  ViewRec();
}

void FrmCat_Restore::SSTab1_Click() {
  FirstRecordPending = true;
  if (CboOldBranch->currentIndex() < 0) return;
  const PointerGuard hourglass(MousePointer::Hourglass);
  closeVersion2Rows();
  loadVersion1Rows();
  const int tab = SSTab1->currentTab();
  if (tab <= kProvidersTab) {
    openVersion2Rows(false);
  } else {
    FillCashierCombo(*CboCashier[tab - kSalesTab], version2Branch());
  }
  if (tab == kSalesTab) placeStartNumber();
  ViewRec();
}

// The start number's box and button follow its label in reading order: on
// its left in a right-to-left window, on its right in a mirrored one.
void FrmCat_Restore::placeStartNumber() {
  const QRect label = twipsGeometry(*lblStartInvNo[0]);
  const int box = twipsGeometry(*txtStartInvNo[0]).width();
  const int button = twipsGeometry(*CmdStartInvNo[0]).width();
  if (rightToLeftOf(*this)) {
    const int boxLeft = label.left() - box - kStartNumberGap;
    setTwipsLeft(*txtStartInvNo[0], boxLeft);
    setTwipsLeft(*CmdStartInvNo[0], boxLeft - button - kStartButtonGap);
  } else {
    const int boxLeft = label.left() + label.width() + kStartNumberGap;
    setTwipsLeft(*txtStartInvNo[0], boxLeft);
    setTwipsLeft(*CmdStartInvNo[0], boxLeft + box + kStartButtonGap);
  }
}

void FrmCat_Restore::CboBranch_Click() {
  closeVersion2Rows();
  const int tab = SSTab1->currentTab();
  if (tab <= kProvidersTab) {
    openVersion2Rows(false);
  } else {
    FillCashierCombo(*CboCashier[tab - kSalesTab], version2Branch());
  }
  FillClassCombo();
}

void FrmCat_Restore::Cmd_First_Click() {
  version1Rows_.moveFirst();
  ViewRec();
}

void FrmCat_Restore::Cmd_Last_Click() {
  version1Rows_.moveLast();
  ViewRec();
}

void FrmCat_Restore::Cmd_Next_Click() {
  if (MoveToNextRecord(version1Rows_)) ViewRec();
}

void FrmCat_Restore::Cmd_Pre_Click() {
  if (MoveToPreviousRecord(version1Rows_, false)) ViewRec();
}

// A bar grows from the side where reading starts: from the right of its
// outline in a right-to-left window, from the left in a mirrored one.
void FrmCat_Restore::setShapeWidth(int index, int twips) {
  const QRect outline = twipsGeometry(*ShapeOut[index]);
  QRect bar = twipsGeometry(*ShapeIN[index]);
  bar.setWidth(twips);
  bar.moveLeft(rightToLeftOf(*this) ? outline.left() + outline.width() - twips : outline.left());
  setTwipsGeometry(*ShapeIN[index], bar);
}

void FrmCat_Restore::lockForRun(bool locked) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{SSTab1, Frame3, CboBranch, CmdImportAll, CmdImport, Cmd_Exit,
                                       Cmd_First, Cmd_Pre, Cmd_Next, Cmd_Last}) {
    control->setEnabled(!locked);
  }
  CmdStop->setEnabled(locked);
}

QString FrmCat_Restore::recordKey() const {
  switch (SSTab1->currentTab()) {
    case kItemsTab:
      return TxtCategoryNo->text();
    case kCustomersTab:
      return txtCustomerNo->text();
    case kProvidersTab:
      return txtProvNo->text();
    case kSalesTab:
      return TxtSalesNo->text();
    case kPurchasesTab:
      return txtBuyNo->text();
    case kVouchersTab:
      return txtSndNo->text();
    default:
      return {};
  }
}

void FrmCat_Restore::stopAt(const QString& reason) {
  OverwriteAnswer = 5;
  stopReason_ = reason;
}

void FrmCat_Restore::prepareProviderClassification() {
  EnsureClassByName(QStringLiteral("فئه1"));
  DefaultClassID = SelectedItemData(*CboClass);
  CboClass->clear();
}

void FrmCat_Restore::importShown() {
  lookups_.check();
  switch (SSTab1->currentTab()) {
    case kItemsTab:
      ImportItem();
      break;
    case kCustomersTab:
      ImportCustomer();
      break;
    case kProvidersTab:
      ImportProvider();
      break;
    case kSalesTab:
      ImportSales();
      break;
    case kPurchasesTab:
      ImportPurchases();
      break;
    case kVouchersTab:
      ImportVoucher();
      break;
    default:
      break;
  }
}

// After the import of the record on display: a stopped run keeps the row,
// and says why it stopped.
void FrmCat_Restore::endRecord() {
  if (OverwriteAnswer != 5) {
    RemoveProcessedRow(version1Rows_);
    return;
  }
  if (report_) {
    report_->stopped(recordKey(),
                     stopReason_.isEmpty() ? QStringLiteral("cancelled") : stopReason_);
  }
}

void FrmCat_Restore::CmdImport_Click() {
  const RunScope run(run_, [this] { OverwriteAnswer = 5; });
  if (!run || !hasCurrentRow()) return;
  lockForRun(true);
  lookups_.forget();
  setShapeWidth(0, kEmptyBar);
  setShapeWidth(1, kEmptyBar);
  OverwriteAnswer = -1;
  stopReason_.clear();
  report_->begin(1);
  try {
    if (SSTab1->currentTab() == kItemsTab && ChkProvider->isChecked()) {
      prepareProviderClassification();
    }
    if (SSTab1->currentTab() == kVouchersTab) FirstRecordPending = true;
    importShown();
  } catch (const DbError& error) {
    ShowError(error);
    stopAt(error.description());
  }
  endRecord();
  OverwriteAnswer = -1;
  lockForRun(false);
  ViewRec();
  ShowRunSummary(tally_.recordsSummary());
}

void FrmCat_Restore::CmdImportAll_Click() {
  const RunScope run(run_, [this] { OverwriteAnswer = 5; });
  if (!run || !hasCurrentRow()) return;
  lockForRun(true);
  lookups_.forget();
  OverwriteAnswer = -1;
  FirstRecordPending = true;
  stopReason_.clear();
  setShapeWidth(0, kEmptyBar);
  try {
    // One preparation for the whole run, as a single import makes it.
    if (SSTab1->currentTab() == kItemsTab && ChkProvider->isChecked()) {
      prepareProviderClassification();
    }
    CompleteRowCount(version1Rows_);
    const int total = version1Rows_.recordCount();
    report_->begin(total);
    int done = 0;
    while (!version1Rows_.eof()) {
      ++done;
      setShapeWidth(1, static_cast<int>(static_cast<long long>(done) * kBarWidth / total));
      platform().doEvents();
      ViewRec();
      importShown();
      if (OverwriteAnswer == 5) break;
      endRecord();
    }
  } catch (const DbError& error) {
    ShowError(error);
    stopAt(error.description());
  }
  if (OverwriteAnswer == 5) endRecord();
  FirstRecordPending = true;
  OverwriteAnswer = -1;
  setShapeWidth(1, kEmptyBar);
  setShapeWidth(0, kEmptyBar);
  lockForRun(false);
  ViewRec();
  ShowRunSummary(tally_.recordsSummary());
}

void FrmCat_Restore::CmdStop_Click() { OverwriteAnswer = 5; }

void FrmCat_Restore::CmdFilter_Click() {
  auto& filter = windows().get<FrmFilter>();
  if (filterPeriod_) {
    filter.txtDate1->setText(filterPeriod_->first);
    filter.txtDate2->setText(filterPeriod_->second);
  }
  filter.showModal();
  if (tagOf(filter) != QLatin1String("OK")) {
    windows().unload<FrmFilter>();
    return;
  }
  filterPeriod_ = {filter.txtDate1->text(), filter.txtDate2->text()};
  const QString format = QStringLiteral("yyyy/MM/dd");
  const QDate from = QDate::fromString(filterPeriod_->first, format);
  const QDate to = QDate::fromString(filterPeriod_->second, format);
  windows().unload<FrmFilter>();
  // The working copy is prepared afresh from the chosen file; the branch
  // chosen stays chosen.
  const int chosen = version1Branch();
  source_->CmdOpenOldDB_Click();
  source_->CmdOpenOldDB_Click();
  if (!source_->isOpen()) return;
  if (CboOldBranch->findData(chosen) >= 0) SelectComboByData(*CboOldBranch, chosen);
  DeleteDocumentsOutside(source_->database(), version1Branch(), from, to);
  const auto shown = [&format](const QDate& day) {
    return day.isValid() ? day.toString(format) : QStringLiteral("…");
  };
  lblFilter->setText(Translate(QStringLiteral("الفترة")) + QStringLiteral(" : ") + shown(from) +
                     QStringLiteral(" - ") + shown(to));
  SSTab1->setCurrentTab(kItemsTab);
}

void FrmCat_Restore::Cmd_Exit_Click() {
  run_.whenIdle([this] { unload(); });
}

// Leaving the window by its exit button, Esc or the title bar closes the
// version-1 file and unloads the hidden invoice and voucher windows and the
// overwrite prompt.
void FrmCat_Restore::formUnload() {
  if (source_->isOpen()) source_->CmdOpenOldDB_Click();
  windows().unload<FrmInvSales>();
  windows().unload<FrmInvBuy>();
  windows().unload<FrmOverWrite>();
  windows().unload<FrmPayment>();
  windows().unload<FrmReceipt>();
}

void FrmCat_Restore::closeEvent(QCloseEvent* event) {
  if (!run_.running()) {
    Form::closeEvent(event);
    return;
  }
  event->ignore();
  run_.whenIdle([this] { close(); });
}

void FrmCat_Restore::OptType_Click() {
  const bool goods = !OptType[1]->isChecked();
  for (QWidget* quantity :
       std::initializer_list<QWidget*>{TxtAQuantity, TxtIQuantity, TxtRQuantity, TxtRPoint}) {
    quantity->setVisible(goods);
  }
  for (QLabel* label : quantityLabels_) label->setVisible(goods);
}

void FrmCat_Restore::ChkClass_Click() {
  const bool asClasses = ChkClass->isChecked();
  if (asClasses) ChkProvider->setChecked(false);
  CboClass->setEnabled(!asClasses);
  txtTasneef->setEnabled(asClasses);
}

void FrmCat_Restore::ChkProvider_Click() {
  if (ChkProvider->isChecked()) ChkClass->setChecked(false);
}

}  // namespace qalvoro
