#include "posting/PostingWindows.h"

namespace qalvoro {
namespace {

using Totals = InvoiceLines::TotalsStyle;
using Spread = InvoiceLines::SpreadStyle;

FrameSpec partyFrame(const char* name, const char* caption, bool customer) {
  FrameSpec frame;
  frame.windowName = QString::fromLatin1(name);
  frame.caption = QString::fromUtf8(caption);
  frame.partyNoName = customer ? QStringLiteral("txtCusNo") : QStringLiteral("txtProvNo");
  frame.partyNameName =
      customer ? QStringLiteral("txtCustomerName") : QStringLiteral("txtProviderName");
  frame.partyCaption = customer ? QStringLiteral("العميل") : QStringLiteral("المورد");
  return frame;
}

InvoiceSpec invoiceSpec(FrameSpec frame, const DocumentKind& kind, Totals totals, Spread spread) {
  InvoiceSpec spec;
  spec.frame = std::move(frame);
  spec.kind = &kind;
  spec.totals = totals;
  spec.spread = spread;
  return spec;
}

const InvoiceSpec& salesInvoice() {
  static const InvoiceSpec spec = [] {
    InvoiceSpec s = invoiceSpec(partyFrame("FrmInvSales", "فاتورة مبيعات", true),
                                SalesInvoiceKind(), Totals::Sales, Spread::Passes);
    s.frame.partyNumberZero = true;
    s.tagsSavedId = true;
    return s;
  }();
  return spec;
}

const InvoiceSpec& buyInvoice() {
  static const InvoiceSpec spec = [] {
    InvoiceSpec s = invoiceSpec(partyFrame("FrmInvBuy", "فاتورة مشتريات", false), BuyInvoiceKind(),
                                Totals::Purchase, Spread::Proportional);
    s.frame.escapePressesExit = true;
    s.checksBeforeSave = true;
    return s;
  }();
  return spec;
}

// The return windows: Esc, F2 and F5, the undo question, and a link box.
InvoiceSpec returnSpec(FrameSpec frame, const DocumentKind& kind, Totals totals,
                       const char* linkBox) {
  frame.escapePressesExit = true;
  frame.functionKeys = true;
  frame.exitAsksUndo = true;
  InvoiceSpec spec = invoiceSpec(std::move(frame), kind, totals, Spread::Proportional);
  spec.emptiesModeAfterSave = true;
  spec.linkBoxName = QString::fromLatin1(linkBox);
  return spec;
}

const InvoiceSpec& salesReturn() {
  static const InvoiceSpec spec = returnSpec(partyFrame("FrmInvSales_R", "مرتجع مبيعات", true),
                                             SalesReturnKind(), Totals::Sales, "txtSaleNo");
  return spec;
}

const InvoiceSpec& buyReturn() {
  static const InvoiceSpec spec = returnSpec(partyFrame("FrmInvBuy_R", "مرتجع مشتريات", false),
                                             BuyReturnKind(), Totals::Purchase, "txtBuyNo");
  return spec;
}

}  // namespace

FrmInvSales::FrmInvSales() : InvoiceWindow(salesInvoice()) {}
FrmInvBuy::FrmInvBuy() : InvoiceWindow(buyInvoice()) {}
FrmInvSales_R::FrmInvSales_R() : InvoiceWindow(salesReturn()) {}
FrmInvBuy_R::FrmInvBuy_R() : InvoiceWindow(buyReturn()) {}

}  // namespace qalvoro
