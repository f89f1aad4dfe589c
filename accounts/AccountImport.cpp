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

bool HasJournalLines(int accountId) {
  return Val(LookupValue(QStringLiteral("GaidDetails"), QStringLiteral("ID"),
                         QStringLiteral("AccNoID = ?"), {accountId})) != 0;
}

std::optional<ExistingAccount> FindAccount(const QString& accNo, int branch) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT AccNo, AccNameA FROM CardAcc WHERE AccNo = ? AND BranchID = ?"),
      {accNo, branch});
  if (!row) return std::nullopt;
  return ExistingAccount{row->value(0).toString(), row->value(1).toString()};
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
