#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace qalvoro {

// An account of CardAcc as maintenance reads it; Null texts are empty and
// Null numbers 0.
struct AccountCard {
  qint64 id = 0;
  QString number;  // AccNo
  QString nameA;   // AccNameA
  QString nameE;   // AccNameE
  QString father;  // ffather
  int haves = 0;
  double startDebit = 0;
  double startCredit = 0;
};

// An account that other records use, and the use (an Arabic text for the
// window to translate: journal lines, a customer, a provider, a cash box, a
// receipt or a payment voucher).
struct AccountInUse {
  QString number;  // AccNo
  QString use;
};

// What a deletion would remove: the account and all its descendants at any
// depth, and the first of them that is in use, which refuses the deletion.
struct AccountRemoval {
  std::vector<qint64> ids;
  std::optional<AccountInUse> inUse;
};

// Adding, editing and deleting the accounts of one branch of the version-2
// chart (CardAcc). Every write is one transaction on MainConnection: a
// database error rolls it back and reaches the caller as DbError. Values
// are bound, never written into the statements. No windows.
class AccountMaintenance {
 public:
  explicit AccountMaintenance(int branch) : branch_(branch) {}

  // ID of the account with that number; 0 when there is none.
  qint64 AccountId(const QString& number) const;
  // The account with that ID; raises DbError 3021 when there is none.
  AccountCard Card(qint64 id) const;
  // The account's name in the language (AccountChart::NameIn); empty when
  // there is no such account.
  QString AccountName(const QString& number, const QString& language) const;
  // Whether journal lines (GaidDetails.AccNoID) are posted to the account.
  bool HasJournalLines(qint64 id) const;

  // The number proposed for a new sub-account of parent: the largest number
  // among its sub-accounts (compared as text) plus one, or "1" when it has
  // none.
  QString ProposedNumber(const QString& parent) const;
  // Whether another account of the branch has the number; exceptNumber, when
  // given, is the number the edited account had and does not count.
  bool NumberTaken(const QString& number, const std::optional<QString>& exceptNumber) const;

  // Adds a sub-account under the parent: Haves 0, type and nature copied
  // from the parent, no opening balance; the parent's Haves grows by one and
  // the descendant lists of the ancestors are refreshed.
  void Add(qint64 parentId, const QString& parentNumber, const QString& number,
           const QString& nameA, const QString& nameE);
  // Changes an account's number and names; the descendant lists of its
  // ancestors are refreshed.
  void Edit(qint64 id, const QString& number, const QString& nameA, const QString& nameE);

  // What deleting the account would remove, and what refuses it.
  AccountRemoval PlanRemoval(const AccountCard& account) const;
  // Removes the accounts of the plan, lowers the Haves of the account's
  // parent by one and refreshes the descendant lists of the parent and its
  // ancestors.
  void Remove(const AccountCard& account, const AccountRemoval& removal);

 private:
  int branch_;
};

}  // namespace qalvoro
