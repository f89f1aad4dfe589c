#pragma once

#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "host/db/RowSequence.h"

namespace qalvoro {

using RowId = RowSequence::Id;
constexpr RowId kNoRow = RowSequence::kNone;

struct Row {
  std::optional<qint64> key;  // the table's key, when the rows have one
  quint64 sequence = 0;       // rank in the query's own order, for ties
  std::vector<QVariant> values;
};

// The rows of one column filed by value (see values::fieldKeys), each group
// in row order, so that an equality search finds the first match at or after
// a row in O(log n).
class ColumnIndex {
 public:
  explicit ColumnIndex(const RowSequence& order);

  void add(RowId id, const QVariant& value);
  void remove(RowId id, const QVariant& value);
  // False while the column holds values that only a row-by-row comparison
  // can match (yes/no, dates).
  bool usable() const { return unindexable_ == 0; }

  // The first row at or after `from` (kNoRow: from the start) equal to the
  // value and accepted by `accept`; kNoRow when there is none.
  RowId firstFrom(const QVariant& value, RowId from,
                  const std::function<bool(RowId)>& accept) const;
  // Every row equal to the value, in row order.
  std::vector<RowId> all(const QVariant& value) const;

 private:
  struct ByPosition {
    const RowSequence* order;
    bool operator()(RowId a, RowId b) const { return order->before(a, b); }
  };
  using Group = std::set<RowId, ByPosition>;

  const RowSequence& order_;
  std::unordered_map<QString, Group> groups_;
  int unindexable_ = 0;
};

// The rows of a recordset: their values, their order, lookup by key and the
// equality indexes, all kept in step as rows come and go.
class RowTable {
 public:
  void clear();
  int size() const { return order_.size(); }
  const RowSequence& order() const { return order_; }
  const Row& row(RowId id) const { return rows_[id]; }
  RowId byKey(qint64 key) const;

  RowId insertAt(int position, Row row);
  RowId append(Row row) { return insertAt(size(), std::move(row)); }
  void remove(RowId id);
  // New values for a row that keeps its place.
  void setValues(RowId id, std::vector<QVariant> values);
  // Puts the rows in a new order; the indexes are built again when needed.
  void reorder(const std::function<bool(const Row&, const Row&)>& less);

  // The equality index of a column, built on first use.
  const ColumnIndex& index(int column);

 private:
  std::vector<Row> rows_;
  std::vector<RowId> free_;
  std::unordered_map<qint64, RowId> byKey_;
  RowSequence order_;
  std::map<int, ColumnIndex> indexes_;
};

}  // namespace qalvoro
