#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qalvoro {

// The account module: walks the chart of accounts of one branch (CardAcc,
// where ffather names the parent's AccNo and "_" marks a top-level account)
// and keeps every account's SubCardsID, the comma-separated IDs of its
// descendants. Every routine works on MainConnection; values reach the
// database as bound parameters. Errors raise DbError.
//
// Within one level, accounts come in ascending ID order. Data in which an
// account is its own ancestor is walked until the walk would repeat itself,
// so every routine ends.

// The numbers of all descendants of the accounts in `numbers` (account
// numbers joined by "','"), level by level, each followed by "','"; an
// account without a number is written as '0' in quotes. Empty when none has
// children. Hourglass pointer while it runs.
QString DescendantNos(int branch, const QString& numbers);

// The IDs of all descendants of the account, ascending, joined by ","; the
// account's own ID when it has none (empty when the account does not exist).
// Descendants without a number have no ID in the list. Hourglass pointer
// while it runs.
QString DescendantIDs(int branch, const QString& number);

// The ancestors' numbers from the parent upwards, each in single quotes,
// joined by ","; the account itself in quotes when it is top-level or not
// found. The number is trimmed for the walk.
QString AncestorList(const QString& number, int branch);

// Rewrites SubCardsID of the accounts AncestorList names (the ancestors, or
// the account itself when top-level) with their DescendantIDs, holding the
// "CardAcc" table lock and freeing it on every way out.
void UpdateSubCardsID(const QString& number, int branch);

// The account and its descendants down to 12 levels below it, depth first,
// each in single quotes, joined by ","; deeper accounts are not listed.
// Hourglass pointer while it runs.
QString DescendantList(int branch, const QString& number);
// The numbers DescendantList quotes, in the same order, for statements that
// bind them.
QStringList DescendantListNumbers(int branch, const QString& number);

// Rewrites SubCardsID of the account itself and of the accounts
// UpdateSubCardsID(number) rewrites, under the "CardAcc" lock: what removing
// accounts below it needs, since the removed accounts have no ancestors left
// to walk.
void RefreshSubCardsFrom(const QString& number, int branch);

// The IDs of the account and of all its descendants at any depth (also
// those without a number), ascending; empty when there is no such account.
std::vector<qint64> SubtreeIDs(int branch, const QString& number);

// Called after each parent account with the count done and the total.
using SubCardsProgress = std::function<void(int done, int total)>;

// Leaves SubCardsID of the branch as UpdateSubCardsID would leave it when run
// for every account with Haves > 0, reading the branch once and writing each
// account once, under the "CardAcc" lock and in one transaction: an error,
// also one thrown by progress, leaves SubCardsID as it was and the lock free.
// progress (may be empty) is called once per parent account, in ID order.
// Must not be called inside a transaction of MainConnection.
void RefreshParentSubCards(int branch, const SubCardsProgress& progress);

}  // namespace qalvoro
