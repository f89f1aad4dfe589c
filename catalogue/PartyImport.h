#pragma once

#include <QString>
#include <optional>

#include "catalogue/ClassesAndAccounts.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {

class Connection;
class Recordset;

// Customers and providers are handled alike; what differs between the two
// kinds of party is data.
struct PartyKind {
  QString table;           // version 2: Customer, Provider
  QString version1Table;   // العملاء, الموردين
  QString numberColumn;    // version-1 number: رقم_العميل, رقم_المورد
  QString lock;            // the table lock the import takes; empty for none
  bool toBillDis = false;  // the table has ToBillDis
};

const PartyKind& CustomerParty();
const PartyKind& ProviderParty();

// What the party tab holds when a party is imported.
struct PartyFields {
  int number = 0;
  QString name;
  QString person;
  QString address;
  QString phone;
  QString fax;
  int branch = 0;  // version-2 branch
};

// A party that already exists in version 2, as the overwrite prompt
// describes it.
struct ExistingParty {
  QString number;
  QString name;
};

// Reads and writes the version-2 parties. No windows.
namespace PartyImport {

// nameColumn: the name the overwrite prompt shows (AName or EName). For a
// kind with a table lock, the lock is taken first, in the read's round trip
// (TableLock with a read), and left in lock.
std::optional<ExistingParty> FindParty(const PartyKind& kind, int number, int branch,
                                       const QString& nameColumn, std::optional<TableLock>& lock);

// Overwrites the existing row of the window's version-2 parties of the
// branch with that number with the fields; its account is set to 0 and its
// discounts too, its balances stay. Returns the row's ID.
int OverwriteParty(const PartyKind& kind, Recordset& parties, const PartyFields& fields);

// The insert of a new party with the fields, the account (an ID or
// Connection::keyOf), and balances and discounts at 0.
Connection::Write NewPartyWrite(const PartyKind& kind, const PartyFields& fields,
                                const QVariant& account);

// The ID and own account (0 when it has none) of a party number of the
// branch; nothing when the branch has no such party.
std::optional<std::pair<int, int>> PartyAndAccount(const PartyKind& kind, int number, int branch);

// Gives the party its own account.
void SetPartyAccount(const PartyKind& kind, int partyId, int accountId);

// The ID of a party number of the version-2 branch. An unknown number is
// written from the version-1 party of the version-1 branch (Null numbers as
// 0, Null texts as empty), or as a placeholder named "??" when version 1 has
// no such party.
int EnsureParty(const PartyKind& kind, Connection& version1, int number, int version1Branch,
                int version2Branch);

// The provider of the branch with that name, written with the next number
// of the branch when there is none.
NamedRow EnsureProviderNamed(const QString& name, int branch);

}  // namespace PartyImport
}  // namespace qalvoro
