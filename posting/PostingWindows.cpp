#include "posting/PostingWindows.h"

namespace qalvoro {
namespace {

using Totals = InvoiceLines::TotalsStyle;
using Spread = InvoiceLines::SpreadStyle;

FrameTraits partyFrame(const char* name, const char* caption, bool customer) {
  FrameTraits frame;
  frame.windowName = QString::fromLatin1(name);
  frame.caption = QString::fromUtf8(caption);
  frame.partyNoName = customer ? QStringLiteral("txtCusNo") : QStringLiteral("txtProvNo");
  frame.partyNameName =
      customer ? QStringLiteral("txtCustomerName") : QStringLiteral("txtProviderName");
  frame.partyCaption = customer ? QStringLiteral("العميل") : QStringLiteral("المورد");
  return frame;
}

InvoiceTraits invoiceTraits(FrameTraits frame, const DocumentKind& kind, Totals totals,
                            Spread spread) {
  InvoiceTraits traits;
  traits.frame = std::move(frame);
  traits.kind = &kind;
  traits.totals = totals;
  traits.spread = spread;
  return traits;
}

const InvoiceTraits& salesInvoice() {
  static const InvoiceTraits traits = [] {
    InvoiceTraits s = invoiceTraits(partyFrame("FrmInvSales", "فاتورة مبيعات", true),
                                    SalesInvoiceKind(), Totals::Sales, Spread::Passes);
    s.frame.partyNumberZero = true;
    s.tagsSavedId = true;
    return s;
  }();
  return traits;
}

const InvoiceTraits& buyInvoice() {
  static const InvoiceTraits traits = [] {
    InvoiceTraits s = invoiceTraits(partyFrame("FrmInvBuy", "فاتورة مشتريات", false),
                                    BuyInvoiceKind(), Totals::Purchase, Spread::Proportional);
    s.frame.escapePressesExit = true;
    s.checksBeforeSave = true;
    return s;
  }();
  return traits;
}

// The return windows: Esc, F2 and F5, the undo question, and a link box.
InvoiceTraits returnTraits(FrameTraits frame, const DocumentKind& kind, Totals totals,
                           const char* linkBox) {
  frame.escapePressesExit = true;
  frame.functionKeys = true;
  frame.exitAsksUndo = true;
  InvoiceTraits traits = invoiceTraits(std::move(frame), kind, totals, Spread::Proportional);
  traits.emptiesModeAfterSave = true;
  traits.linkBoxName = QString::fromLatin1(linkBox);
  return traits;
}

const InvoiceTraits& salesReturn() {
  static const InvoiceTraits traits =
      returnTraits(partyFrame("FrmInvSales_R", "مرتجع مبيعات", true), SalesReturnKind(),
                   Totals::Sales, "txtSaleNo");
  return traits;
}

const InvoiceTraits& buyReturn() {
  static const InvoiceTraits traits =
      returnTraits(partyFrame("FrmInvBuy_R", "مرتجع مشتريات", false), BuyReturnKind(),
                   Totals::Purchase, "txtBuyNo");
  return traits;
}

}  // namespace

FrmInvSales::FrmInvSales() : InvoiceWindow(salesInvoice()) {}
FrmInvBuy::FrmInvBuy() : InvoiceWindow(buyInvoice()) {}
FrmInvSales_R::FrmInvSales_R() : InvoiceWindow(salesReturn()) {}
FrmInvBuy_R::FrmInvBuy_R() : InvoiceWindow(buyReturn()) {}

}  // namespace qalvoro
