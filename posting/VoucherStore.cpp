#include "posting/VoucherStore.h"

#include <utility>

#include "host/Globals.h"
#include "host/helpers/Numbers.h"
#include "posting/HeaderLookup.h"
#include "posting/HeldLock.h"

namespace qalvoro {
namespace {

// Text as stored: empty, never Null.
QString text(const QString& value) { return value.isNull() ? QString("") : value; }

}  // namespace

void VoucherStore::open(int branchId) {
  if (isOpenFor(branchId)) {
    headers_.requery();
  } else {
    headers_.open(QStringLiteral("SELECT * FROM %1 WHERE BranchID = ? ORDER BY %2, ID")
                      .arg(kind_.headerTable, kind_.numberColumn),
                  MainConnection(), LockType::Optimistic, {branchId});
    openBranch_ = branchId;
  }
  if (headers_.recordCount() > 0) headers_.moveLast();
}

qint64 VoucherStore::save(bool addMode, const Voucher& voucher) {
  const bool replace = std::exchange(replace_, false);
  HeldLock lock(kind_.lockName);
  qint64 voucherId = 0;
  try {
    Transaction transaction(MainConnection());
    if (replace) removeReplaced(voucher);
    writeHeader(addMode, voucher);
    headers_.update();
    lock.releaseInTransaction();
    headers_.requery();
    voucherId = HeaderIdByNumber(headers_, kind_.numberColumn, voucher.number);
    writeDetail(voucherId, voucher);
    transaction.commit();
  } catch (...) {
    headers_.close();  // it may hold rows the rollback took away
    throw;
  }
  lock.transactionCommitted();
  return voucherId;
}

void VoucherStore::writeHeader(bool addMode, const Voucher& voucher) {
  const bool cheque = voucher.type == 1;
  const double amount = Val(voucher.amount);
  if (addMode) {
    headers_.addNew();
    headers_.setValue(QStringLiteral("UserID"), 0);
  }
  headers_.setValue(QStringLiteral("BranchID"), voucher.branchId);
  headers_.setValue(kind_.numberColumn, Val(voucher.number));
  headers_.setValue(QStringLiteral("fDate"), text(voucher.date));
  headers_.setValue(QStringLiteral("fTime"), text(voucher.time));
  headers_.setValue(kind_.cashierColumn, voucher.cashierAccId);
  headers_.setValue(QStringLiteral("Amount"), amount);
  headers_.setValue(QStringLiteral("fCash"), cheque ? 0.0 : amount);
  headers_.setValue(QStringLiteral("fCheque"), cheque ? amount : 0.0);
  headers_.setValue(QStringLiteral("ftype"), voucher.type);
  if (kind_.writesSalesman) {
    headers_.setValue(QStringLiteral("SaleManID"), 0);
    headers_.setValue(QStringLiteral("SMinvNo"), QStringLiteral("0"));
    headers_.setValue(QStringLiteral("SMinvDate"), QString(""));
  }
  const bool cash = voucher.type == 0;
  headers_.setValue(QStringLiteral("BillNo"), cash ? QString("") : text(voucher.billNo));
  headers_.setValue(QStringLiteral("BillDate"), cash ? QString("") : text(voucher.billDate));
  headers_.setValue(QStringLiteral("Details"), text(voucher.details));
}

void VoucherStore::writeDetail(qint64 voucherId, const Voucher& voucher) {
  Connection& db = MainConnection();
  db.execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(kind_.detailTable, kind_.linkColumn),
             {voucherId});
  db.execute(
      QStringLiteral("INSERT INTO %1 (%2,%3,fPayer,Details,fType,BankID,BillDate,BillNo,"
                     "Amount) VALUES (?,?,?,?,?,?,?,?,?)")
          .arg(kind_.detailTable, kind_.linkColumn, kind_.partyColumn),
      {voucherId, voucher.partyAccId, text(voucher.payer), text(voucher.details), voucher.type,
       voucher.bankId, text(voucher.billDate), text(voucher.billNo), Val(voucher.amount)});
}

bool VoucherStore::exists(const VoucherKind& kind, int branchId, double number) {
  return MainConnection()
      .firstRow(QStringLiteral("SELECT ID FROM %1 WHERE %2 = ? AND BranchID = ?")
                    .arg(kind.headerTable, kind.numberColumn),
                {number, branchId})
      .has_value();
}

void VoucherStore::removeReplaced(const Voucher& voucher) {
  Connection& db = MainConnection();
  Recordset vouchers;
  vouchers.open(QStringLiteral("SELECT ID FROM %1 WHERE BranchID = ? AND %2 = ?")
                    .arg(kind_.headerTable, kind_.numberColumn),
                db, LockType::ReadOnly, {voucher.branchId, Val(voucher.number)});
  for (; !vouchers.eof(); vouchers.moveNext()) {
    const qint64 id = vouchers.value(QStringLiteral("ID")).toLongLong();
    db.execute(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(kind_.detailTable, kind_.linkColumn),
        {id});
    db.execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(kind_.headerTable), {id});
  }
}

}  // namespace qalvoro
