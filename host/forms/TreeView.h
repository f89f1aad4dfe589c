#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QTreeWidget>
#include <stdexcept>
#include <vector>

namespace qalvoro {

// An error of a tree or its image list, with the numbers users of the old
// products know: 35601 element not found, 35602 key not unique.
class TreeError : public std::runtime_error {
 public:
  TreeError(long number, const QString& description);

  long number() const { return number_; }
  const QString& description() const { return description_; }

 private:
  long number_;
  QString description_;
};

namespace treeerr {
constexpr long kElementNotFound = 35601;
constexpr long kKeyNotUnique = 35602;
}  // namespace treeerr

// Pictures of a tree's nodes, found by key.
class ImageList {
 public:
  void add(const QString& key, const QPixmap& picture);
  bool contains(const QString& key) const { return images_.contains(key); }
  // Raises TreeError 35601 for an unknown key.
  QIcon icon(const QString& key) const;
  // The keys in the order the pictures were added.
  const QStringList& keys() const { return keys_; }

 private:
  QHash<QString, QIcon> images_;
  QStringList keys_;
};

// The tree view: nodes with a key unique in the tree, a text, a tag and a
// picture of the tree's image list, numbered 1, 2, ... in the order they
// were added (their index). A node is found by its key through a hash, so
// adding or finding a node costs the same whatever the size of the tree.
// Expanding a node shows its expanded picture (setExpandedImage), collapsing
// it its picture again.
class TreeView : public QTreeWidget {
  Q_OBJECT

 public:
  using Node = QTreeWidgetItem;

  explicit TreeView(QWidget* parent = nullptr);

  void setImageList(const ImageList* images) { images_ = images; }
  // Maps a picture key to the key of the picture shown while the node is
  // expanded ("CloseY" to "OpenY"); keys without one keep their picture.
  void setExpandedImage(const QString& image, const QString& expandedImage);

  // Adds a node at the top level, or as the last child of the node whose
  // key is relative. Raise TreeError 35601 when there is no such relative or
  // no such picture, 35602 when the key is taken; the tree is then
  // unchanged.
  Node& addTopNode(const QString& key, const QString& text, const QString& image = {});
  Node& addChildNode(const QString& relative, const QString& key, const QString& text,
                     const QString& image = {});
  // Removes every node.
  void clearNodes();

  int nodeCount() const { return static_cast<int>(nodes_.size()); }
  // The node with this index (1 ... nodeCount()); null outside.
  Node* nodeAt(int index) const;
  Node* node(const QString& key) const { return byKey_.value(key); }
  // The text the node with this index (1 ... nodeCount()) was added with.
  // The texts are kept one after the other in one buffer, so that walking
  // all of them reads memory in order.
  QStringView nodeText(int index) const;

  static int indexOf(const Node& node);
  static QString keyOf(const Node& node);
  static QString tagOf(const Node& node);
  static void setTag(Node& node, const QString& tag);
  static QString imageOf(const Node& node);
  void setImage(Node& node, const QString& image);

  // The selected node; null when none is.
  Node* selectedNode() const;
  // Selects the node, expanding its ancestors so that it can be seen.
  void selectNode(Node& node);

 private:
  Node& addNode(Node* parent, const QString& key, const QString& text, const QString& image);
  void showExpandedImage(Node& node, bool expanded);

  const ImageList* images_ = nullptr;
  QHash<QString, QString> expandedImages_;   // picture -> expanded picture
  QHash<QString, QString> collapsedImages_;  // expanded picture -> picture
  std::vector<Node*> nodes_;                 // by index - 1; owned by the tree
  QString texts_;                            // the texts of all nodes, in order
  std::vector<qsizetype> textStarts_;        // by index - 1, and the end
  QHash<QString, Node*> byKey_;
};

}  // namespace qalvoro
