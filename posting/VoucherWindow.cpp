#include "posting/VoucherWindow.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "host/forms/Tarmin_Calander3.h"
#include "host/helpers/ComboHelpers.h"
#include "host/language/Language.h"

namespace qalvoro {
namespace {

// Frame3's rows: payee / payer, amount, type, cheque number, cheque date,
// bank (receipts), description; 400 twips apart.
constexpr int kRowHeight = 400;
constexpr int kFirstRow = 300;
constexpr int kFrame3Top = 2050;
constexpr int kFrameWidth = 5500;
constexpr int kCaptionWidth = kFrameWidth - 3850;

int rowsOf(bool bankList) { return bankList ? 7 : 6; }
int frame3Height(bool bankList) { return kFirstRow + rowsOf(bankList) * kRowHeight; }
int rowTop(int row) { return kFirstRow + row * kRowHeight; }

}  // namespace

FrameTraits voucherFrame(const char* windowName, const char* caption, bool bankList) {
  FrameTraits frame;
  frame.windowName = QString::fromLatin1(windowName);
  frame.caption = QString::fromUtf8(caption);
  frame.headerName = QStringLiteral("Frame2");
  frame.headerTitle = QStringLiteral("السند");
  frame.headerTwips = {100, 100, kFrameWidth, 1900};
  frame.numberCaption = QStringLiteral("رقم السند:");
  frame.buttonsTop = kFrame3Top + frame3Height(bankList) + 150;
  frame.twips = {kFrameWidth + 200, frame.buttonsTop + 650};
  frame.escapePressesExit = true;
  frame.exitAsksUndo = true;
  return frame;
}

VoucherWindow::VoucherWindow(const VoucherTraits& traits, QWidget* parent)
    : PostingFrame(traits.frame, parent), traits_(traits), store_(*traits.kind) {
  Frame2 = FrameHeader;
  buildVoucher();
}

void VoucherWindow::buildVoucher() {
  addLabel(QStringLiteral("الصندوق :"), {3700, 1500, kCaptionWidth, 300}, Frame2);
  txtAccFunds =
      addControl<QLineEdit>(QStringLiteral("txtAccFunds"), {150, 1500, 3450, 300}, Frame2);
  txtAccFunds->setReadOnly(true);

  Frame3 = addControl<QGroupBox>(QStringLiteral("Frame3"),
                                 {100, kFrame3Top, kFrameWidth, frame3Height(traits_.bankList)});
  Frame3->setTitle(QStringLiteral("تفاصيل السند"));
  int row = 0;
  const auto label = [this, &row](const char* caption) {
    addLabel(QString::fromUtf8(caption), {3700, rowTop(row), kCaptionWidth, 300}, Frame3);
  };
  const auto box = [this, &row](const QString& name, bool wide) {
    const QRect twips =
        wide ? QRect(150, rowTop(row), 3450, 300) : QRect(1700, rowTop(row), 1900, 300);
    return addControl<QLineEdit>(name, twips, Frame3);
  };
  addLabel(traits_.nameCaption, {3700, rowTop(row), kCaptionWidth, 300}, Frame3);
  txtName = box(traits_.nameBoxName, true);
  ++row;
  label("المبلغ :");
  txtMoney1 = box(QStringLiteral("txtMoney1"), false);
  ++row;
  label("النوع :");
  CboType =
      addControl<QComboBox>(QStringLiteral("CboType"), {1700, rowTop(row) - 20, 1900, 330}, Frame3);
  ++row;
  label("رقم الشيك :");
  txtBillNo = box(QStringLiteral("txtBillNo"), false);
  ++row;
  label("تاريخ الشيك :");
  txtBillDate = addControl<Tarmin_Calander3>(QStringLiteral("txtBillDate"),
                                             {1700, rowTop(row) - 20, 1900, 330}, Frame3);
  addDateControl(txtBillDate);
  if (traits_.bankList) {
    ++row;
    label("البنك :");
    CboBank = addControl<QComboBox>(QStringLiteral("CboBank"), {150, rowTop(row) - 20, 3450, 330},
                                    Frame3);
    connect(CboBank, &QComboBox::currentIndexChanged, this,
            [this] { bankId_ = SelectedItemData(*CboBank); });
  }
  ++row;
  label("البيان :");
  txtDetails = box(traits_.detailsBoxName, true);
  addEntryFrame(Frame3);

  if (traits_.numberSelectsOnFocus) txtfNo->installEventFilter(this);
  if (traits_.typeEnterMovesOn) CboType->installEventFilter(this);
}

bool VoucherWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtfNo && event->type() == QEvent::FocusIn) {
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, txtfNo, [box = txtfNo] { box->selectAll(); });
  }
  if (watched == CboType && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return PostingFrame::eventFilter(watched, event);
}

QWidget* VoucherWindow::firstEntry() const { return txtfNo; }

void VoucherWindow::loadLists() {
  CboType->clear();
  CboType->addItem(Translate(QStringLiteral("نقدي")));
  CboType->addItem(Translate(QStringLiteral("شيك")));
  if (CboBank) {
    FillComboFromTable(*CboBank, QStringLiteral("Bank"));
    CboBank->setCurrentIndex(-1);
  }
}

void VoucherWindow::OpenMyRec() {
  store_.open(BranchID());
  setMode(QString());
  SetButtonState(2);
}

void VoucherWindow::clearDocument() {
  txtBillDate->setText(QString());
  txtName->clear();
  txtBillNo->clear();
  txtMoney1->clear();
  txtDetails->clear();
  txtAccFunds->clear();
  if (CboBank) CboBank->setCurrentIndex(-1);
  bankId_ = -1;
  store_.replaceAtSave(false);
}

Voucher VoucherWindow::voucher() const {
  Voucher voucher;
  voucher.number = txtfNo->text();
  voucher.date = txtDate1->storedText();
  voucher.time = txtTime1->text();
  voucher.branchId = BranchID();
  voucher.cashierAccId = CashierAccID();
  voucher.partyAccId = partyAccId_;
  voucher.payer = txtName->text();
  voucher.amount = txtMoney1->text();
  voucher.type = CboType->currentIndex();
  voucher.bankId = bankId_;
  voucher.billNo = txtBillNo->text();
  voucher.billDate = txtBillDate->storedText();
  voucher.details = txtDetails->text();
  return voucher;
}

bool VoucherWindow::saveDocument() {
  const bool stored = storeDocument([this] {
    if (!store_.isOpenFor(BranchID())) store_.open(BranchID());
    return store_.save(mode() == QLatin1String("Add"), voucher());
  });
  if (!stored) return false;
  SetButtonState(2);
  setMode(QString());
  return true;
}

}  // namespace qalvoro
