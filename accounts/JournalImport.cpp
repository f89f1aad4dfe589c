#include "accounts/JournalImport.h"

#include <cmath>

#include "accounts/AccountImport.h"
#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {

JournalImport::JournalImport(Connection& version1, int branch)
    : version1_(version1), branch_(branch) {
  version2Gaid_.open(QStringLiteral("SELECT * FROM Gaid WHERE BranchID = ? ORDER BY GaidNo"),
                     MainConnection(), LockType::Optimistic, {branch_});
}

std::vector<int> JournalImport::EntryNumbers() {
  Recordset numbers;
  numbers.open(QStringLiteral("SELECT DISTINCT رقم_القيد FROM Gaid WHERE رقم_القيد IS NOT NULL "
                              "ORDER BY رقم_القيد"),
               version1_);
  std::vector<int> entries;
  entries.reserve(numbers.recordCount());
  for (; !numbers.eof(); numbers.moveNext()) {
    entries.push_back(numbers.value(QStringLiteral("رقم_القيد")).toInt());
  }
  return entries;
}

int JournalImport::newHeader(int entryNumber, const QVariant& firstLineDate) {
  version2Gaid_.addNew();
  version2Gaid_.setValue(QStringLiteral("UserID"), -1);
  version2Gaid_.setValue(QStringLiteral("BranchID"), branch_);
  version2Gaid_.setValue(QStringLiteral("GaidNo"), entryNumber);
  version2Gaid_.setValue(QStringLiteral("fDate"), Version1DateText(firstLineDate));
  version2Gaid_.setValue(QStringLiteral("fTime"), QStringLiteral("00:00"));
  version2Gaid_.setValue(QStringLiteral("GaidType"), 3);
  version2Gaid_.setValue(QStringLiteral("Credit"), 0);
  version2Gaid_.setValue(QStringLiteral("Debit"), 0);
  version2Gaid_.update();
  version2Gaid_.requery();
  version2Gaid_.findEqual(QStringLiteral("GaidNo"), entryNumber);
  return version2Gaid_.value(QStringLiteral("ID")).toInt();
}

JournalImport::EntryResult JournalImport::ImportJournalEntry(int entryNumber,
                                                             const std::function<void()>& yield) {
  Recordset lines;
  lines.open(QStringLiteral("SELECT * FROM Gaid WHERE رقم_القيد = ?"), version1_,
             LockType::ReadOnly, {entryNumber});
  EntryResult result;
  if (lines.eof()) return result;

  const TableLock lock(QStringLiteral("Gaid"));
  Transaction transaction(MainConnection());
  Connection& main = MainConnection();
  main.execute(QStringLiteral("DELETE FROM GaidDetails WHERE GaidID IN "
                              "(SELECT ID FROM Gaid WHERE GaidNo = ? AND BranchID = ?)"),
               {entryNumber, branch_});
  main.execute(QStringLiteral("DELETE FROM Gaid WHERE GaidNo = ? AND BranchID = ?"),
               {entryNumber, branch_});
  int headerId = 0;
  try {
    headerId = newHeader(entryNumber, lines.value(QStringLiteral("التاريخ")));
  } catch (...) {
    version2Gaid_.cancelUpdate();
    throw;
  }
  main.execute(QStringLiteral("DELETE FROM GaidDetails WHERE GaidID = ?"), {headerId});

  double debitTotal = 0;
  double creditTotal = 0;
  double writtenBalance = 0;
  for (; !lines.eof(); lines.moveNext()) {
    const QString accNo = lines.text(QStringLiteral("رقم_الحساب"));
    const double debit = lines.value(QStringLiteral("مدين")).toDouble();
    const double credit = lines.value(QStringLiteral("دائن")).toDouble();
    const int accountId = AccountImport::AccountId(accNo, branch_);
    if (accountId != 0) {
      main.execute(
          QStringLiteral("INSERT INTO GaidDetails (GaidID, AccNoID, Details, BillDate, "
                         "BillNo, BillID, Debit, Credit, BillType) "
                         "VALUES (?, ?, ?, '', ?, 0, ?, ?, 8)"),
          {headerId, accountId, lines.text(QStringLiteral("البيان")).remove(QLatin1Char('\'')),
           accNo, debit, credit});
      ++result.lines;
      writtenBalance += debit - credit;
    } else {
      ++result.skippedLines;
    }
    debitTotal += debit;
    creditTotal += credit;
    if (yield) yield();
  }
  main.execute(QStringLiteral("UPDATE Gaid SET Debit = ?, Credit = ? WHERE ID = ?"),
               {debitTotal, creditTotal, headerId});
  transaction.commit();
  result.written = true;
  result.balanced = std::abs(writtenBalance) < 0.005;
  return result;
}

void JournalImport::Relink() {
  // Only this branch's imported journal lines: lines of other documents keep
  // their document numbers.
  static const QString kMatch = QStringLiteral(
      " FROM CardAcc WHERE GaidDetails.BillNo = CardAcc.AccNo AND CardAcc.BranchID = ? "
      "AND GaidDetails.BillType = 8 "
      "AND GaidDetails.GaidID IN (SELECT ID FROM Gaid WHERE Gaid.BranchID = ?)");
  MainConnection().execute(QStringLiteral("UPDATE GaidDetails SET AccNoID = CardAcc.ID") + kMatch,
                           {branch_, branch_});
  MainConnection().execute(QStringLiteral("UPDATE GaidDetails SET BillNo = '0'") + kMatch,
                           {branch_, branch_});
}

}  // namespace qalvoro
