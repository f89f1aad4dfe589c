#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace qalvoro {

// What tells the four trading documents apart on the database side: their
// tables, lock name, the header fields a save writes (in order) and the
// line columns. The windows and the store read these; nothing else differs.

// Where a header field's value comes from.
enum class HeaderValue {
  Date,               // the date box's text
  Time,               // the time box's text
  Party,              // the window's customer or provider ID
  PartyNameOfWalkIn,  // the party name box when the party ID is -1, else ""
  Payment,            // CboPayment's entry: 0 cash, 1 credit
  Cashier,            // CashierAccID
  Branch,             // BranchID
  Note,               // txtNote
  Total,              // Val(lblTotal)
  Net,                // Val(lblAmount)
  Discount,           // Val(txtDiscount2)
  Link,               // Val of the link box's tag: the returned invoice's ID
  Constant,           // the field's constant
};

struct HeaderField {
  QString column;
  HeaderValue value;
  QVariant constant = {};
};

// How a line column is read from its grid row.
enum class LineValue {
  InvoiceId,    // the header's ID
  Integer,      // CLng of the grid cell
  Currency,     // the cell as a currency amount
  Double,       // Val of the cell
  Description,  // the part of the cell after its first "#"
  Text,         // the cell as it is
  HidePrice,    // the cell equals "H"
  Zero,         // 0
};

struct LineField {
  QString column;
  LineValue value;
  int gridColumn = -1;
};

// Which grid rows are lines to store.
enum class LineRule {
  ItemColumn,        // rows 1 to Rows-2 whose item ID (col 11) is not 0
  PositiveQuantity,  // rows 1 to Rows-1 whose quantity (col 4) as an integer is above 0
};

struct DocumentKind {
  QString headerTable;
  QString lineTable;
  QString lockName;
  QString partyColumn;  // CustomerID or ProviderID
  bool sorted = false;  // the header rows are read in InvoiceNo order
  std::vector<HeaderField> headerFields;
  std::vector<LineField> lineFields;
  LineRule lineRule = LineRule::ItemColumn;
  // A save adds a new header row whatever the mode (else it overwrites the
  // current row outside mode "Add").
  bool addsRowInEveryMode = false;
  // The lock is given back once the header is written, before the lines.
  bool releasesLockBeforeLines = true;
  // A credit document raises its customer's Debit by its net.
  bool creditRaisesDebit = false;
  // The line routine loads a stored document's lines for "READ".
  bool readsLines = false;
  // The item price a line typed by the user starts with.
  QString entryPriceColumn;
  // The returns that name a document of this kind by its ID (invoices).
  QString returnTable;       // RSaleInvoice, RBuyInvoice
  QString returnLinkColumn;  // InvSaleID, InvBuyID
};

const DocumentKind& SalesInvoiceKind();
const DocumentKind& BuyInvoiceKind();
const DocumentKind& SalesReturnKind();
const DocumentKind& BuyReturnKind();

}  // namespace qalvoro
