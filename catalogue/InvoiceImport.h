#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "host/db/Recordset.h"
#include "posting/DocumentStore.h"

namespace qalvoro {

class Connection;
struct DocumentKind;

// What tells the sales side from the purchase side of the trading history:
// the version-1 line and return tables and party columns (the invoice
// headers are the tab's rows), the version-2 documents, and the two habits
// of the sales side (prices in general format, a cost per line).
struct TradeSide {
  QString lines;        // ف1_مبيعات, ف1_مشتروات
  QString returns;      // ف_ارتجاع_مبيعات, ف_ارتجاع_مشتروات
  QString returnLines;  // ف1_ارتجاع_مبيعات, ف1_ارتجاع_مشتروات
  QString partyNumber;  // رقم_العميل, رقم_المورد
  QString partyName;    // اسم_العميل, اسم_المورد
  const DocumentKind* invoiceKind = nullptr;
  const DocumentKind* returnKind = nullptr;
  bool sales = false;
};

const TradeSide& SalesSide();
const TradeSide& PurchaseSide();

// The version-1 and version-2 data work of the invoice and return imports,
// without widgets. Version-1 queries run on the working copy, version-2 ones
// on MainConnection; values are bound.
namespace InvoiceImport {

// The day of a version-1 date; invalid for Null.
QDate Version1Date(const QVariant& value);
// A version-1 date as the windows show it, "yyyy/mm/dd"; empty for Null.
QString Version1Day(const QVariant& value);

// A version-1 invoice or return header, as the import reads it.
struct Document {
  QString number;       // رقم_الفاتورة or رقم_الارتجاع
  QString partyNumber;  // رقم_العميل or رقم_المورد
  QString partyName;
  bool credit = false;  // نقدي is False (Null is neither cash nor credit)
  double total = 0;
  double discount = 0;
  double net = 0;
  QString note;
  QDate date;  // invalid for Null
};

// A line of a version-1 invoice or return.
struct Line {
  QString item;
  QString description;
  QVariant quantity;  // may be Null
  QVariant price;
  int branch = 0;
  int invoiceNumber = 0;
};

// The header of the invoice a recordset of invoice headers is on.
Document InvoiceHeader(const Recordset& row, const TradeSide& side);
// The returns of a version-1 invoice, in table order.
std::vector<Document> Returns(Connection& workingCopy, const TradeSide& side, int branch,
                              int invoiceNumber);
// A version-1 return by its number, if there is one.
std::optional<Document> Return(Connection& workingCopy, const TradeSide& side, int branch,
                               int returnNumber);
// The lines of a version-1 invoice or return, in table order.
std::vector<Line> InvoiceLines(Connection& workingCopy, const TradeSide& side, int branch,
                               int invoiceNumber);
std::vector<Line> ReturnLines(Connection& workingCopy, const TradeSide& side, int branch,
                              int returnNumber);

// The cost of each item of a version-1 sales invoice (the first row of each
// item), as the general-number text the grid takes.
QHash<QString, QString> InvoiceCosts(Connection& workingCopy, int branch, int invoiceNumber);
// The cost of one item of a version-1 sales invoice; "0" when it has none.
QString ItemCost(Connection& workingCopy, int branch, const QString& item, int invoiceNumber);

// The grid row of a version-1 line: item ID in column 11, the quantity 1
// for a Null or 0 quantity, the price in general format (sales invoices) or
// as stored, the amounts, the unit and the cost.
GridRow LineCells(const Line& line, int itemId, int unitId, bool generalPrice, const QString& cost);

// The version-2 documents of a branch that a version-1 number stands for:
// the one renumbered from it when there is one, else those with that
// number that were not renumbered from another. number is what they are
// numbered now (a replacement keeps it).
struct Existing {
  std::vector<qint64> ids;
  double number = 0;
};
std::optional<Existing> ExistingDocuments(const DocumentKind& kind, int branch,
                                          double version1Number);

// Numbers the invoices of the branch and then its returns from start on, by
// date (the ID keeps the order of one date), in one transaction under the
// locks of both tables. A document renumbered for the first time keeps its
// number before in RenumberedDocuments, for the imports that come later.
// progress(done, total) follows each table.
void Renumber(const TradeSide& side, int branch, int start,
              const std::function<void(int done, int total)>& progress);

}  // namespace InvoiceImport
}  // namespace qalvoro
