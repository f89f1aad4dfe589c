#pragma once

#include <QMetaType>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "host/db/Connection.h"

namespace qalvoro {

// A class or provider as the class list of the item tab holds it.
struct NamedRow {
  int id = 0;
  QString name;   // AName
  QString nameE;  // EName
  // The name the list shows in the language ("A" or "E"): in English the
  // English name, the Arabic one when the English is blank.
  QString shown(const QString& language) const;
};

// The row of table (Class or Provider) of the branch whose AName is name.
std::optional<NamedRow> FindNamedRow(const QString& table, const QString& name, int branch);

// FindNamedRow; while there is none, insert() writes one.
NamedRow EnsureNamedRow(const QString& table, const QString& name, int branch,
                        const std::function<void()>& insert);

// The classes of the branch in the order they were written.
std::vector<NamedRow> ClassesOf(int branch);

// The class of the branch with that name, written with the next class
// number of the branch and the posting accounts of the branch's first class
// (0 when it has none) when there is none.
NamedRow EnsureClassNamed(const QString& name, int branch);

// The cash-box accounts of a branch (table Cashier) sorted by name in the
// language ("A" or "E"): name (empty for Null) and CardAcc.ID.
std::vector<std::pair<QString, int>> CashierAccounts(int branch, const QString& language);

// The CardAcc.ID of the account with that name under the parent account
// number in the branch. When there is none, one is written with the next
// number under the parent (the parent's number followed by "001" for its
// first child), the parent's type and flags, and the parent's Haves raised
// by one, in one transaction: the caller's when one is open.
int CreateChildAccount(const QString& parentNo, const QString& name, int branch);

// What CreateChildAccount would do, for a caller that writes the account
// together with its own rows: the ID of the existing account of that name,
// or (0 and) the writes that add it, the account's insert first.
struct ChildAccount {
  int existingId = 0;
  std::vector<Connection::Write> writes;
};
ChildAccount PlanChildAccount(const QString& parentNo, const QString& name, int branch);

}  // namespace qalvoro

Q_DECLARE_METATYPE(qalvoro::NamedRow)
