#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"
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
  // The header rows, brought up to date with the saves since they were
  // opened.
  Recordset& headers() {
    if (headersBehind_) headers_.requery();
    headersBehind_ = false;
    return headers_;
  }
  bool isOpenFor(int branchId) const { return headers_.state() == 1 && openBranch_ == branchId; }

  // Stores a voucher. With addMode a header row is added with UserID 0 and
  // its detail row with it; else the current header row (the last one
  // opened or saved) is overwritten, and the detail row of the first header
  // with the voucher's number rewritten. The lock is held while the header
  // is written; a new voucher on header rows that are up to date takes it
  // in its write (WriteUnderLock). Returns the header's ID. A
  // database error rolls the whole voucher back, gives the lock back and is
  // raised again; the header rows are then read again at the next open.
  qint64 save(bool addMode, const Voucher& voucher);

  // Whether the open branch has a voucher of the kind with this number, as
  // far as the header rows, brought up to date at the open, tell.
  bool holds(double number);

  // The next save replaces the vouchers of its branch with its number: they
  // go with their detail rows in its transaction, under its lock, so a
  // failed save leaves them as they were. Any save forgets it.
  void replaceAtSave(bool replace) { replace_ = replace; }

 private:
  void removeReplaced(const Voucher& voucher);
  // The ID of the first header row with the voucher's number; 0 for none.
  qint64 firstOfNumber(const Voucher& voucher);
  // The imports' way to add a voucher, as one write: its header
  // (newHeaderWrite, the write numbered 0), then the detail row of the first
  // header of its number, which is the new one unless the branch holds
  // another, earlier (a voucher saved twice), whose detail row it replaces.
  Connection::Write newHeaderWrite(const Voucher& voucher) const;
  std::vector<Connection::Write> detailWrites(qint64 earlier, const Voucher& voucher) const;
  ColumnValues headerValues(bool addMode, const Voucher& voucher) const;
  // The insert of the detail row, for the header voucherId (a value or
  // Connection::keyOf).
  Connection::Write detailWrite(const QVariant& voucherId, const Voucher& voucher) const;
  Connection::Write detailRemoval(qint64 voucherId) const;

  const VoucherKind& kind_;
  Recordset headers_;
  int openBranch_ = 0;
  qint64 currentId_ = 0;        // the current header row's ID
  bool headersBehind_ = false;  // saves wrote rows the headers do not hold yet
  bool replace_ = false;
};

}  // namespace qalvoro
