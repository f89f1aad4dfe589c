#include "accounts/AccountImport.h"

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro::AccountImport {

int AccountId(const QString& accNo, int branch) {
  return static_cast<int>(
      Val(LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"),
                      QStringLiteral("AccNo = ? AND BranchID = ?"), {accNo, branch})));
}

AccountChecks CheckAccount(const AccountFields& fields) {
  const auto row = MainConnection().firstRow(
      QStringLiteral(
          "SELECT parent.ID, EXISTS (SELECT 1 FROM GaidDetails WHERE AccNoID = parent.ID), "
          "account.AccNo, account.AccNameA FROM (SELECT 1 AS one) AS base "
          "LEFT JOIN CardAcc parent ON parent.AccNo = ? AND parent.BranchID = ? "
          "LEFT JOIN CardAcc account ON account.AccNo = ? AND account.BranchID = ?"),
      {fields.father, fields.branch, fields.accNo, fields.branch});
  AccountChecks checks;
  if (!fields.father.isEmpty() && !row->isNull(0)) {
    checks.parentId = row->value(0).toInt();
    checks.parentHasJournalLines = row->value(1).toBool();
  }
  if (!row->isNull(2)) {
    checks.existing = ExistingAccount{row->value(2).toString(), row->value(3).toString()};
  }
  return checks;
}

void WriteAccount(Recordset& version2List, const AccountFields& fields, bool isNew, int parentId) {
  const ColumnValues values = {
      {QStringLiteral("MaxBalance"), Val(fields.maxDebit)},
      {QStringLiteral("AccNo"), fields.accNo},
      {QStringLiteral("AccNameA"), fields.nameA.trimmed()},
      {QStringLiteral("AccNameE"), fields.nameE.trimmed()},
      {QStringLiteral("ffather"), fields.father.isEmpty() ? QStringLiteral("_") : fields.father},
      {QStringLiteral("StartCredit"), Val(fields.startCredit)},
      {QStringLiteral("StartDebit"), Val(fields.startDebit)},
      {QStringLiteral("BranchID"), fields.branch},
      {QStringLiteral("credit"), fields.credit ? 1 : 0},
      {QStringLiteral("debit"), fields.debit ? 1 : 0},
      {QStringLiteral("ftype"), fields.type}};
  const QString lock = QStringLiteral("CardAcc");
  if (!isNew) {
    WriteListRow(version2List, false, QStringLiteral("AccNo"), fields.accNo, [&] {
      for (const auto& [column, value] : values) version2List.setValue(column, value);
    });
    SetTableLock(QStringLiteral("UnLock"), lock);
    return;
  }
  // The parent's count, the account and the lock's end, as one write.
  std::vector<Connection::Write> writes;
  if (parentId != 0) {
    writes.push_back(
        {QStringLiteral("UPDATE CardAcc SET Haves = Haves + 1 WHERE ID = ?"), {parentId}});
  }
  writes.push_back(InsertWrite(QStringLiteral("CardAcc"), values));
  writes.push_back(UnlockWrite(lock));
  MainConnection().writeAll(writes);
}

}  // namespace qalvoro::AccountImport
