#include "posting/VoucherKind.h"

namespace qalvoro {

const VoucherKind& PaymentKind() {
  static const VoucherKind kind{
      .headerTable = "Payment",
      .detailTable = "PaymentDetails",
      .numberColumn = "PaymentNo",
      .linkColumn = "PaymentID",
      .cashierColumn = "AccIDFrom",
      .partyColumn = "To_AccNoID",
      .lockName = "Payment",
      .writesSalesman = false,
  };
  return kind;
}

const VoucherKind& ReceiptKind() {
  static const VoucherKind kind{
      .headerTable = "Receipt",
      .detailTable = "ReceiptDetails",
      .numberColumn = "ReceiptNo",
      .linkColumn = "ReceiptID",
      .cashierColumn = "AccIDTo",
      .partyColumn = "From_AccNoID",
      .lockName = "Receipt",
      .writesSalesman = true,
  };
  return kind;
}

}  // namespace qalvoro
