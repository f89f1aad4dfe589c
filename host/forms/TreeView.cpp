#include "host/forms/TreeView.h"

#include <QHeaderView>
#include <memory>

namespace qalvoro {
namespace {

enum Role { kKeyRole = Qt::UserRole, kTagRole, kImageRole, kIndexRole };

const QString kElementNotFound = QStringLiteral("Element not found");
const QString kKeyNotUnique = QStringLiteral("Key is not unique in collection");

}  // namespace

TreeError::TreeError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

void ImageList::add(const QString& key, const QPixmap& picture) {
  if (!images_.contains(key)) keys_ << key;
  images_.insert(key, QIcon(picture));
}

QIcon ImageList::icon(const QString& key) const {
  const auto found = images_.constFind(key);
  if (found == images_.cend()) throw TreeError(treeerr::kElementNotFound, kElementNotFound);
  return *found;
}

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  header()->setStretchLastSection(true);
  textStarts_.push_back(0);
  connect(this, &QTreeWidget::itemExpanded, this,
          [this](Node* node) { showExpandedImage(*node, true); });
  connect(this, &QTreeWidget::itemCollapsed, this,
          [this](Node* node) { showExpandedImage(*node, false); });
}

void TreeView::setExpandedImage(const QString& image, const QString& expandedImage) {
  expandedImages_.insert(image, expandedImage);
  collapsedImages_.insert(expandedImage, image);
}

TreeView::Node& TreeView::addTopNode(const QString& key, const QString& text,
                                     const QString& image) {
  return addNode(nullptr, key, text, image);
}

TreeView::Node& TreeView::addChildNode(const QString& relative, const QString& key,
                                       const QString& text, const QString& image) {
  Node* parent = node(relative);
  if (!parent) throw TreeError(treeerr::kElementNotFound, kElementNotFound);
  return addNode(parent, key, text, image);
}

TreeView::Node& TreeView::addNode(Node* parent, const QString& key, const QString& text,
                                  const QString& image) {
  if (byKey_.contains(key)) throw TreeError(treeerr::kKeyNotUnique, kKeyNotUnique);
  auto created = std::make_unique<Node>();
  if (!image.isEmpty()) {
    if (!images_) throw TreeError(treeerr::kElementNotFound, kElementNotFound);
    created->setIcon(0, images_->icon(image));
  }
  created->setText(0, text);
  created->setData(0, kKeyRole, key);
  created->setData(0, kImageRole, image);
  created->setData(0, kIndexRole, nodeCount() + 1);
  Node* added = created.release();  // owned by its parent or the tree from here on
  if (parent) {
    parent->addChild(added);
  } else {
    addTopLevelItem(added);
  }
  nodes_.push_back(added);
  texts_ += text;
  textStarts_.push_back(texts_.size());
  byKey_.insert(key, added);
  return *added;
}

void TreeView::clearNodes() {
  clear();
  nodes_.clear();
  texts_.clear();
  textStarts_.assign(1, 0);
  byKey_.clear();
}

QStringView TreeView::nodeText(int index) const {
  const qsizetype start = textStarts_[index - 1];
  return QStringView(texts_).mid(start, textStarts_[index] - start);
}

TreeView::Node* TreeView::nodeAt(int index) const {
  if (index < 1 || index > nodeCount()) return nullptr;
  return nodes_[index - 1];
}

int TreeView::indexOf(const Node& node) { return node.data(0, kIndexRole).toInt(); }

QString TreeView::keyOf(const Node& node) { return node.data(0, kKeyRole).toString(); }

QString TreeView::tagOf(const Node& node) { return node.data(0, kTagRole).toString(); }

void TreeView::setTag(Node& node, const QString& tag) { node.setData(0, kTagRole, tag); }

QString TreeView::imageOf(const Node& node) { return node.data(0, kImageRole).toString(); }

void TreeView::setImage(Node& node, const QString& image) {
  node.setIcon(0, image.isEmpty() || !images_ ? QIcon() : images_->icon(image));
  node.setData(0, kImageRole, image);
}

TreeView::Node* TreeView::selectedNode() const {
  const QList<Node*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

void TreeView::selectNode(Node& node) {
  for (Node* ancestor = node.parent(); ancestor; ancestor = ancestor->parent()) {
    ancestor->setExpanded(true);
  }
  setCurrentItem(&node);
  scrollToItem(&node);
}

void TreeView::showExpandedImage(Node& node, bool expanded) {
  const QHash<QString, QString>& next = expanded ? expandedImages_ : collapsedImages_;
  const auto image = next.constFind(imageOf(node));
  if (image != next.cend()) setImage(node, *image);
}

}  // namespace qalvoro
