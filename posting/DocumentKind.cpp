#include "posting/DocumentKind.h"

namespace qalvoro {
namespace {

using H = HeaderValue;
using L = LineValue;

HeaderField field(const char* column, HeaderValue value, QVariant constant = {}) {
  return {QString::fromLatin1(column), value, std::move(constant)};
}

LineField line(const char* column, LineValue value, int gridColumn = -1) {
  return {QString::fromLatin1(column), value, gridColumn};
}

}  // namespace

const DocumentKind& SalesInvoiceKind() {
  static const DocumentKind kind{
      .headerTable = "SaleInvoice",
      .lineTable = "SInvSData",
      .lockName = "Sales",
      .partyColumn = "CustomerID",
      .sorted = false,
      .headerFields = {field("fDate", H::Date), field("fTime", H::Time),
                       field("CustomerID", H::Party), field("CustomerName", H::PartyNameOfWalkIn),
                       field("Payment", H::Payment), field("CashierAccID", H::Cashier),
                       field("BranchID", H::Branch), field("note", H::Note),
                       field("Total", H::Total), field("Net", H::Net),
                       field("Discount", H::Discount), field("SaleManID", H::Constant, -1),
                       field("SMinvNo", H::Constant, QString("")),
                       field("SMinvDate", H::Constant, QString("")),
                       field("DueDate", H::Constant, QString(""))},
      .lineFields = {line("InvoiceID", L::InvoiceId), line("CategoryID", L::Integer, 11),
                     line("Description", L::Description, 2), line("UnitID", L::Integer, 9),
                     line("Quantity", L::Integer, 4), line("ActualQty", L::Integer, 10),
                     line("Price", L::Currency, 5), line("Discount", L::Double, 7),
                     line("Total", L::Currency, 8), line("HidePrice", L::HidePrice, 12),
                     line("SpecialOffer", L::Double, 14), line("ActualPrice", L::Double, 13),
                     line("CostPrice", L::Double, 15), line("Net", L::Double, 6),
                     line("ExpireDate", L::Text, 16)},
      .lineRule = LineRule::ItemColumn,
      .addsRowInEveryMode = true,
      .releasesLockBeforeLines = false,
      .creditRaisesDebit = true,
      .readsLines = true,
      .entryPriceColumn = "SPriceU1",
      .returnTable = "RSaleInvoice",
      .returnLinkColumn = "InvSaleID",
  };
  return kind;
}

const DocumentKind& BuyInvoiceKind() {
  static const DocumentKind kind{
      .headerTable = "BuyInvoice",
      .lineTable = "BInvData",
      .lockName = "BuyInvoice",
      .partyColumn = "ProviderID",
      .sorted = true,
      .headerFields = {field("fDate", H::Date), field("fTime", H::Time),
                       field("ProviderID", H::Party), field("ProviderName", H::PartyNameOfWalkIn),
                       field("Payment", H::Payment), field("CashierAccID", H::Cashier),
                       field("UpdatePrice", H::Constant, false), field("BranchID", H::Branch),
                       field("note", H::Note), field("Total", H::Total), field("Net", H::Net),
                       field("Discount", H::Discount),
                       field("ProvInvNo", H::Constant, QString("0")),
                       field("ProvInvDate", H::Constant, QString("")),
                       field("DueDate", H::Constant, QString(""))},
      .lineFields = {line("InvoiceID", L::InvoiceId), line("CategoryID", L::Integer, 11),
                     line("Description", L::Description, 2), line("UnitID", L::Integer, 9),
                     line("Quantity", L::Integer, 4), line("ActualQty", L::Integer, 4),
                     line("Price", L::Currency, 5), line("Discount", L::Double, 7),
                     line("Total", L::Currency, 8), line("ActualPrice", L::Double, 13),
                     line("ExpireDate", L::Text, 16), line("BonusOffer", L::Zero)},
      .lineRule = LineRule::ItemColumn,
      .addsRowInEveryMode = false,
      .releasesLockBeforeLines = true,
      .creditRaisesDebit = false,
      .readsLines = true,
      .entryPriceColumn = "CostPrice",
      .returnTable = "RBuyInvoice",
      .returnLinkColumn = "InvBuyID",
  };
  return kind;
}

const DocumentKind& SalesReturnKind() {
  static const DocumentKind kind{
      .headerTable = "RSaleInvoice",
      .lineTable = "RSInvSData",
      .lockName = "RSales",
      .partyColumn = "CustomerID",
      .sorted = true,
      .headerFields = {field("fDate", H::Date), field("fTime", H::Time),
                       field("CustomerID", H::Party), field("Payment", H::Payment),
                       field("CashierAccID", H::Cashier), field("BranchID", H::Branch),
                       field("note", H::Note), field("Net", H::Net), field("InvSaleID", H::Link),
                       field("SaleManID", H::Constant, -1),
                       field("SMInvNo", H::Constant, QString("")),
                       field("SMInvDate", H::Constant, QString(""))},
      .lineFields = {line("InvoiceID", L::InvoiceId), line("CategoryID", L::Integer, 11),
                     line("Description", L::Description, 2), line("UnitID", L::Integer, 9),
                     line("Quantity", L::Integer, 4), line("ActualQty", L::Integer, 4),
                     line("Price", L::Currency, 5), line("Total", L::Currency, 6),
                     line("HidePrice", L::HidePrice, 12), line("SpecialOffer", L::Double, 14),
                     line("ActualPrice", L::Double, 13), line("CostPrice", L::Double, 15),
                     line("Net", L::Double, 6), line("ExpireDate", L::Text, 16)},
      .lineRule = LineRule::PositiveQuantity,
      .addsRowInEveryMode = false,
      .releasesLockBeforeLines = true,
      .creditRaisesDebit = false,
      .readsLines = false,
      .entryPriceColumn = "SPriceU1",
      .returnTable = {},  // no document links to a return
      .returnLinkColumn = {},
  };
  return kind;
}

const DocumentKind& BuyReturnKind() {
  static const DocumentKind kind{
      .headerTable = "RBuyInvoice",
      .lineTable = "RBInvData",
      .lockName = "RBuyInvoice",
      .partyColumn = "ProviderID",
      .sorted = true,
      .headerFields = {field("fDate", H::Date), field("fTime", H::Time),
                       field("ProviderID", H::Party), field("Payment", H::Payment),
                       field("CashierAccID", H::Cashier), field("BranchID", H::Branch),
                       field("note", H::Note), field("Net", H::Net), field("InvBuyID", H::Link)},
      .lineFields = {line("InvoiceID", L::InvoiceId), line("CategoryID", L::Integer, 11),
                     line("Description", L::Description, 2), line("UnitID", L::Integer, 9),
                     line("Quantity", L::Integer, 4), line("Price", L::Currency, 5),
                     line("Total", L::Currency, 6), line("ActualPrice", L::Double, 13),
                     line("ExpireDate", L::Text, 16)},
      .lineRule = LineRule::PositiveQuantity,
      .addsRowInEveryMode = false,
      .releasesLockBeforeLines = true,
      .creditRaisesDebit = false,
      .readsLines = false,
      .entryPriceColumn = "CostPrice",
      .returnTable = {},  // no document links to a return
      .returnLinkColumn = {},
  };
  return kind;
}

}  // namespace qalvoro
