#include "accounts/AccountImport.h"

#include "host/helpers/DbHelpers.h"
#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"

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

namespace {
void writeFields(Recordset& version2List, const AccountFields& fields, bool isNew, int parentId) {
  if (isNew) {
    version2List.addNew();
    if (parentId != 0) {
      MainConnection().execute(QStringLiteral("UPDATE CardAcc SET Haves = Haves + 1 WHERE ID = ?"),
                               {parentId});
    }
  }
  version2List.setValue(QStringLiteral("MaxBalance"), Val(fields.maxDebit));
  version2List.setValue(QStringLiteral("AccNo"), fields.accNo);
  version2List.setValue(QStringLiteral("AccNameA"), fields.nameA.trimmed());
  version2List.setValue(QStringLiteral("AccNameE"), fields.nameE.trimmed());
  version2List.setValue(QStringLiteral("ffather"),
                        fields.father.isEmpty() ? QStringLiteral("_") : fields.father);
  version2List.setValue(QStringLiteral("StartCredit"), Val(fields.startCredit));
  version2List.setValue(QStringLiteral("StartDebit"), Val(fields.startDebit));
  version2List.setValue(QStringLiteral("BranchID"), fields.branch);
  version2List.setValue(QStringLiteral("credit"), fields.credit ? 1 : 0);
  version2List.setValue(QStringLiteral("debit"), fields.debit ? 1 : 0);
  version2List.setValue(QStringLiteral("ftype"), fields.type);
  version2List.update();
}
}  // namespace

void WriteAccount(Recordset& version2List, const AccountFields& fields, bool isNew, int parentId) {
  if (!isNew) {
    version2List.requery();  // also brings in accounts other workstations added
    version2List.findEqual(QStringLiteral("AccNo"), fields.accNo);
  }
  {
    Transaction transaction(MainConnection());
    try {
      writeFields(version2List, fields, isNew, parentId);
    } catch (...) {
      version2List.cancelUpdate();  // the row being added or changed is dropped
      throw;
    }
    transaction.commit();
  }
  SetTableLock(QStringLiteral("UnLock"), QStringLiteral("CardAcc"));
}

}  // namespace qalvoro::AccountImport
