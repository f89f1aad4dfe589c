#include "host/db/RowTable.h"

#include <algorithm>

#include "host/db/Values.h"

namespace qalvoro {

ColumnIndex::ColumnIndex(const RowSequence& order) : order_(order) {}

void ColumnIndex::add(RowId id, const QVariant& value) {
  if (!values::indexable(value)) {
    if (values::kindOf(value) != values::Kind::Null) ++unindexable_;
    return;
  }
  for (const QString& key : values::fieldKeys(value)) {
    Group& group = groups_.try_emplace(key, ByPosition{&order_}).first->second;
    group.insert(group.end(), id);  // rows mostly come in order
  }
}

void ColumnIndex::remove(RowId id, const QVariant& value) {
  if (!values::indexable(value)) {
    if (values::kindOf(value) != values::Kind::Null) --unindexable_;
    return;
  }
  for (const QString& key : values::fieldKeys(value)) {
    const auto group = groups_.find(key);
    if (group == groups_.end()) continue;
    group->second.erase(id);
    if (group->second.empty()) groups_.erase(group);
  }
}

RowId ColumnIndex::firstFrom(const QVariant& value, RowId from,
                             const std::function<bool(RowId)>& accept) const {
  RowId best = kNoRow;
  for (const QString& key : values::lookupKeys(value)) {
    const auto group = groups_.find(key);
    if (group == groups_.end()) continue;
    auto it = from == kNoRow ? group->second.begin() : group->second.lower_bound(from);
    while (it != group->second.end() && !accept(*it)) ++it;
    if (it != group->second.end() && (best == kNoRow || order_.before(*it, best))) best = *it;
  }
  return best;
}

std::vector<RowId> ColumnIndex::all(const QVariant& value) const {
  std::vector<RowId> rows;
  for (const QString& key : values::lookupKeys(value)) {
    const auto group = groups_.find(key);
    if (group != groups_.end()) rows.insert(rows.end(), group->second.begin(), group->second.end());
  }
  std::sort(rows.begin(), rows.end(), ByPosition{&order_});
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void RowTable::clear() {
  indexes_.clear();
  rows_.clear();
  free_.clear();
  byKey_.clear();
  order_.clear();
}

RowId RowTable::byKey(qint64 key) const {
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? kNoRow : found->second;
}

RowId RowTable::insertAt(int position, Row row) {
  RowId id;
  if (free_.empty()) {
    id = static_cast<RowId>(rows_.size());
    rows_.push_back(std::move(row));
  } else {
    id = free_.back();
    free_.pop_back();
    rows_[id] = std::move(row);
  }
  order_.insertAt(position, id);
  if (rows_[id].key) byKey_[*rows_[id].key] = id;
  for (auto& [column, index] : indexes_) index.add(id, rows_[id].values[column]);
  return id;
}

void RowTable::remove(RowId id) {
  for (auto& [column, index] : indexes_) index.remove(id, rows_[id].values[column]);
  order_.erase(id);
  if (rows_[id].key) byKey_.erase(*rows_[id].key);
  rows_[id] = Row{};
  free_.push_back(id);
}

void RowTable::setValues(RowId id, std::vector<QVariant> values) {
  for (auto& [column, index] : indexes_) {
    index.remove(id, rows_[id].values[column]);
    index.add(id, values[column]);
  }
  rows_[id].values = std::move(values);
}

void RowTable::reorder(const std::function<bool(const Row&, const Row&)>& less) {
  indexes_.clear();
  std::vector<RowId> ids;
  ids.reserve(size());
  for (RowId id = order_.first(); id != kNoRow; id = order_.next(id)) ids.push_back(id);
  std::stable_sort(ids.begin(), ids.end(),
                   [&](RowId a, RowId b) { return less(rows_[a], rows_[b]); });
  order_.clear();
  for (const RowId id : ids) order_.append(id);
}

const ColumnIndex& RowTable::index(int column) {
  const auto found = indexes_.find(column);
  if (found != indexes_.end()) return found->second;
  ColumnIndex& index = indexes_.try_emplace(column, order_).first->second;
  for (RowId id = order_.first(); id != kNoRow; id = order_.next(id)) {
    index.add(id, rows_[id].values[column]);
  }
  return index;
}

}  // namespace qalvoro
