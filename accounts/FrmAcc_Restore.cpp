#include "accounts/FrmAcc_Restore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "accounts/JournalImport.h"
#include "browser/ModuleAcc.h"
#include "host/Globals.h"
#include "host/batch/ImportReport.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/RecordBrowsing.h"
#include "host/language/FormLayout.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

const QString kStop = QStringLiteral("توقف");
const QString kImportEntries = QStringLiteral("استيراد القيود");
const QString kExit = QStringLiteral("خروج  Esc");
const QColor kParentColour(255, 0, 0);  // light red of the classic palette
const QColor kLeafColour(0, 0, 255);    // light blue of the classic palette

// A version-1 number as the fields show it: empty for Null.
QString numberText(const QVariant& value) {
  return value.isNull() ? QString() : QString::number(value.toDouble(), 'g', 15);
}

void setTextColour(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

}  // namespace

FrmAcc_Restore::FrmAcc_Restore(QWidget* parent) : Form(QStringLiteral("FrmAcc_Restore"), parent) {
  setCaption(QStringLiteral("استيراد الحسابات"));
  setTwipsSize(10200, 8450);
  buildSourceFrame();
  buildAccountFields();
  buildButtons();
  source_ = std::make_unique<Version1Source>(
      Version1Source::Product::Accounts,
      Version1Source::Controls{CboOldBranch, CmdOpenOldDB, File1, CmdImportGaid, nullptr, nullptr,
                               [this] { closeVersion2List(); }});
}

FrmAcc_Restore::~FrmAcc_Restore() = default;

void FrmAcc_Restore::buildSourceFrame() {
  Frame3 = addControl<QGroupBox>(QStringLiteral("Frame3"), {5300, 120, 4700, 3900});
  Frame3->setTitle(QStringLiteral("قاعدة البيانات القديمة :"));
  auto* fileLabel = addControl<QLabel>(QStringLiteral("Label3"), {2700, 330, 1850, 300}, Frame3);
  fileLabel->setText(QStringLiteral("ملف قاعدة البيانات :"));
  CmdDialog = addControl<QPushButton>(QStringLiteral("CmdDialog"), {150, 300, 600, 360}, Frame3);
  CmdDialog->setText(QStringLiteral("..."));
  File1 = addControl<FileListBox>(QStringLiteral("File1"), {150, 720, 4400, 2200}, Frame3);
  File1->setPattern(QStringLiteral("*.mdb"));
  auto* branchLabel = addControl<QLabel>(QStringLiteral("Label4"), {3500, 3030, 1050, 330}, Frame3);
  branchLabel->setText(QStringLiteral("الفرع :"));
  CboOldBranch =
      addControl<QComboBox>(QStringLiteral("CboOldBranch"), {1700, 3030, 1700, 330}, Frame3);
  CmdOpenOldDB =
      addControl<QPushButton>(QStringLiteral("CmdOpenOldDB"), {150, 3000, 1400, 390}, Frame3);
  connect(CmdDialog, &QPushButton::clicked, this,
          [this] { ReportErrors([this] { source_->CmdDialog_Click(); }); });
  // Closing or reopening the file ends a run first: the run reads from it.
  connect(CmdOpenOldDB, &QPushButton::clicked, this,
          [this] { run_.whenIdle([this] { source_->CmdOpenOldDB_Click(); }); });
  connect(CboOldBranch, &QComboBox::currentIndexChanged, this,
          [this] { ReportErrors([this] { CboOldBranch_Click(); }); });
}

QLineEdit* FrmAcc_Restore::fieldWithLabel(QGroupBox* frame, const QString& name,
                                          const QString& caption, int top) {
  const int width = twipsGeometry(*frame).width();
  auto* label = addControl<QLabel>(QStringLiteral("Label1"), {width - 1750, top, 1600, 300}, frame);
  label->setText(caption);
  return addControl<QLineEdit>(name, {150, top, width - 1950, 300}, frame);
}

void FrmAcc_Restore::buildAccountFields() {
  auto* targetLabel = addControl<QLabel>(QStringLiteral("Label5"), {3300, 180, 1850, 330});
  targetLabel->setText(QStringLiteral("استيراد الى الفرع :"));
  CboBranch = addControl<QComboBox>(QStringLiteral("CboBranch"), {200, 180, 3000, 330});
  connect(CboBranch, &QComboBox::currentIndexChanged, this,
          [this] { ReportErrors([this] { CboBranch_Click(); }); });

  Frame7 = addControl<QGroupBox>(QStringLiteral("Frame7"), {200, 600, 4950, 1950});
  Frame7->setTitle(QStringLiteral("بيانات الحساب"));
  txtAccNo =
      fieldWithLabel(Frame7, QStringLiteral("txtAccNo"), QStringLiteral("رقم الحساب :"), 330);
  txtAccNameA =
      fieldWithLabel(Frame7, QStringLiteral("txtAccNameA"), QStringLiteral("اسم الحساب :"), 720);
  txtAccNameE = fieldWithLabel(Frame7, QStringLiteral("txtAccNameE"),
                               QStringLiteral("الاسم الانجليزي :"), 1110);
  txtAccFather = fieldWithLabel(Frame7, QStringLiteral("txtAccFather"),
                                QStringLiteral("الحساب الرئيسي :"), 1500);
  Label2 = addControl<QLabel>(QStringLiteral("Label2"), {200, 2600, 4950, 300});

  Frame2 = addControl<QGroupBox>(QStringLiteral("Frame2"), {200, 2950, 2400, 800});
  Frame2->setTitle(QStringLiteral("نوع الحساب"));
  CboAccType = addControl<QComboBox>(QStringLiteral("CboAccType"), {150, 330, 2100, 330}, Frame2);
  Frame4 = addControl<QGroupBox>(QStringLiteral("Frame4"), {2750, 2950, 2400, 800});
  Frame4->setTitle(QStringLiteral("طبيعة الحساب"));
  ChkDebit = addControl<QCheckBox>(QStringLiteral("ChkDebit"), {1250, 330, 1000, 330}, Frame4);
  ChkDebit->setText(QStringLiteral("مدين"));
  ChkCredit = addControl<QCheckBox>(QStringLiteral("ChkCredit"), {150, 330, 1000, 330}, Frame4);
  ChkCredit->setText(QStringLiteral("دائن"));

  FrameSBalance = addControl<QGroupBox>(QStringLiteral("FrameSBalance"), {200, 3850, 4950, 1150});
  FrameSBalance->setTitle(QStringLiteral("الرصيد الافتتاحي"));
  txtStartDebit =
      fieldWithLabel(FrameSBalance, QStringLiteral("txtStartDebit"), QStringLiteral("مدين"), 330);
  txtStartCredit =
      fieldWithLabel(FrameSBalance, QStringLiteral("txtStartCredit"), QStringLiteral("دائن"), 720);
  FrameBalance = addControl<QGroupBox>(QStringLiteral("FrameBalance"), {5300, 4100, 4700, 1150});
  FrameBalance->setTitle(QStringLiteral("الرصيد"));
  txtDebit = fieldWithLabel(FrameBalance, QStringLiteral("txtDebit"), QStringLiteral("مدين"), 330);
  txtCredit =
      fieldWithLabel(FrameBalance, QStringLiteral("txtCredit"), QStringLiteral("دائن"), 720);
  Frame6 = addControl<QGroupBox>(QStringLiteral("Frame6"), {5300, 5350, 4700, 750});
  Frame6->setTitle(QStringLiteral("الحد الأعلى للرصيد"));
  txtMaxDebit = addControl<QLineEdit>(QStringLiteral("txtMaxDebit"), {150, 330, 4400, 300}, Frame6);
  Lb_CurRec = addControl<QLabel>(QStringLiteral("Lb_CurRec"), {200, 5100, 4950, 330});
  Lb_CurRec->setFrameShape(QFrame::Panel);
  Lb_CurRec->setFrameShadow(QFrame::Sunken);
}

void FrmAcc_Restore::buildButtons() {
  const auto button = [this](const QString& name, const QString& caption, const QRect& twips) {
    auto* created = addControl<QPushButton>(name, twips);
    created->setText(caption);
    return created;
  };
  Cmd_First =
      button(QStringLiteral("Cmd_First"), QStringLiteral("السجل الأول"), {7600, 6250, 2400, 420});
  Cmd_Pre =
      button(QStringLiteral("Cmd_Pre"), QStringLiteral("السجل السابق"), {5100, 6250, 2400, 420});
  Cmd_Next =
      button(QStringLiteral("Cmd_Next"), QStringLiteral("السجل التالي"), {2600, 6250, 2400, 420});
  Cmd_Last = button(QStringLiteral("Cmd_Last"), QStringLiteral("آخر سجل"), {200, 6250, 2300, 420});
  CmdImport =
      button(QStringLiteral("CmdImport"), QStringLiteral("استيراد"), {8500, 6800, 1500, 450});
  CmdImportAll = button(QStringLiteral("CmdImportAll"), QStringLiteral("استيراد الكل"),
                        {6900, 6800, 1500, 450});
  CmdStop = button(QStringLiteral("CmdStop"), kStop, {5300, 6800, 1500, 450});
  CmdStop->setEnabled(false);
  CmdImportGaid = button(QStringLiteral("CmdImportGaid"), kImportEntries, {3200, 6800, 2000, 450});
  CmdImportGaid->setEnabled(false);
  Cmd_Exit = button(QStringLiteral("Cmd_Exit"), kExit, {200, 6800, 1800, 450});
  setCancelButton(Cmd_Exit);
  Frame1 = addControl<QGroupBox>(QStringLiteral("Frame1"), {200, 7400, 9800, 900});
  Frame1->setTitle(QStringLiteral("استيراد القيود"));
  lblGaidStatus =
      addControl<QLabel>(QStringLiteral("lblGaidStatus"), {150, 360, 9500, 360}, Frame1);
  Frame1->hide();

  const auto on = [this](QPushButton* clicked, void (FrmAcc_Restore::*handler)()) {
    connect(clicked, &QPushButton::clicked, this,
            [this, handler] { ReportErrors([this, handler] { (this->*handler)(); }); });
  };
  on(Cmd_First, &FrmAcc_Restore::Cmd_First_Click);
  on(Cmd_Pre, &FrmAcc_Restore::Cmd_Pre_Click);
  on(Cmd_Next, &FrmAcc_Restore::Cmd_Next_Click);
  on(Cmd_Last, &FrmAcc_Restore::Cmd_Last_Click);
  on(CmdImport, &FrmAcc_Restore::CmdImport_Click);
  on(CmdImportAll, &FrmAcc_Restore::CmdImportAll_Click);
  on(CmdStop, &FrmAcc_Restore::CmdStop_Click);
  on(CmdImportGaid, &FrmAcc_Restore::CmdImportGaid_Click);
  on(Cmd_Exit, &FrmAcc_Restore::Cmd_Exit_Click);
}

void FrmAcc_Restore::formLoad() {
  SetFontForm(*this);
  ApplyLanguage(*this);
  Cmd_Exit->setText(Translate(kExit));
  CmdImportGaid->setText(Translate(kImportEntries));
  CboAccType->clear();
  for (const char* type : {"ميزانية", "أرباح وخسائر", "متاجرة"}) {
    CboAccType->addItem(Translate(QString::fromUtf8(type)));
  }
  ReportErrors([this] {
    FillComboFromTable(*CboBranch, QStringLiteral("Branch"));
    SelectComboByData(*CboBranch, 0);
    if (CboBranch->count() > 0 && CboBranch->currentIndex() < 0) CboBranch->setCurrentIndex(0);
  });
  SetButtonState(0);
  const QSignalBlocker blocker(CboOldBranch);
  CboOldBranch->clear();
}

int FrmAcc_Restore::version1Branch() const { return SelectedItemData(*CboOldBranch); }

int FrmAcc_Restore::version2Branch() const { return SelectedItemData(*CboBranch); }

void FrmAcc_Restore::ClearFields() {
  for (QLineEdit* field : {txtAccNo, txtAccNameA, txtAccNameE, txtAccFather, txtStartCredit,
                           txtStartDebit, txtDebit, txtCredit, txtMaxDebit}) {
    field->clear();
  }
}

void FrmAcc_Restore::SetButtonState(int state) {
  if (CmdStop->isEnabled()) return;
  const bool shown = state == 2;
  for (QPushButton* button : {Cmd_First, Cmd_Pre, Cmd_Next, Cmd_Last, CmdImport, CmdImportAll}) {
    button->setEnabled(shown);
  }
  Cmd_Exit->setText(Translate(kExit));
  Frame7->setEnabled(true);
  if (!shown) Lb_CurRec->setText(Translate(QStringLiteral("فارغ")));
}

void FrmAcc_Restore::colourFields(bool parentAccount) {
  const QColor colour = parentAccount ? kParentColour : kLeafColour;
  if (txtAccNo->palette().color(QPalette::Text) == colour) return;
  for (QWidget* field : std::initializer_list<QWidget*>{txtAccNo, txtAccNameA, txtAccNameE,
                                                        txtAccFather, txtStartCredit, txtStartDebit,
                                                        txtDebit, txtCredit, txtMaxDebit, Label2}) {
    setTextColour(*field, colour);
  }
}

void FrmAcc_Restore::ViewRec() {
  ClearFields();
  ChkDebit->setChecked(false);
  ChkCredit->setChecked(false);
  SetButtonState(2);
  Recordset& rows = version1List_;
  if (rows.state() != 1 || rows.recordCount() == 0 || rows.bof() || rows.eof()) {
    SetButtonState(0);
    return;
  }
  txtAccNo->setText(rows.text(QStringLiteral("رقم_الحساب")).trimmed());
  if (!rows.isNull(QStringLiteral("الحد_الاعلى"))) {
    txtMaxDebit->setText(numberText(rows.value(QStringLiteral("الحد_الاعلى"))));
  }
  colourFields(Val(rows.text(QStringLiteral("Haves"))) != 0);
  ChkCredit->setChecked(Val(rows.text(QStringLiteral("دائن"))) != 0 ||
                        rows.text(QStringLiteral("دائن")) == QLatin1String("true"));
  ChkDebit->setChecked(Val(rows.text(QStringLiteral("مدين"))) != 0 ||
                       rows.text(QStringLiteral("مدين")) == QLatin1String("true"));
  txtAccNameA->setText(rows.text(QStringLiteral("اسم_الحساب")).trimmed());
  txtAccFather->setText(rows.text(QStringLiteral("ffather")).trimmed());
  txtStartCredit->setText(numberText(rows.value(QStringLiteral("افتتاحي_دائن"))));
  txtStartDebit->setText(numberText(rows.value(QStringLiteral("افتتاحي_مدين"))));
  CboAccType->setCurrentIndex(static_cast<int>(Val(rows.text(QStringLiteral("ftype")))));
  showParentName();
  Lb_CurRec->setText(Translate(QStringLiteral("سجل")) + ' ' +
                     QString::number(rows.absolutePosition()) + ' ' +
                     Translate(QStringLiteral("من")) + ' ' + QString::number(rows.recordCount()));
}

void FrmAcc_Restore::showParentName() {
  Label2->clear();
  const auto parent =
      source_->database().firstRow(QStringLiteral("SELECT اسم_الحساب, مدين, دائن FROM Card "
                                                  "WHERE رقم_الحساب = ? AND رقم_الفرع = ?"),
                                   {txtAccFather->text(), version1Branch()});
  if (parent) Label2->setText(parent->value(0).toString());
}

void FrmAcc_Restore::CboOldBranch_Click() {
  ClearFields();
  const bool chosen = CboOldBranch->currentIndex() >= 0;
  for (QWidget* control : std::initializer_list<QWidget*>{CmdImport, CmdImportAll, Frame7,
                                                          Cmd_First, Cmd_Last, Cmd_Pre, Cmd_Next}) {
    control->setEnabled(chosen);
  }
  if (!chosen) return;
  version1List_.close();
  version1List_.open(QStringLiteral("SELECT * FROM Card WHERE رقم_الفرع = ? "
                                    "ORDER BY رقم_الفرع, fFather"),
                     source_->database(), LockType::Optimistic, {version1Branch()});
  CompleteRowCount(version1List_);
  closeVersion2List();
  openVersion2List();
  ViewRec();
}

void FrmAcc_Restore::CboBranch_Click() {
  closeVersion2List();
  openVersion2List();
}

void FrmAcc_Restore::openVersion2List() {
  version2List_.open(QStringLiteral("SELECT * FROM CardAcc WHERE BranchID = ? ORDER BY AccNo"),
                     MainConnection(), LockType::Optimistic, {version2Branch()});
}

void FrmAcc_Restore::closeVersion2List() {
  if (version2List_.state() == 1) version2List_.close();
}

void FrmAcc_Restore::Cmd_First_Click() {
  version1List_.moveFirst();
  ViewRec();
}

void FrmAcc_Restore::Cmd_Last_Click() {
  version1List_.moveLast();
  ViewRec();
}

void FrmAcc_Restore::Cmd_Next_Click() {
  if (MoveToNextRecord(version1List_)) ViewRec();
}

void FrmAcc_Restore::Cmd_Pre_Click() {
  if (MoveToPreviousRecord(version1List_, true)) ViewRec();
}

AccountFields FrmAcc_Restore::fields() const {
  AccountFields account;
  account.accNo = txtAccNo->text();
  account.nameA = txtAccNameA->text();
  account.nameE = txtAccNameE->text();
  account.father = txtAccFather->text();
  account.maxDebit = txtMaxDebit->text();
  account.startDebit = txtStartDebit->text();
  account.startCredit = txtStartCredit->text();
  account.debit = ChkDebit->isChecked();
  account.credit = ChkCredit->isChecked();
  account.type = CboAccType->currentIndex();
  account.branch = version2Branch();
  return account;
}

void FrmAcc_Restore::askOverwrite(const ExistingAccount& existing) {
  const QString number = Translate(QStringLiteral("رقم الحساب :"));
  const QString name = Translate(QStringLiteral("اسم الحساب :"));
  OverwriteAnswer =
      AskOverwrite(number + existing.accNo + "\r\n" + name + existing.nameA,
                   number + version1List_.text(QStringLiteral("رقم_الحساب")) + "\r\n" + name +
                       version1List_.text(QStringLiteral("اسم_الحساب")));
}

void FrmAcc_Restore::ImportAccount() {
  const AccountFields account = fields();
  const QString key = account.accNo.trimmed();
  const auto refuse = [&](const QString& reason) {
    if (report_) report_->record(key, ImportReport::Outcome::Refused, reason);
  };
  if (key.isEmpty()) {
    MsgBox(QStringLiteral("يجب ادخال رقم حساب"), mb::kInformation);
    txtAccNo->setFocus();
    return refuse(QStringLiteral("no account number"));
  }
  if (account.nameA.isEmpty() && account.nameE.isEmpty()) {
    MsgBox(QStringLiteral("يجب إدخال اسم حساب"), mb::kInformation);
    txtAccNameA->setFocus();
    return refuse(QStringLiteral("no account name"));
  }
  const AccountImport::AccountChecks checks = AccountImport::CheckAccount(account);
  if (!account.father.isEmpty()) {
    if (checks.parentId == 0) {
      MsgBox(QStringLiteral("الحساب الرئيسي غير موجود"), mb::kInformation);
      OverwriteAnswer = 5;
      if (report_) report_->stopped(key, "parent account " + account.father + " does not exist");
      return;
    }
    if (checks.parentHasJournalLines) {
      platform().msgBox(
          Translate(QStringLiteral("رقم الحساب ")) + account.father + '\n' +
              Translate(QStringLiteral("لايمكن استخدامه كحساب رئيسي بسبب وجود بعض القيود عليه")),
          mb::kCritical, QString());
      txtAccFather->setFocus();
      return refuse("parent account " + account.father + " carries journal lines");
    }
  }
  IsNewRecord = true;
  if (checks.existing) {
    IsNewRecord = false;
    SetTableLock(QStringLiteral("UnLock"), QStringLiteral("CardAcc"));
    if (OverwriteAnswer <= 2) askOverwrite(*checks.existing);
  }
  if (OverwriteAnswer == 5) {
    if (report_) report_->stopped(key, QStringLiteral("cancelled"));
    return;
  }
  if (!IsNewRecord && (OverwriteAnswer == 2 || OverwriteAnswer == 4)) {
    if (report_) report_->record(key, ImportReport::Outcome::Skipped, QString());
    return;
  }
  AccountImport::WriteAccount(version2List_, account, IsNewRecord, checks.parentId);
  if (report_) {
    report_->record(
        key, IsNewRecord ? ImportReport::Outcome::Imported : ImportReport::Outcome::Overwritten,
        QString());
  }
}

void FrmAcc_Restore::stopAt(const QString& reason) {
  OverwriteAnswer = 5;
  if (report_) report_->stopped(txtAccNo->text().trimmed(), reason);
}

void FrmAcc_Restore::CmdImport_Click() {
  const RunScope run(run_, [this] { OverwriteAnswer = 5; });
  if (!run) return;
  OverwriteAnswer = -1;
  report_->begin(1);
  try {
    ImportAccount();
  } catch (const DbError& error) {
    ShowError(error);
    stopAt(error.description());
  }
  ShowRunSummary(tally_.recordsSummary());
  if (OverwriteAnswer == 5) {
    OverwriteAnswer = -1;
    return;
  }
  RemoveProcessedRow(version1List_);
  ViewRec();
  OverwriteAnswer = -1;
}

void FrmAcc_Restore::lockForRun(bool locked) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{Frame7, Frame3, CboBranch, CmdImportAll, CmdImport, Cmd_Exit,
                                       Cmd_First, Cmd_Pre, Cmd_Next, Cmd_Last}) {
    control->setEnabled(!locked);
  }
  CmdStop->setEnabled(locked);
}

void FrmAcc_Restore::CmdImportAll_Click() {
  const RunScope run(run_, [this] { OverwriteAnswer = 5; });
  if (!run) return;
  lockForRun(true);
  OverwriteAnswer = -1;
  version1List_.requery();
  report_->begin(version1List_.recordCount());
  try {
    while (!version1List_.eof()) {
      platform().doEvents();
      ViewRec();
      ImportAccount();
      if (OverwriteAnswer == 5) break;
      RemoveProcessedRow(version1List_);
      if (version1List_.recordCount() == 0) break;
    }
  } catch (const DbError& error) {
    ShowError(error);
    stopAt(error.description());
  }
  version1List_.requery();
  OverwriteAnswer = -1;
  lockForRun(false);
  ViewRec();
  ShowRunSummary(tally_.recordsSummary());
}

void FrmAcc_Restore::CmdStop_Click() { OverwriteAnswer = 5; }

void FrmAcc_Restore::CmdImportGaid_Click() {
  if (CmdImportGaid->text() == Translate(kStop)) {
    const int answer = MsgBox(QStringLiteral("هل بالتأكيد التوقف ؟"),
                              mb::kYesNo | mb::kQuestion | mb::kDefaultButton2);
    if (answer == mb::kYes) {
      CmdImportGaid->setText(Translate(kImportEntries));
      Frame1->hide();
      OverwriteAnswer = 5;
    }
    return;
  }
  const RunScope run(run_, [this] { OverwriteAnswer = 5; });
  if (!run || !confirmJournalRun()) return;
  Frame1->show();
  CmdImportGaid->setText(Translate(kStop));
  try {
    runJournal();
  } catch (const DbError& error) {
    ShowError(error);
    journal_.reset();
    CmdImportGaid->setText(Translate(kImportEntries));
    Frame1->hide();
    OverwriteAnswer = -1;
    if (report_) report_->stopped(QString(), error.description());
    ShowRunSummary(tally_.journalSummary());
  }
}

bool FrmAcc_Restore::confirmJournalRun() {
  const int question = mb::kYesNo | mb::kQuestion;
  if (CmdImportAll->isEnabled() && version1List_.state() == 1 && version1List_.recordCount() > 0) {
    const QString text = Translate(QStringLiteral("بعض أرقام الحسابات لم تنتقل.")) + "\r\n" +
                         Translate(QStringLiteral("هل تريد استيراد القيود الآن ؟"));
    if (platform().msgBox(text, question | globals().MsgBoxRtlFlags, QString()) != mb::kYes) {
      return false;
    }
  }
  const QString text = Translate(QStringLiteral("في حالة وجود قيد بنفس الرقم سيتم إستبداله")) +
                       "\r\n" + Translate(QStringLiteral("هل تريد الإستمرار ؟"));
  return platform().msgBox(text, question | globals().MsgBoxRtlFlags, QString()) == mb::kYes;
}

void FrmAcc_Restore::runJournal() {
  const int branch = version2Branch();  // the user may choose another one during the run
  journal_ = std::make_unique<JournalImport>(source_->database(), branch);
  const std::vector<int> entries = journal_->EntryNumbers();
  report_->begin(static_cast<int>(entries.size()));
  OverwriteAnswer = -1;
  const QString importing = Translate(QStringLiteral("جاري استيراد القيد رقم:"));
  const QString total = QString::number(entries.size());
  for (const int entry : entries) {
    if (OverwriteAnswer == 5) {
      report_->stopped(QString(), QStringLiteral("stopped by the user"));
      break;
    }
    lblGaidStatus->setText(importing + ' ' + QString::number(entry) + " / " + total);
    lblGaidStatus->repaint();
    ImportJournalEntry(entry);
    platform().doEvents();
  }
  journal_->Relink();
  journal_.reset();
  Frame1->show();
  refreshSubAccounts(branch);
  endJournalRun();
  ShowRunSummary(tally_.journalSummary());
}

void FrmAcc_Restore::ImportJournalEntry(int entryNumber) {
  const auto result = journal_->ImportJournalEntry(entryNumber, [] { platform().doEvents(); });
  if (report_ && result.written) {
    report_->entry(entryNumber, result.lines, result.skippedLines, result.balanced);
  }
}

void FrmAcc_Restore::refreshSubAccounts(int branch) {
  const QString linking = Translate(QStringLiteral("يتم الآن ربط أرقام الحسابات الفرعيه:"));
  RefreshParentSubCards(branch, [&](int done, int total) {
    lblGaidStatus->setText(linking + ' ' + QString::number(done * 100 / total));
    lblGaidStatus->repaint();
  });
}

void FrmAcc_Restore::endJournalRun() {
  CmdImportGaid->setText(Translate(kImportEntries));
  Frame1->hide();
  CmdImportGaid->setEnabled(false);
  OverwriteAnswer = -1;
}

void FrmAcc_Restore::Cmd_Exit_Click() {
  if (CmdImportGaid->text() == Translate(kStop)) return;
  // After a stop the journal run still finishes its entry and relinks.
  run_.whenIdle([this] {
    if (source_->isOpen()) source_->CmdOpenOldDB_Click();
    windows().unload<FrmOverWrite>();
    unload();
  });
}

void FrmAcc_Restore::closeEvent(QCloseEvent* event) {
  if (!run_.running()) {
    Form::closeEvent(event);
    return;
  }
  event->ignore();
  run_.whenIdle([this] { close(); });
}

}  // namespace qalvoro
