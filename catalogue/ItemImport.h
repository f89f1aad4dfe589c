#pragma once

#include <QString>
#include <array>
#include <optional>

namespace qalvoro {

class Connection;

// What the item tab holds when an item is imported: the import writes
// these, not the version-1 row.
struct ItemFields {
  QString categoryNo;  // TxtCategoryNo
  QString nameA;       // TxtAName
  QString nameE;       // TxtEName
  QString location;    // TxtLocation
  double aQuantity = 0;
  double rQuantity = 0;
  double iQuantity = 0;
  double rPoint = 0;
  double costPrice = 0;
  std::array<double, 5> prices{};  // txtPrice(0..4)
  int classId = -1;
  std::optional<int> providerId;  // written only when the classification is a provider
  bool service = false;           // OptType(1)
  int unit = -1;
  int branch = 0;  // version-2 branch
};

// An item that already exists in version 2, as the overwrite prompt
// describes it.
struct ExistingItem {
  int id = 0;  // CategoryID
  QString categoryNo;
  QString nameA;
};

// Reads and writes the version-2 items (Category). No windows.
namespace ItemImport {

// Takes the table lock and finds the item under it (LockAndRead). Item
// numbers are compared without case, as version 1 compared them; of several
// rows that match, the one spelled exactly so comes first, then the oldest.
std::optional<ExistingItem> LockAndFindItem(const QString& lock, const QString& categoryNo,
                                            int branch);

// Writes the fields into the version-2 items of the branch and frees the
// table lock, as one write: a new row, or the existing row found by
// LockAndFindItem (by its CategoryID). Raises DbError, after which nothing
// is written and the lock may still be held, also when another workstation
// removed the existing row meanwhile.
void WriteItem(const ItemFields& fields, const std::optional<ExistingItem>& existing,
               const QString& lock);

// The CategoryID of an item number, looked up in every branch (without
// case, as LockAndFindItem). An unknown
// number is written into the version-2 branch from the version-1 item of
// the version-1 branch (Null numbers as 0, Null texts as empty), or as a
// placeholder named after the number when version 1 has no such item.
int EnsureItem(Connection& version1, const QString& number, int version1Branch, int version2Branch,
               int classId, int unit);

}  // namespace ItemImport
}  // namespace qalvoro
