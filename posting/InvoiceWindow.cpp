#include "posting/InvoiceWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/Globals.h"
#include "host/forms/FlexGrid.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"

namespace qalvoro {
namespace {

const QString kNoItem = QStringLiteral("يجب إدخال صنف واحد على الأقل");
const QString kNoDate = QStringLiteral("أدخل التاريخ");

QLabel* sunken(QLabel* label) {
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  return label;
}

}  // namespace

InvoiceWindow::InvoiceWindow(const InvoiceTraits& traits, QWidget* parent)
    : PostingFrame(traits.frame, parent), traits_(traits), store_(*traits.kind) {
  buildParty();
  buildGrid();
  buildTotals();
  lines_ = std::make_unique<InvoiceLines>(*Grid1, boxes_, traits.totals, traits.spread);
  if (!traits.linkBoxName.isEmpty()) {
    addLabel(QStringLiteral("رقم الفاتورة المرتجعة :"), {3800, 1500, 1750, 300}, FrameParty);
    txtLinkNo = addControl<QLineEdit>(traits.linkBoxName, {2300, 1500, 1400, 300}, FrameParty);
  }
}

InvoiceWindow::~InvoiceWindow() = default;

void InvoiceWindow::buildParty() {
  addLabel(QStringLiteral("طريقة الدفع :"), {3700, 1500, 1350, 300}, FrameHeader);
  CboPayment =
      addControl<QComboBox>(QStringLiteral("CboPayment"), {1700, 1480, 1900, 330}, FrameHeader);
  FrameParty = addControl<QGroupBox>(QStringLiteral("FrameParty"), {200, 100, 5700, 1900});
  FrameParty->setTitle(traits_.partyCaption);
  addLabel(QStringLiteral("الرقم :"), {4300, 300, 1250, 300}, FrameParty);
  txtPartyNo = addControl<QLineEdit>(traits_.partyNoName, {2800, 300, 1400, 300}, FrameParty);
  addLabel(QStringLiteral("الاسم :"), {4300, 700, 1250, 300}, FrameParty);
  txtPartyName = addControl<QLineEdit>(traits_.partyNameName, {150, 700, 4050, 300}, FrameParty);
  addLabel(QStringLiteral("ملاحظات :"), {4300, 1100, 1250, 300}, FrameParty);
  txtNote = addControl<QLineEdit>(QStringLiteral("txtNote"), {150, 1100, 4050, 300}, FrameParty);
  addEntryFrame(FrameParty);
}

QWidget* InvoiceWindow::firstEntry() const { return txtPartyNo; }

void InvoiceWindow::loadLists() {
  CboPayment->clear();
  CboPayment->addItem(Translate(QStringLiteral("نقدي")));
  CboPayment->addItem(Translate(QStringLiteral("آجل")));
  CboPayment->setCurrentIndex(0);
}

void InvoiceWindow::buildGrid() {
  FrameGrid = addControl<QGroupBox>(QStringLiteral("FrameGrid"), {200, 2050, 11000, 3500});
  Grid1 = addControl<FlexGrid>(QStringLiteral("Grid1"), {100, 150, 10800, 3250}, FrameGrid);
  Grid1->setEditableColumns({1, 4, 5});
  addEntryFrame(FrameGrid);
  connect(Grid1, &FlexGrid::cellEdited, this, [this](int row, int col) {
    ReportErrors([this, row, col] { Grid1_CellEdited(row, col); });
  });
}

void InvoiceWindow::buildTotals() {
  FrameTotals = addControl<QGroupBox>(QStringLiteral("FrameTotals"), {5000, 5650, 6200, 950});
  addLabel(QStringLiteral("الاجمالي :"), {5000, 250, 1050, 300}, FrameTotals);
  lblTotal =
      sunken(addControl<QLabel>(QStringLiteral("lblTotal"), {3800, 250, 1150, 300}, FrameTotals));
  addLabel(QStringLiteral("الحسم :"), {2800, 250, 900, 300}, FrameTotals);
  txtDiscount2 =
      addControl<QLineEdit>(QStringLiteral("txtDiscount2"), {1600, 250, 1150, 300}, FrameTotals);
  lblDiscount =
      sunken(addControl<QLabel>(QStringLiteral("lblDiscount"), {650, 250, 900, 300}, FrameTotals));
  addLabel(QStringLiteral("%"), {300, 250, 300, 300}, FrameTotals);
  addLabel(QStringLiteral("الصافي :"), {5000, 600, 1050, 300}, FrameTotals);
  lblAmount =
      sunken(addControl<QLabel>(QStringLiteral("lblAmount"), {3800, 600, 1150, 300}, FrameTotals));
  addEntryFrame(FrameTotals);
  connect(txtDiscount2, &QLineEdit::returnPressed, this,
          [this] { ReportErrors([this] { txtDiscount2_KeyPress(13); }); });
  if (traits_.totals == InvoiceLines::TotalsStyle::Purchase) {
    connect(txtDiscount2, &QLineEdit::editingFinished, this,
            [this] { ReportErrors([this] { Totals(); }); });
  }
}

template <class Routine>
void InvoiceWindow::withBoxes(Routine&& routine) {
  boxes_ = {lblTotal->text(), txtDiscount2->text(), lblDiscount->text(), lblAmount->text()};
  routine();
  lblTotal->setText(boxes_.total);
  txtDiscount2->setText(boxes_.discount);
  lblDiscount->setText(boxes_.percent);
  lblAmount->setText(boxes_.amount);
}

void InvoiceWindow::OpenMyRec() {
  store_.open(BranchID());
  setMode(QString());
}

void InvoiceWindow::txtDiscount2_KeyPress(int keyAscii) {
  if (keyAscii != 13) return;
  withBoxes([this] { lines_->discountEntered(InvoiceLines::DiscountSpread::WhenChanged); });
}

void InvoiceWindow::SpreadDiscount() {
  withBoxes([this] { lines_->discountEntered(InvoiceLines::DiscountSpread::Always); });
}

void InvoiceWindow::Totals() {
  withBoxes([this] { lines_->totals(); });
}

void InvoiceWindow::ReadLines(qint64 documentId) {
  if (!traits_.kind->readsLines) return;
  const auto stored = store_.readLines(documentId);
  withBoxes([this, &stored] { lines_->showLines(stored); });
}

void InvoiceWindow::clearDocument() {
  txtPartyName->clear();
  txtPartyNo->setText(traits_.partyNumberZero ? QStringLiteral("0") : QString());
  partyId_ = -1;
  const QString zero = globals().DecimalFormat;
  lblTotal->setText(zero);
  lblDiscount->setText(zero);
  lblAmount->setText(zero);
  txtDiscount2->setText(QStringLiteral("0"));
  txtNote->clear();
  if (txtLinkNo) {
    txtLinkNo->clear();
    setTag(*txtLinkNo, QString());
  }
  lines_->clear();
  store_.replaceAtSave({});
}

void InvoiceWindow::Grid1_CellEdited(int row, int col) {
  if (row < 1) return;
  withBoxes([this, row, col] {
    if (col != 1) {
      lines_->lineChanged(row);
      return;
    }
    const auto item = store_.itemForEntry(BranchID(), Grid1->textMatrix(row, 1).trimmed());
    if (item) {
      lines_->enterItem(row, *item);
    } else {
      platform().beep();
    }
  });
}

DocumentHeader InvoiceWindow::header() const {
  DocumentHeader document;
  document.number = txtfNo->text();
  document.date = txtDate1->storedText();
  document.time = txtTime1->text();
  document.partyId = PartyID();
  document.partyName = txtPartyName->text();
  document.payment = CboPayment->currentIndex();
  document.cashierAccId = CashierAccID();
  document.branchId = BranchID();
  document.note = txtNote->text();
  document.total = lblTotal->text();
  document.net = lblAmount->text();
  document.discount = txtDiscount2->text();
  document.link = txtLinkNo ? tagOf(*txtLinkNo) : QString();
  return document;
}

bool InvoiceWindow::saveDocument() {
  refusal_.clear();
  if (traits_.checksBeforeSave) {
    if (!lines_->hasLines()) {
      refusal_ = Translate(kNoItem);
      MsgBox(kNoItem, mb::kCritical);
      return false;
    }
    if (txtDate1->isEmpty()) {
      refusal_ = Translate(kNoDate);
      MsgBox(kNoDate, mb::kInformation);
      txtDate1->setFocus();
      return false;
    }
  }
  const bool stored = storeDocument([this] {
    if (!store_.isOpenFor(BranchID())) store_.open(BranchID());
    return store_.save(mode() == QLatin1String("Add"), header(), lines_->rows());
  });
  if (!stored) return false;
  if (traits_.tagsSavedId) setTag(*this, QString::number(savedId()));
  setMode(traits_.emptiesModeAfterSave ? QString() : QStringLiteral("SAVE"));
  SetButtonState(2);
  return true;
}

}  // namespace qalvoro
