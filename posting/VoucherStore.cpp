#include "posting/VoucherStore.h"

#include <utility>

#include "host/Globals.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "posting/HeaderLookup.h"

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
  headersBehind_ = false;
  currentId_ = 0;
  if (headers_.recordCount() > 0) {
    headers_.moveLast();
    currentId_ = headers_.value(QStringLiteral("ID")).toLongLong();
  }
}

qint64 VoucherStore::save(bool addMode, const Voucher& voucher) {
  const bool replace = std::exchange(replace_, false);
  if (addMode && !replace && !headersBehind_) {
    // The header rows are up to date: nothing is read under the lock, which
    // is held from inside the voucher's one write.
    const qint64 earlier = firstOfNumber(voucher);
    const auto results =
        WriteUnderLock(kind_.lockName, {newHeaderWrite(voucher)}, detailWrites(earlier, voucher));
    headersBehind_ = true;
    currentId_ = earlier != 0 ? earlier : results.front().keys.front();
    return currentId_;
  }
  TableLock lock(kind_.lockName);
  Connection& db = MainConnection();
  qint64 voucherId = 0;
  try {
    std::optional<Transaction> transaction;
    if (replace || !addMode) transaction.emplace(db);
    if (replace) removeReplaced(voucher);
    if (addMode) {
      const qint64 earlier = replace ? 0 : firstOfNumber(voucher);
      std::vector<Connection::Write> writes{newHeaderWrite(voucher), lock.unlockWrite()};
      for (Connection::Write& write : detailWrites(earlier, voucher)) {
        writes.push_back(std::move(write));
      }
      const qint64 inserted = db.writeAll(writes).front().keys.front();
      voucherId = earlier != 0 ? earlier : inserted;
      headersBehind_ = true;
    } else {
      Recordset& stored = headers();
      if (currentId_ != 0) stored.findEqual(QStringLiteral("ID"), currentId_);
      for (const auto& [column, value] : headerValues(false, voucher)) {
        stored.setValue(column, value);
      }
      stored.update();
      const Connection::Write unlock = lock.unlockWrite();
      db.execute(unlock.sql, unlock.params);
      stored.requery();
      voucherId = HeaderIdByNumber(stored, kind_.numberColumn, voucher.number);
      db.writeAll({detailRemoval(voucherId), detailWrite(voucherId, voucher)});
    }
    if (transaction) transaction->commit();
  } catch (...) {
    headers_.close();  // it may hold rows the rollback took away
    throw;
  }
  lock.released();
  currentId_ = voucherId;
  return voucherId;
}

qint64 VoucherStore::firstOfNumber(const Voucher& voucher) {
  return FirstHeaderOfNumber(headers(), kind_.numberColumn, voucher.number).value_or(0);
}

Connection::Write VoucherStore::newHeaderWrite(const Voucher& voucher) const {
  return InsertWrite(kind_.headerTable, headerValues(true, voucher));
}

std::vector<Connection::Write> VoucherStore::detailWrites(qint64 earlier,
                                                          const Voucher& voucher) const {
  if (earlier == 0) return {detailWrite(Connection::keyOf(0), voucher)};
  return {detailRemoval(earlier), detailWrite(earlier, voucher)};
}

ColumnValues VoucherStore::headerValues(bool addMode, const Voucher& voucher) const {
  const bool cheque = voucher.type == 1;
  const bool cash = voucher.type == 0;
  const double amount = Val(voucher.amount);
  ColumnValues values;
  if (addMode) values.emplace_back(QStringLiteral("UserID"), 0);
  values.emplace_back(QStringLiteral("BranchID"), voucher.branchId);
  values.emplace_back(kind_.numberColumn, Val(voucher.number));
  values.emplace_back(QStringLiteral("fDate"), text(voucher.date));
  values.emplace_back(QStringLiteral("fTime"), text(voucher.time));
  values.emplace_back(kind_.cashierColumn, voucher.cashierAccId);
  values.emplace_back(QStringLiteral("Amount"), amount);
  values.emplace_back(QStringLiteral("fCash"), cheque ? 0.0 : amount);
  values.emplace_back(QStringLiteral("fCheque"), cheque ? amount : 0.0);
  values.emplace_back(QStringLiteral("ftype"), voucher.type);
  if (kind_.writesSalesman) {
    values.emplace_back(QStringLiteral("SaleManID"), 0);
    values.emplace_back(QStringLiteral("SMinvNo"), QStringLiteral("0"));
    values.emplace_back(QStringLiteral("SMinvDate"), QString(""));
  }
  values.emplace_back(QStringLiteral("BillNo"), cash ? QString("") : text(voucher.billNo));
  values.emplace_back(QStringLiteral("BillDate"), cash ? QString("") : text(voucher.billDate));
  values.emplace_back(QStringLiteral("Details"), text(voucher.details));
  return values;
}

Connection::Write VoucherStore::detailRemoval(qint64 voucherId) const {
  return {QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(kind_.detailTable, kind_.linkColumn),
          {voucherId}};
}

Connection::Write VoucherStore::detailWrite(const QVariant& voucherId,
                                            const Voucher& voucher) const {
  return {QStringLiteral("INSERT INTO %1 (%2,%3,fPayer,Details,fType,BankID,BillDate,BillNo,"
                         "Amount) VALUES (?,?,?,?,?,?,?,?,?)")
              .arg(kind_.detailTable, kind_.linkColumn, kind_.partyColumn),
          {voucherId, voucher.partyAccId, text(voucher.payer), text(voucher.details), voucher.type,
           voucher.bankId, text(voucher.billDate), text(voucher.billNo), Val(voucher.amount)}};
}

bool VoucherStore::holds(double number) {
  return FirstHeaderOfNumber(headers(), kind_.numberColumn, GeneralNumber(number)).has_value();
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
