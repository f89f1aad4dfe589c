#pragma once

#include "posting/InvoiceWindow.h"
#include "posting/VoucherWindow.h"

namespace qalvoro {

// The four document entry windows: one window class, four sets of data;
// the two voucher windows: one window class, two sets of data.

// Sales invoices (SaleInvoice, SInvSData); a credit sale raises the
// customer's Debit. The window's tag holds the last saved invoice's ID.
class FrmInvSales : public InvoiceWindow {
  Q_OBJECT
 public:
  FrmInvSales();
  int CustomerID() const { return PartyID(); }
  void setCustomerID(int id) { setPartyID(id); }
};

// Purchase invoices (BuyInvoice, BInvData).
class FrmInvBuy : public InvoiceWindow {
  Q_OBJECT
 public:
  FrmInvBuy();
  int ProviderID() const { return PartyID(); }
  void setProviderID(int id) { setPartyID(id); }
};

// Sales returns (RSaleInvoice, RSInvSData), linked through txtSaleNo's tag.
class FrmInvSales_R : public InvoiceWindow {
  Q_OBJECT
 public:
  FrmInvSales_R();
  int CustomerID() const { return PartyID(); }
  void setCustomerID(int id) { setPartyID(id); }
};

// Purchase returns (RBuyInvoice, RBInvData), linked through txtBuyNo's tag.
class FrmInvBuy_R : public InvoiceWindow {
  Q_OBJECT
 public:
  FrmInvBuy_R();
  int ProviderID() const { return PartyID(); }
  void setProviderID(int id) { setPartyID(id); }
};

// Payment vouchers (Payment, PaymentDetails): paid from the cash box
// (AccIDFrom) to the party account To_AccNoID; payee in txtTo.
class FrmPayment : public VoucherWindow {
  Q_OBJECT
 public:
  FrmPayment();
  int To_AccNoID() const { return PartyAccID(); }
  void setTo_AccNoID(int id) { setPartyAccID(id); }
};

// Receipt vouchers (Receipt, ReceiptDetails): received from the party
// account From_AccNoID into the cash box (AccIDTo); payer in txtFrom, bank
// list CboBank.
class FrmReceipt : public VoucherWindow {
  Q_OBJECT
 public:
  FrmReceipt();
  int From_AccNoID() const { return PartyAccID(); }
  void setFrom_AccNoID(int id) { setPartyAccID(id); }
};

}  // namespace qalvoro
