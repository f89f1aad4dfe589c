// The views and imports of the sales and purchase tabs: the invoice on
// display with its return list, the import of an invoice and then of its
// returns through the hidden posting windows, and the renumbering.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/InvoiceImport.h"
#include "host/Globals.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/FlexGrid.h"
#include "host/forms/RunState.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "posting/PostingWindows.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

using Outcome = ImportReport::Outcome;

constexpr int kBarWidth = 6000;
constexpr int kEmptyBar = 15;

const QString kInvoiceNumber = QStringLiteral("رقم_الفاتورة");

InvoiceWindow& invoiceWindow(const TradeSide& side) {
  if (side.sales) return windows().get<FrmInvSales>();
  return windows().get<FrmInvBuy>();
}

InvoiceWindow& returnWindow(const TradeSide& side) {
  if (side.sales) return windows().get<FrmInvSales_R>();
  return windows().get<FrmInvBuy_R>();
}

// Shows a text in a box; a box that already shows it is left alone, so
// that runs do not lay out the same text again for every record.
void showText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

int barWidth(int done, int total) {
  return static_cast<int>(static_cast<long long>(done) * kBarWidth / std::max(total, 1));
}

}  // namespace

void FrmCat_Restore::connectInvoiceTabs() {
  sales_ = {&SalesSide(),   0,           TxtSalesNo,    TxtSalesDate,  TxtSalesName,
            TxtSalesAmount, CboRSalesNo, TxtRSalesDate, TxtRSalesName, TxtRSalesAmount};
  purchases_ = {&PurchaseSide(), 1,         txtBuyNo,    TxtBuyDate,  TxtBuyName,
                TxtBuyAmount,    CboRBuyNo, TxtRBuyDate, TxtRBuyName, TxtRBuyAmount};
  for (InvoiceTab* tab : {&sales_, &purchases_}) {
    connect(tab->returns, &QComboBox::currentIndexChanged, this,
            [this, tab] { ReportErrors([this, tab] { returnListClick(*tab); }); });
    const int index = tab->index;
    connect(CmdStartInvNo[index], &QPushButton::clicked, this,
            [this, index] { ReportErrors([this, index] { CmdStartInvNo_Click(index); }); });
  }
}

void FrmCat_Restore::ShowSales() { showInvoice(sales_); }

void FrmCat_Restore::ShowPurchases() { showInvoice(purchases_); }

void FrmCat_Restore::ImportSales() { importInvoice(sales_); }

void FrmCat_Restore::ImportPurchases() { importInvoice(purchases_); }

void FrmCat_Restore::showInvoice(InvoiceTab& tab) {
  SetButtonState(2);
  if (!hasCurrentRow()) {
    for (QLineEdit* box : {tab.number, tab.name, tab.date, tab.amount}) showText(box, {});
    fillReturnList(tab);
    SetButtonState(0);
    return;
  }
  const Recordset& row = version1Rows_;
  showText(tab.number, row.text(kInvoiceNumber));
  showText(tab.date, InvoiceImport::Version1Day(row.value(QStringLiteral("تاريخ_الفاتوره1"))));
  showText(tab.name, row.text(tab.side->partyName));
  showText(tab.amount,
           Format(row.value(QStringLiteral("المتبقي")).toDouble(), globals().DecimalFormat));
  fillReturnList(tab);
  showPosition();
}

void FrmCat_Restore::fillReturnList(InvoiceTab& tab) {
  {
    const QSignalBlocker quiet(tab.returns);
    tab.returns->clear();
  }
  for (QLineEdit* box : {tab.returnName, tab.returnDate, tab.returnAmount}) showText(box, {});
  if (!hasCurrentRow()) return;
  const auto returns = InvoiceImport::Returns(source_->database(), *tab.side, version1Branch(),
                                              static_cast<int>(Val(tab.number->text())));
  {
    const QSignalBlocker quiet(tab.returns);
    for (const InvoiceImport::Document& ret : returns) tab.returns->addItem(ret.number);
    tab.returns->setCurrentIndex(-1);
  }
  if (tab.returns->count() > 0) tab.returns->setCurrentIndex(0);
}

void FrmCat_Restore::returnListClick(InvoiceTab& tab) {
  showText(tab.returnDate, {});
  showText(tab.returnAmount, {});
  if (tab.returns->currentIndex() < 0) return;
  const auto ret = InvoiceImport::Return(source_->database(), *tab.side, version1Branch(),
                                         static_cast<int>(Val(tab.returns->currentText())));
  showText(tab.returnName, tab.name->text());
  if (!ret) return;
  showText(tab.returnDate, ret->date.toString(QStringLiteral("yyyy/MM/dd")));
  showText(tab.returnAmount, GeneralNumber(ret->net));
}

// Saves the invoice on display, after the overwrite prompt when the
// version-2 branch has it already (by its number, or as the invoice
// renumbered from it); then its returns, unless the run ends. No and No to
// all keep an existing invoice; a new one is imported whatever the answer.
void FrmCat_Restore::importInvoice(InvoiceTab& tab) {
  const QString key = tab.number->text();
  if (CboCashier[tab.index]->currentIndex() < 0) {
    MsgBox(QStringLiteral("يجب تحديد حساب الصندوق"), mb::kCritical);
    return stopAt(QStringLiteral("no cash-box account is chosen"));
  }
  platform().doEvents();
  const TradeSide& side = *tab.side;
  const auto existing =
      InvoiceImport::ExistingDocuments(*side.invoiceKind, version2Branch(), Val(key));
  if (existing && OverwriteAnswer == 5) return;
  if (existing && OverwriteAnswer != 4) {
    // The lock named after the header table is given back, as the existence
    // check has always done; the saves lock under the document's own name.
    SetTableLock(QStringLiteral("UnLock"), side.invoiceKind->headerTable);
    if (OverwriteAnswer < 3) {
      const QString caption = Translate(QStringLiteral("رقم الفاتورة:"));
      OverwriteAnswer = AskOverwrite(caption + GeneralNumber(existing->number),
                                     caption + version1Rows_.text(kInvoiceNumber));
    }
    if (OverwriteAnswer == 5) return;
  }
  if (existing && (OverwriteAnswer == 2 || OverwriteAnswer == 4)) {
    report(key, Outcome::Skipped);
  } else if (postInvoice(tab, existing ? &*existing : nullptr)) {
    report(key, existing ? Outcome::Overwritten : Outcome::Imported);
  } else if (OverwriteAnswer == 5) {
    return;  // the save failed: the run ends here
  } else if (existing) {
    // A refused replacement leaves the invoice as it was and keeps the row.
    return stopAt(invoiceWindow(side).refusal());
  } else {
    report(key, Outcome::Refused, invoiceWindow(side).refusal());
  }
  setShapeWidth(0, kEmptyBar);
  if (tab.returns->count() > 0) importReturns(tab);
}

// The header controls an invoice and a return share.
void FrmCat_Restore::fillDocumentHeader(InvoiceWindow& window, const InvoiceTab& tab,
                                        const InvoiceImport::Document& document) {
  // A document the window refused stays on it, in editing: it is given up,
  // as by the window's undo, so that the add button can be pressed.
  if (!window.Cmd_Add->isEnabled()) window.SetButtonState(2);
  window.Cmd_Add->click();
  window.CboPayment->setCurrentIndex(0);
  const int party = static_cast<int>(Val(document.partyNumber));
  if (party != 0) {
    window.setPartyID(tab.side->sales ? EnsureCustomer(party) : EnsureProvider(party));
  }
  window.CboPayment->setCurrentIndex(document.credit ? 1 : 0);
  window.txtPartyName->setText(document.partyName);
  window.setCashierAccID(SelectedItemData(*CboCashier[tab.index]));
  window.lblTotal->setText(GeneralNumber(document.total));
  window.txtDiscount2->setText(GeneralNumber(document.discount));
  window.lblAmount->setText(GeneralNumber(document.net));
  window.txtNote->setText(document.note);
  window.txtDate1->setDay(document.date);
  window.txtfNo->setText(document.number);
}

// One grid row per version-1 line, the current row moving on with them.
void FrmCat_Restore::fillGrid(InvoiceWindow& window, const std::vector<InvoiceImport::Line>& lines,
                              bool generalPrice,
                              const std::function<QString(const InvoiceImport::Line&)>& cost) {
  const int count = static_cast<int>(lines.size());
  if (count == 0) return;
  FlexGrid& grid = *window.Grid1;
  grid.setRows(count + 2);
  grid.setRow(0);
  const int unit = SelectedItemData(*CboUnit);
  for (const InvoiceImport::Line& line : lines) {
    const int row = grid.row() + 1;
    grid.setRow(row);
    setShapeWidth(0, barWidth(row, count));
    const int item = EnsureItem(line.item);
    const GridRow cells = InvoiceImport::LineCells(line, item, unit, generalPrice, cost(line));
    for (int col = 1; col < cells.size(); ++col) {
      if (!cells[col].isNull()) grid.setTextMatrix(row, col, cells[col]);
    }
  }
}

// Presses the save button of a hidden posting window. A database error
// undid the document: it is shown and the run ends with the row kept.
bool FrmCat_Restore::pressSave(InvoiceWindow& window) {
  window.Cmd_Save->click();
  if (window.lastSaveFailed()) {
    ShowError(*window.saveFailure());
    stopAt(window.saveFailure()->description());
    return false;
  }
  return window.mode() != QLatin1String("Add");
}

// Posts the invoice on display; one that replaces existing invoices keeps
// their number. Returns whether it was stored.
bool FrmCat_Restore::postInvoice(InvoiceTab& tab, const InvoiceImport::Existing* replaced) {
  const TradeSide& side = *tab.side;
  InvoiceWindow& window = invoiceWindow(side);
  window.load();
  window.setBranchID(version2Branch());
  window.OpenMyRec();
  const InvoiceImport::Document invoice = InvoiceImport::InvoiceHeader(version1Rows_, side);
  fillDocumentHeader(window, tab, invoice);
  window.txtPartyNo->setText(invoice.partyNumber);
  if (replaced) {
    window.txtfNo->setText(GeneralNumber(replaced->number));
    window.store().replaceAtSave(replaced->ids);
  }
  const int number = static_cast<int>(Val(invoice.number));
  Connection& workingCopy = source_->database();
  QHash<QString, QString> costs;
  if (side.sales) costs = InvoiceImport::InvoiceCosts(workingCopy, version1Branch(), number);
  fillGrid(window, InvoiceImport::InvoiceLines(workingCopy, side, version1Branch(), number),
           side.sales, [&](const InvoiceImport::Line& line) {
             return side.sales ? costs.value(line.item, QStringLiteral("0")) : QString();
           });
  window.SpreadDiscount();
  const bool saved = pressSave(window);
  setShapeWidth(0, kEmptyBar);
  return saved;
}

// Every version-1 return of the invoice on display, linked to the version-2
// invoice of the same number (0 when there is none). A version-2 return it
// stands for is replaced by it, keeping its number, so returns are never
// doubled; after No to all it is kept.
void FrmCat_Restore::importReturns(InvoiceTab& tab) {
  const TradeSide& side = *tab.side;
  const int branch = version2Branch();
  const double invoiceNumber = Val(tab.number->text());
  const auto invoice = InvoiceImport::ExistingDocuments(*side.invoiceKind, branch, invoiceNumber);
  const QString link = QString::number(invoice ? invoice->ids.front() : 0);
  Connection& workingCopy = source_->database();
  InvoiceWindow& window = returnWindow(side);
  window.load();
  window.setBranchID(branch);
  window.OpenMyRec();
  for (const InvoiceImport::Document& ret : InvoiceImport::Returns(
           workingCopy, side, version1Branch(), static_cast<int>(invoiceNumber))) {
    const int number = static_cast<int>(Val(ret.number));
    const auto existing = InvoiceImport::ExistingDocuments(*side.returnKind, branch, number);
    if (existing && OverwriteAnswer == 4) continue;
    fillDocumentHeader(window, tab, ret);
    if (existing) {
      window.txtfNo->setText(GeneralNumber(existing->number));
      window.store().replaceAtSave(existing->ids);
    }
    setTag(*window.txtLinkNo, link);
    fillGrid(window, InvoiceImport::ReturnLines(workingCopy, side, version1Branch(), number), false,
             [&workingCopy](const InvoiceImport::Line& line) {
               return InvoiceImport::ItemCost(workingCopy, line.branch, line.item,
                                              line.invoiceNumber);
             });
    window.SpreadDiscount();
    pressSave(window);
    if (OverwriteAnswer == 5) break;
  }
  setShapeWidth(0, kEmptyBar);
}

// CmdStartInvNo: numbers the branch's invoices and then its returns from
// the start number on (0 counts as 1).
void FrmCat_Restore::CmdStartInvNo_Click(int index) {
  const RunScope run(run_, [] {});
  if (!run) return;
  const InvoiceTab& tab = index == 0 ? sales_ : purchases_;
  int start = static_cast<int>(std::trunc(Val(txtStartInvNo[index]->text())));
  if (start == 0) start = 1;
  const PointerGuard hourglass(MousePointer::Hourglass);
  InvoiceImport::Renumber(*tab.side, version2Branch(), start,
                          [this](int done, int total) { setShapeWidth(1, barWidth(done, total)); });
  setShapeWidth(1, kEmptyBar);
}

}  // namespace qalvoro
