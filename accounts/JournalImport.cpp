#include "accounts/JournalImport.h"

#include <cmath>

#include "accounts/AccountImport.h"
#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {

JournalImport::JournalImport(Connection& version1, int branch)
    : version1_(version1), branch_(branch), accounts_({QStringLiteral("CardAcc")}) {}

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

JournalImport::EntryResult JournalImport::ImportJournalEntry(int entryNumber,
                                                             const std::function<void()>& yield) {
  Recordset lines;
  lines.open(QStringLiteral("SELECT * FROM Gaid WHERE رقم_القيد = ?"), version1_,
             LockType::ReadOnly, {entryNumber});
  EntryResult result;
  if (lines.eof()) return result;
  const QString date = Version1DateText(lines.value(QStringLiteral("التاريخ")));

  // The lines of accounts the branch has, for one insert after the header.
  accounts_.check();
  QVariantList values;
  double debitTotal = 0;
  double creditTotal = 0;
  double writtenBalance = 0;
  for (; !lines.eof(); lines.moveNext()) {
    const QString accNo = lines.text(QStringLiteral("رقم_الحساب"));
    const double debit = lines.value(QStringLiteral("مدين")).toDouble();
    const double credit = lines.value(QStringLiteral("دائن")).toDouble();
    const int accountId = accounts_
                              .value(accNo,
                                     [&] {
                                       const int id = AccountImport::AccountId(accNo, branch_);
                                       return id != 0 ? QVariant(id) : QVariant();
                                     })
                              .toInt();
    if (accountId != 0) {
      values << Connection::keyOf(2) << accountId
             << lines.text(QStringLiteral("البيان")).remove(QLatin1Char('\'')) << accNo << debit
             << credit;
      ++result.lines;
      writtenBalance += debit - credit;
    } else {
      ++result.skippedLines;
    }
    debitTotal += debit;
    creditTotal += credit;
    if (yield) yield();
  }

  std::vector<Connection::Write> writes = {
      {QStringLiteral("DELETE FROM GaidDetails WHERE GaidID IN "
                      "(SELECT ID FROM Gaid WHERE GaidNo = ? AND BranchID = ?)"),
       {entryNumber, branch_}},
      {QStringLiteral("DELETE FROM Gaid WHERE GaidNo = ? AND BranchID = ?"),
       {entryNumber, branch_}},
      {QStringLiteral("INSERT INTO Gaid (UserID, BranchID, GaidNo, fDate, fTime, GaidType, Credit, "
                      "Debit) VALUES (-1, ?, ?, ?, '00:00', 3, ?, ?)"),
       {branch_, entryNumber, date, creditTotal, debitTotal}}};
  if (result.lines > 0) {
    const QString row = QStringLiteral("(?, ?, ?, '', ?, 0, ?, ?, 8)");
    writes.push_back({QStringLiteral("INSERT INTO GaidDetails (GaidID, AccNoID, Details, BillDate, "
                                     "BillNo, BillID, Debit, Credit, BillType) VALUES ") +
                          QStringList(result.lines, row).join(','),
                      values});
  }
  WriteUnderLock(QStringLiteral("Gaid"), std::move(writes));
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
