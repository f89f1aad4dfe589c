#include "posting/PostingWindows.h"

namespace qalvoro {
namespace {

using Totals = InvoiceLines::TotalsStyle;
using Spread = InvoiceLines::SpreadStyle;

struct Party {
  const char* windowName;
  const char* caption;
  bool customer;
};

InvoiceTraits invoiceTraits(const Party& party, const DocumentKind& kind, Totals totals,
                            Spread spread) {
  InvoiceTraits traits;
  traits.frame.windowName = QString::fromLatin1(party.windowName);
  traits.frame.caption = QString::fromUtf8(party.caption);
  traits.frame.headerTitle = QStringLiteral("المستند");
  traits.frame.numberCaption = QStringLiteral("رقم الفاتورة:");
  traits.partyNoName = party.customer ? QStringLiteral("txtCusNo") : QStringLiteral("txtProvNo");
  traits.partyNameName =
      party.customer ? QStringLiteral("txtCustomerName") : QStringLiteral("txtProviderName");
  traits.partyCaption = party.customer ? QStringLiteral("العميل") : QStringLiteral("المورد");
  traits.kind = &kind;
  traits.totals = totals;
  traits.spread = spread;
  return traits;
}

const InvoiceTraits& salesInvoice() {
  static const InvoiceTraits traits = [] {
    InvoiceTraits s = invoiceTraits(Party{"FrmInvSales", "فاتورة مبيعات", true}, SalesInvoiceKind(),
                                    Totals::Sales, Spread::Passes);
    s.partyNumberZero = true;
    s.tagsSavedId = true;
    return s;
  }();
  return traits;
}

const InvoiceTraits& buyInvoice() {
  static const InvoiceTraits traits = [] {
    InvoiceTraits s = invoiceTraits(Party{"FrmInvBuy", "فاتورة مشتريات", false}, BuyInvoiceKind(),
                                    Totals::Purchase, Spread::Proportional);
    s.frame.escapePressesExit = true;
    s.checksBeforeSave = true;
    return s;
  }();
  return traits;
}

// The return windows: Esc, F2 and F5, the undo question, and a link box.
InvoiceTraits returnTraits(const Party& party, const DocumentKind& kind, Totals totals,
                           const char* linkBox) {
  InvoiceTraits traits = invoiceTraits(party, kind, totals, Spread::Proportional);
  traits.frame.escapePressesExit = true;
  traits.frame.functionKeys = true;
  traits.frame.exitAsksUndo = true;
  traits.emptiesModeAfterSave = true;
  traits.linkBoxName = QString::fromLatin1(linkBox);
  return traits;
}

const InvoiceTraits& salesReturn() {
  static const InvoiceTraits traits = returnTraits(Party{"FrmInvSales_R", "مرتجع مبيعات", true},
                                                   SalesReturnKind(), Totals::Sales, "txtSaleNo");
  return traits;
}

const InvoiceTraits& buyReturn() {
  static const InvoiceTraits traits = returnTraits(Party{"FrmInvBuy_R", "مرتجع مشتريات", false},
                                                   BuyReturnKind(), Totals::Purchase, "txtBuyNo");
  return traits;
}

VoucherTraits voucherTraits(const char* windowName, const char* caption, const VoucherKind& kind,
                            bool receipt) {
  VoucherTraits traits;
  traits.frame = voucherFrame(windowName, caption, receipt);
  traits.kind = &kind;
  traits.nameBoxName = receipt ? QStringLiteral("txtFrom") : QStringLiteral("txtTo");
  traits.nameCaption = receipt ? QStringLiteral("استلمنا من :") : QStringLiteral("يصرف إلى :");
  traits.detailsBoxName = receipt ? QStringLiteral("txtDetails1") : QStringLiteral("txtDetails");
  traits.bankList = receipt;
  traits.numberSelectsOnFocus = receipt;
  traits.typeEnterMovesOn = receipt;
  return traits;
}

const VoucherTraits& payment() {
  static const VoucherTraits traits = voucherTraits("FrmPayment", "سند صرف", PaymentKind(), false);
  return traits;
}

const VoucherTraits& receipt() {
  static const VoucherTraits traits = voucherTraits("FrmReceipt", "سند قبض", ReceiptKind(), true);
  return traits;
}

}  // namespace

FrmInvSales::FrmInvSales() : InvoiceWindow(salesInvoice()) {}
FrmInvBuy::FrmInvBuy() : InvoiceWindow(buyInvoice()) {}
FrmInvSales_R::FrmInvSales_R() : InvoiceWindow(salesReturn()) {}
FrmInvBuy_R::FrmInvBuy_R() : InvoiceWindow(buyReturn()) {}

FrmPayment::FrmPayment() : VoucherWindow(payment()) {}
FrmReceipt::FrmReceipt() : VoucherWindow(receipt()) {}

}  // namespace qalvoro
