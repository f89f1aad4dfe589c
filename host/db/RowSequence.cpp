#include "host/db/RowSequence.h"

namespace qalvoro {

void RowSequence::clear() {
  nodes_.clear();
  root_ = kNone;
}

void RowSequence::update(Id id) {
  Node& node = nodes_[id];
  node.size = 1 + sizeOf(node.left) + sizeOf(node.right);
}

void RowSequence::setLeft(Id id, Id child) {
  nodes_[id].left = child;
  if (child != kNone) nodes_[child].parent = id;
}

void RowSequence::setRight(Id id, Id child) {
  nodes_[id].right = child;
  if (child != kNone) nodes_[child].parent = id;
}

// The first `count` rows of the tree, and the rest; both roots parentless.
RowSequence::Split RowSequence::split(Id tree, int count) {
  if (tree == kNone) return {kNone, kNone};
  Split result;
  if (sizeOf(nodes_[tree].left) >= count) {
    const Split inner = split(nodes_[tree].left, count);
    setLeft(tree, inner.right);
    result = {inner.left, tree};
  } else {
    const Split inner = split(nodes_[tree].right, count - sizeOf(nodes_[tree].left) - 1);
    setRight(tree, inner.left);
    result = {tree, inner.right};
  }
  update(tree);
  if (result.left != kNone) nodes_[result.left].parent = kNone;
  if (result.right != kNone) nodes_[result.right].parent = kNone;
  return result;
}

RowSequence::Id RowSequence::merge(Id left, Id right) {
  if (left == kNone) return right;
  if (right == kNone) return left;
  if (nodes_[left].priority > nodes_[right].priority) {
    setRight(left, merge(nodes_[left].right, right));
    update(left);
    return left;
  }
  setLeft(right, merge(left, nodes_[right].left));
  update(right);
  return right;
}

void RowSequence::insertAt(int position, Id id) {
  if (static_cast<std::size_t>(id) >= nodes_.size()) nodes_.resize(id + 1);
  nodes_[id] = Node{kNone, kNone, kNone, 1, static_cast<quint32>(random_())};
  const Split parts = split(root_, position);
  root_ = merge(merge(parts.left, id), parts.right);
  nodes_[root_].parent = kNone;
}

void RowSequence::erase(Id id) {
  const Id parent = nodes_[id].parent;
  const Id joined = merge(nodes_[id].left, nodes_[id].right);
  if (parent == kNone) {
    root_ = joined;
    if (joined != kNone) nodes_[joined].parent = kNone;
  } else {
    if (nodes_[parent].left == id) {
      setLeft(parent, joined);
    } else {
      setRight(parent, joined);
    }
    for (Id up = parent; up != kNone; up = nodes_[up].parent) update(up);
  }
  nodes_[id] = Node{};
}

int RowSequence::positionOf(Id id) const {
  int position = sizeOf(nodes_[id].left);
  for (Id child = id, up = nodes_[id].parent; up != kNone; child = up, up = nodes_[up].parent) {
    if (nodes_[up].right == child) position += sizeOf(nodes_[up].left) + 1;
  }
  return position;
}

RowSequence::Id RowSequence::at(int position) const {
  Id node = root_;
  while (node != kNone) {
    const int leftSize = sizeOf(nodes_[node].left);
    if (position < leftSize) {
      node = nodes_[node].left;
    } else if (position == leftSize) {
      return node;
    } else {
      position -= leftSize + 1;
      node = nodes_[node].right;
    }
  }
  return kNone;
}

RowSequence::Id RowSequence::leftmost(Id id) const {
  while (id != kNone && nodes_[id].left != kNone) id = nodes_[id].left;
  return id;
}

RowSequence::Id RowSequence::rightmost(Id id) const {
  while (id != kNone && nodes_[id].right != kNone) id = nodes_[id].right;
  return id;
}

RowSequence::Id RowSequence::first() const { return leftmost(root_); }

RowSequence::Id RowSequence::last() const { return rightmost(root_); }

RowSequence::Id RowSequence::next(Id id) const {
  if (nodes_[id].right != kNone) return leftmost(nodes_[id].right);
  Id child = id;
  Id up = nodes_[id].parent;
  while (up != kNone && nodes_[up].right == child) {
    child = up;
    up = nodes_[up].parent;
  }
  return up;
}

RowSequence::Id RowSequence::previous(Id id) const {
  if (nodes_[id].left != kNone) return rightmost(nodes_[id].left);
  Id child = id;
  Id up = nodes_[id].parent;
  while (up != kNone && nodes_[up].left == child) {
    child = up;
    up = nodes_[up].parent;
  }
  return up;
}

int RowSequence::countLeading(const std::function<bool(Id)>& goesBefore) const {
  int count = 0;
  Id node = root_;
  while (node != kNone) {
    if (goesBefore(node)) {
      count += sizeOf(nodes_[node].left) + 1;
      node = nodes_[node].right;
    } else {
      node = nodes_[node].left;
    }
  }
  return count;
}

}  // namespace qalvoro
