#include "host/db/Criterion.h"

#include "host/db/DbError.h"
#include "host/db/SqlTokens.h"
#include "host/db/Values.h"

namespace qalvoro {
namespace {

QRegularExpression likePattern(const QString& pattern) {
  QString expression = QStringLiteral("^");
  for (const QChar c : pattern) {
    if (c == '*' || c == '%') {
      expression += QLatin1String(".*");
    } else if (c == '?' || c == '_') {
      expression += '.';
    } else {
      expression += QRegularExpression::escape(QString(c));
    }
  }
  expression += '$';
  return QRegularExpression(expression, QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
}

QVariant dateValue(const QString& text) {
  const std::optional<QDateTime> dateTime = values::dateTimeOf(text);
  if (!dateTime) return {};
  if (dateTime->time() == QTime(0, 0)) return dateTime->date();
  return *dateTime;
}

}  // namespace

class Criterion::Parser {
 public:
  explicit Parser(const QString& text)
      : text_(text), tokens_(sql::tokenize(text, sql::Dialect::Criterion)) {}

  Node parse() {
    if (!tokens_.empty() && tokens_.back().kind == sql::TokenKind::Unterminated) {
      fail(QStringLiteral("unclosed quote"));
    }
    Node node = orExpression();
    if (pos_ < tokens_.size()) fail(QStringLiteral("unexpected \"%1\"").arg(tokens_[pos_].text));
    return node;
  }

 private:
  [[noreturn]] void fail(const QString& reason) const {
    throw DbError(dberr::kBadCriterion,
                  QStringLiteral("Malformed criterion \"%1\": %2.").arg(text_, reason));
  }

  const sql::Token* peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
  bool nextIsWord(const char* word) const {
    return peek() && peek()->isWord(QLatin1StringView(word));
  }
  bool nextIsSymbol(const char* symbol) const {
    return peek() && peek()->isSymbol(QLatin1StringView(symbol));
  }
  const sql::Token& take(const QString& expected) {
    if (!peek()) fail(QStringLiteral("%1 expected at the end").arg(expected));
    return tokens_[pos_++];
  }

  static Node join(Node::Type type, Node left, Node right) {
    Node node;
    node.type = type;
    node.children.push_back(std::move(left));
    node.children.push_back(std::move(right));
    return node;
  }

  Node orExpression() {
    Node node = andExpression();
    while (nextIsWord("OR")) {
      ++pos_;
      node = join(Node::Type::Or, std::move(node), andExpression());
    }
    return node;
  }

  Node andExpression() {
    Node node = notExpression();
    while (nextIsWord("AND")) {
      ++pos_;
      node = join(Node::Type::And, std::move(node), notExpression());
    }
    return node;
  }

  Node notExpression() {
    if (!nextIsWord("NOT")) return primary();
    ++pos_;
    Node node;
    node.type = Node::Type::Not;
    node.children.push_back(notExpression());
    return node;
  }

  Node primary() {
    if (nextIsSymbol("(")) {
      ++pos_;
      Node node = orExpression();
      if (!nextIsSymbol(")")) fail(QStringLiteral("\")\" expected"));
      ++pos_;
      return node;
    }
    const sql::Token& column = take(QStringLiteral("a column"));
    if (!column.isName() || column.isWord(QLatin1StringView("NOT"))) {
      fail(QStringLiteral("a column expected before \"%1\"").arg(column.text));
    }
    Node node;
    node.column = column.value;
    comparison(node);
    return node;
  }

  void comparison(Node& node) {
    if (nextIsWord("IS")) {
      ++pos_;
      const bool negated = nextIsWord("NOT");
      if (negated) ++pos_;
      if (!take(QStringLiteral("Null")).isWord(QLatin1StringView("NULL"))) {
        fail(QStringLiteral("Null expected after Is"));
      }
      node.op = negated ? Op::IsNotNull : Op::IsNull;
      return;
    }
    if (nextIsWord("NOT") || nextIsWord("LIKE")) {
      const bool negated = nextIsWord("NOT");
      if (negated) ++pos_;
      if (!take(QStringLiteral("LIKE")).isWord(QLatin1StringView("LIKE"))) {
        fail(QStringLiteral("LIKE expected after NOT"));
      }
      node.op = negated ? Op::NotLike : Op::Like;
      node.pattern = likePattern(values::display(value()));
      return;
    }
    node.op = comparisonOperator(take(QStringLiteral("an operator")));
    node.value = value();
  }

  Op comparisonOperator(const sql::Token& token) const {
    static const std::pair<const char*, Op> operators[] = {
        {"=", Op::Eq}, {"<>", Op::Ne}, {"!=", Op::Ne}, {"<", Op::Lt},
        {">", Op::Gt}, {"<=", Op::Le}, {">=", Op::Ge}};
    for (const auto& [symbol, op] : operators) {
      if (token.isSymbol(QLatin1StringView(symbol))) return op;
    }
    fail(QStringLiteral("an operator expected instead of \"%1\"").arg(token.text));
  }

  QVariant value() {
    bool negative = false;
    if (nextIsSymbol("-") || nextIsSymbol("+")) {
      negative = nextIsSymbol("-");
      ++pos_;
      if (!peek() || peek()->kind != sql::TokenKind::Number)
        fail(QStringLiteral("number expected"));
    }
    const sql::Token& token = take(QStringLiteral("a value"));
    switch (token.kind) {
      case sql::TokenKind::String:
        return token.value;
      case sql::TokenKind::Number: {
        const double number = token.text.toDouble();
        return negative ? -number : number;
      }
      case sql::TokenKind::Date: {
        const QVariant date = dateValue(token.value);
        if (!date.isValid()) fail(QStringLiteral("bad date #%1#").arg(token.value));
        return date;
      }
      default:
        break;
    }
    if (token.isWord(QLatin1StringView("TRUE"))) return true;
    if (token.isWord(QLatin1StringView("FALSE"))) return false;
    if (token.isWord(QLatin1StringView("NULL"))) return {};
    fail(QStringLiteral("a value expected instead of \"%1\"").arg(token.text));
  }

  const QString& text_;
  const std::vector<sql::Token> tokens_;
  std::size_t pos_ = 0;
};

Criterion::Criterion(const QString& text) : root_(Parser(text).parse()) {}

Criterion Criterion::equal(const QString& column, const QVariant& value) {
  Criterion criterion;
  criterion.root_.column = column;
  criterion.root_.op = Op::Eq;
  criterion.root_.value = value;
  return criterion;
}

void Criterion::bind(const std::function<int(const QString&)>& columnOf) {
  bindNode(root_, columnOf);
}

void Criterion::bindNode(Node& node, const std::function<int(const QString&)>& columnOf) {
  if (node.type == Node::Type::Test) node.position = columnOf(node.column);
  for (Node& child : node.children) bindNode(child, columnOf);
}

bool Criterion::matches(const std::vector<QVariant>& row) const { return evaluate(root_, row); }

std::optional<Criterion::Equality> Criterion::equality() const {
  if (root_.type != Node::Type::Test || root_.op != Op::Eq) return std::nullopt;
  return Equality{root_.position, root_.value};
}

bool Criterion::evaluate(const Node& node, const std::vector<QVariant>& row) {
  switch (node.type) {
    case Node::Type::And:
      return evaluate(node.children[0], row) && evaluate(node.children[1], row);
    case Node::Type::Or:
      return evaluate(node.children[0], row) || evaluate(node.children[1], row);
    case Node::Type::Not:
      return !evaluate(node.children[0], row);
    case Node::Type::Test:
      return test(node, row[node.position]);
  }
  return false;
}

bool Criterion::test(const Node& node, const QVariant& field) {
  const bool isNull = values::kindOf(field) == values::Kind::Null;
  switch (node.op) {
    case Op::IsNull:
      return isNull;
    case Op::IsNotNull:
      return !isNull;
    case Op::Like:
    case Op::NotLike:
      if (isNull) return false;
      return node.pattern.match(values::display(field)).hasMatch() == (node.op == Op::Like);
    default:
      break;
  }
  const std::optional<int> order = values::compareToLiteral(field, node.value);
  if (!order) return false;
  switch (node.op) {
    case Op::Eq:
      return *order == 0;
    case Op::Ne:
      return *order != 0;
    case Op::Lt:
      return *order < 0;
    case Op::Gt:
      return *order > 0;
    case Op::Le:
      return *order <= 0;
    default:
      return *order >= 0;
  }
}

}  // namespace qalvoro
