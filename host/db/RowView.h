#pragma once

#include <unordered_set>
#include <vector>

#include "host/db/RowTable.h"

namespace qalvoro {

// The rows a recordset shows: every row of its table in order, or under a
// filter the matching rows, kept as a list in table order.
class RowView {
 public:
  explicit RowView(const RowTable& table) : table_(table) {}

  void showAll();
  void showOnly(std::vector<RowId> rows);  // rows in table order

  int count() const;
  RowId first() const;
  RowId last() const;
  RowId next(RowId id) const;
  RowId previous(RowId id) const;
  RowId at(int position) const;
  int positionOf(RowId id) const;
  bool contains(RowId id) const { return !filtered_ || members_.count(id) > 0; }

  // Keeps a filtered list in step with a row added to or leaving the table;
  // call add after the row is in the table and remove before it leaves.
  void add(RowId id);
  void remove(RowId id);

 private:
  std::vector<RowId>::const_iterator find(RowId id) const;

  const RowTable& table_;
  bool filtered_ = false;
  std::vector<RowId> rows_;
  std::unordered_set<RowId> members_;
};

}  // namespace qalvoro
