#pragma once

#include <QRegularExpression>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace qalvoro {

// A find or filter criterion in the classic syntax:
//   Column op Value   op: = <> != < > <= >= LIKE, NOT LIKE
//   Column Is Null, Column Is Not Null
//   joined by AND, OR, NOT and parentheses.
// Values: 'text' ('' for a quote), "text", numbers, #yyyy/mm/dd [hh:mm[:ss]]#,
// True, False, Null. LIKE patterns use * or % for any text and ? or _ for
// one character. Columns may be written [with blanks]. A malformed criterion
// raises DbError kBadCriterion.
class Criterion {
 public:
  explicit Criterion(const QString& text);
  // Column = value, for a value that needs no quoting.
  static Criterion equal(const QString& column, const QVariant& value);

  // Resolves column names to positions; raises kItemNotFound for an unknown
  // name. Must be called before matches().
  void bind(const std::function<int(const QString&)>& columnOf);
  bool matches(const std::vector<QVariant>& row) const;

  // The column position and value when the whole criterion is Column = Value.
  struct Equality {
    int column;
    QVariant value;
  };
  std::optional<Equality> equality() const;

 private:
  enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like, NotLike, IsNull, IsNotNull };
  struct Node {
    enum class Type { And, Or, Not, Test } type = Type::Test;
    std::vector<Node> children;
    QString column;
    int position = -1;
    Op op = Op::Eq;
    QVariant value;
    QRegularExpression pattern;
  };
  class Parser;

  Criterion() = default;
  static bool evaluate(const Node& node, const std::vector<QVariant>& row);
  static bool test(const Node& node, const QVariant& field);
  static void bindNode(Node& node, const std::function<int(const QString&)>& columnOf);

  Node root_;
};

}  // namespace qalvoro
