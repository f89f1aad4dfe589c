#include "host/db/RowView.h"

#include <algorithm>

namespace qalvoro {

void RowView::showAll() {
  filtered_ = false;
  rows_.clear();
  members_.clear();
}

void RowView::showOnly(std::vector<RowId> rows) {
  filtered_ = true;
  rows_ = std::move(rows);
  members_ = std::unordered_set<RowId>(rows_.begin(), rows_.end());
}

int RowView::count() const { return filtered_ ? static_cast<int>(rows_.size()) : table_.size(); }

RowId RowView::first() const {
  if (!filtered_) return table_.order().first();
  return rows_.empty() ? kNoRow : rows_.front();
}

RowId RowView::last() const {
  if (!filtered_) return table_.order().last();
  return rows_.empty() ? kNoRow : rows_.back();
}

std::vector<RowId>::const_iterator RowView::find(RowId id) const {
  return std::lower_bound(rows_.begin(), rows_.end(), id,
                          [this](RowId a, RowId b) { return table_.order().before(a, b); });
}

RowId RowView::next(RowId id) const {
  if (!filtered_) return table_.order().next(id);
  const auto it = find(id);
  return it == rows_.end() || it + 1 == rows_.end() ? kNoRow : *(it + 1);
}

RowId RowView::previous(RowId id) const {
  if (!filtered_) return table_.order().previous(id);
  const auto it = find(id);
  return it == rows_.begin() ? kNoRow : *(it - 1);
}

RowId RowView::at(int position) const {
  if (!filtered_) return table_.order().at(position);
  return rows_[position];
}

int RowView::positionOf(RowId id) const {
  if (!filtered_) return table_.order().positionOf(id);
  return static_cast<int>(find(id) - rows_.begin());
}

void RowView::add(RowId id) {
  if (!filtered_) return;
  rows_.insert(find(id), id);
  members_.insert(id);
}

void RowView::remove(RowId id) {
  if (!filtered_ || !members_.erase(id)) return;
  rows_.erase(find(id));
}

}  // namespace qalvoro
