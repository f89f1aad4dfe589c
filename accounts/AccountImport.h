#pragma once

#include <QString>
#include <optional>

namespace qalvoro {

class Recordset;

// What the account fields of the accounts window hold when an account is
// imported: the import writes these, not the version-1 row.
struct AccountFields {
  QString accNo;     // txtAccNo
  QString nameA;     // txtAccNameA
  QString nameE;     // txtAccNameE
  QString father;    // txtAccFather
  QString maxDebit;  // txtMaxDebit
  QString startDebit;
  QString startCredit;
  bool debit = false;
  bool credit = false;
  int type = -1;   // CboAccType's index
  int branch = 0;  // version-2 branch
};

// An account that already exists in version 2, as the overwrite prompt
// describes it.
struct ExistingAccount {
  QString accNo;
  QString nameA;
};

// Reads and writes the version-2 chart of accounts (CardAcc) for the account
// import. No windows: the accounts window asks the questions and calls these.
namespace AccountImport {

// ID of the account with that number in the branch; 0 when there is none.
int AccountId(const QString& accNo, int branch);

// What the import of an account reads before it writes, read together: the
// parent's ID (0 when the fields name none or the branch lacks it), whether
// journal lines already refer to the parent, and the account of the same
// number that the branch holds.
struct AccountChecks {
  int parentId = 0;
  bool parentHasJournalLines = false;
  std::optional<ExistingAccount> existing;
};
AccountChecks CheckAccount(const AccountFields& fields);

// Writes the fields into the window's version-2 list of the branch, in one
// transaction: a new row (raising the parent's Haves when parentId is not
// 0), or the existing row with that number, whose ID and Haves stay. The
// "CardAcc" lock is released afterwards. Raises DbError, after which
// nothing of the account is written.
void WriteAccount(Recordset& version2List, const AccountFields& fields, bool isNew, int parentId);

}  // namespace AccountImport
}  // namespace qalvoro
