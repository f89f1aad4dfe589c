#pragma once

#include <QString>

namespace qalvoro {

// What tells payment and receipt vouchers apart on the database side: the
// header and detail tables, the number and link columns, the cash box's and
// the party's account columns, the lock name, and the salesman columns only
// receipts write.
struct VoucherKind {
  QString headerTable;    // Payment / Receipt
  QString detailTable;    // PaymentDetails / ReceiptDetails
  QString numberColumn;   // PaymentNo / ReceiptNo
  QString linkColumn;     // PaymentID / ReceiptID: the detail row's header
  QString cashierColumn;  // AccIDFrom / AccIDTo
  QString partyColumn;    // To_AccNoID / From_AccNoID
  QString lockName;       // Payment / Receipt
  // The header is written with SaleManID 0, SMinvNo "0" and SMinvDate "".
  bool writesSalesman = false;
};

const VoucherKind& PaymentKind();
const VoucherKind& ReceiptKind();

}  // namespace qalvoro
