#pragma once

#include <QString>

#include "host/db/Recordset.h"
#include "posting/VoucherKind.h"

namespace qalvoro {

// A voucher as its window shows it: texts as typed, numbers as held by the
// window.
struct Voucher {
  QString number;  // txtfNo
  QString date;    // "yyyy/mm/dd"
  QString time;    // "HH:MM"
  int branchId = 0;
  int cashierAccId = 0;  // the cash box paid from / received into
  int partyAccId = 0;    // the account the money goes to / comes from
  QString payer;         // txtTo / txtFrom
  QString amount;        // txtMoney1
  int type = 0;          // CboType: 0 cash, 1 cheque
  int bankId = -1;
  QString billNo;    // txtBillNo
  QString billDate;  // txtBillDate, "yyyy/mm/dd" or empty
  QString details;   // txtDetails / txtDetails1
};

// The database side of a voucher window: the header rows of a branch in
// number order, the save of a voucher (its header under the kind's lock,
// then its one detail row, all in one transaction) and the removal of the
// vouchers a new one replaces. Values are bound, never written into the
// statement text.
class VoucherStore {
 public:
  explicit VoucherStore(const VoucherKind& kind) : kind_(kind) {}

  const VoucherKind& kind() const { return kind_; }

  // Opens the header rows of the branch, sorted on the number. When they
  // are already open for the same branch they are brought up to date with
  // the rows written since (on this connection) instead of read again.
  void open(int branchId);
  Recordset& headers() { return headers_; }
  bool isOpenFor(int branchId) const { return headers_.state() == 1 && openBranch_ == branchId; }

  // Stores a voucher. With addMode a header row is added with UserID 0,
  // else the current header row is overwritten. The lock is held while the
  // header is written; then the first header with the voucher's number is
  // found and its detail row rewritten. Returns that header's ID. A
  // database error rolls the whole voucher back, gives the lock back and is
  // raised again; the header rows are then read again at the next open.
  qint64 save(bool addMode, const Voucher& voucher);

  // Whether the branch has a voucher of the kind with this number.
  static bool exists(const VoucherKind& kind, int branchId, double number);

  // The next save replaces the vouchers of its branch with its number: they
  // go with their detail rows in its transaction, under its lock, so a
  // failed save leaves them as they were. Any save forgets it.
  void replaceAtSave(bool replace) { replace_ = replace; }

 private:
  void removeReplaced(const Voucher& voucher);
  void writeHeader(bool addMode, const Voucher& voucher);
  void writeDetail(qint64 voucherId, const Voucher& voucher);

  const VoucherKind& kind_;
  Recordset headers_;
  int openBranch_ = 0;
  bool replace_ = false;
};

}  // namespace qalvoro
