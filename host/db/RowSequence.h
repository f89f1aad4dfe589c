#pragma once

#include <QtGlobal>
#include <functional>
#include <random>
#include <vector>

namespace qalvoro {

// The order of a recordset's rows: row ids (small integers chosen by the
// owner) in sequence, with insertion anywhere, removal, and the position of
// a row or the row at a position, each in O(log n) expected time. A treap
// ordered by position, with parent links so that a row finds its position.
class RowSequence {
 public:
  using Id = int;
  static constexpr Id kNone = -1;

  int size() const { return root_ == kNone ? 0 : nodes_[root_].size; }
  void clear();
  void insertAt(int position, Id id);
  void append(Id id) { insertAt(size(), id); }
  void erase(Id id);

  int positionOf(Id id) const;
  Id at(int position) const;
  Id first() const;
  Id last() const;
  Id next(Id id) const;
  Id previous(Id id) const;
  bool before(Id a, Id b) const { return positionOf(a) < positionOf(b); }

  // The number of leading rows for which goesBefore holds, for a predicate
  // that holds for a prefix of the sequence.
  int countLeading(const std::function<bool(Id)>& goesBefore) const;

 private:
  struct Node {
    Id left = kNone;
    Id right = kNone;
    Id parent = kNone;
    int size = 0;
    quint32 priority = 0;
  };
  struct Split {
    Id left;
    Id right;
  };

  int sizeOf(Id id) const { return id == kNone ? 0 : nodes_[id].size; }
  void update(Id id);
  void setLeft(Id id, Id child);
  void setRight(Id id, Id child);
  Split split(Id tree, int count);
  Id merge(Id left, Id right);
  Id leftmost(Id id) const;
  Id rightmost(Id id) const;

  std::vector<Node> nodes_;
  Id root_ = kNone;
  std::minstd_rand random_;
};

}  // namespace qalvoro
