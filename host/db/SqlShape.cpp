#include "host/db/SqlShape.h"

#include <algorithm>
#include <optional>

#include "host/db/SqlTokens.h"

namespace qalvoro::sql {
namespace {

using Tokens = std::vector<Token>;

bool hasUnterminated(const Tokens& tokens) {
  return !tokens.empty() && tokens.back().kind == TokenKind::Unterminated;
}

// Tokens up to a trailing ';'; nullopt when a ';' separates two statements.
std::optional<qsizetype> statementEnd(const Tokens& tokens) {
  qsizetype end = static_cast<qsizetype>(tokens.size());
  while (end > 0 && tokens[end - 1].isSymbol(QLatin1StringView(";"))) --end;
  for (qsizetype i = 0; i < end; ++i) {
    if (tokens[i].isSymbol(QLatin1StringView(";"))) return std::nullopt;
  }
  return end;
}

// Index of the first top-level token in [from, to) that is one of the
// keywords; `to` when there is none.
qsizetype findTopLevel(const Tokens& tokens, qsizetype from, qsizetype to,
                       std::initializer_list<const char*> keywords) {
  int depth = 0;
  for (qsizetype i = from; i < to; ++i) {
    if (tokens[i].isSymbol(QLatin1StringView("("))) ++depth;
    if (tokens[i].isSymbol(QLatin1StringView(")"))) --depth;
    if (depth != 0) continue;
    for (const char* keyword : keywords) {
      if (tokens[i].isWord(QLatin1StringView(keyword))) return i;
    }
  }
  return to;
}

bool anyWord(const Tokens& tokens, qsizetype from, qsizetype to,
             std::initializer_list<const char*> keywords) {
  for (qsizetype i = from; i < to; ++i) {
    for (const char* keyword : keywords) {
      if (tokens[i].isWord(QLatin1StringView(keyword))) return true;
    }
  }
  return false;
}

// Splits [from, to) at top-level commas.
std::vector<std::pair<qsizetype, qsizetype>> commaSeparated(const Tokens& tokens, qsizetype from,
                                                            qsizetype to) {
  std::vector<std::pair<qsizetype, qsizetype>> parts;
  qsizetype start = from;
  for (qsizetype i = from; i < to; ++i) {
    if (tokens[i].isSymbol(QLatin1StringView(","))) {
      parts.emplace_back(start, i);
      start = i + 1;
    }
  }
  parts.emplace_back(start, to);
  return parts;
}

// "name" or "qualifier.name" starting at i; returns the index after it.
std::optional<qsizetype> dottedName(const Tokens& tokens, qsizetype i, qsizetype to) {
  if (i >= to || !tokens[i].isName()) return std::nullopt;
  while (i + 2 < to && tokens[i + 1].isSymbol(QLatin1StringView(".")) && tokens[i + 2].isName()) {
    i += 2;
  }
  return i + 1;
}

QString textOf(const QString& sql, const Tokens& tokens, qsizetype from, qsizetype to) {
  if (from >= to) return {};
  return sql.mid(tokens[from].begin, tokens[to - 1].end - tokens[from].begin);
}

// One item of a plain select list: [q.]column [[AS] alias], or [q.]*.
bool readSelectItem(const QString& sql, const Tokens& tokens, qsizetype from, qsizetype to,
                    SelectShape& shape) {
  if (to - from == 1 && tokens[from].isSymbol(QLatin1StringView("*"))) {
    shape.star = true;
    return true;
  }
  if (to - from == 3 && tokens[from].isName() &&
      tokens[from + 1].isSymbol(QLatin1StringView(".")) &&
      tokens[from + 2].isSymbol(QLatin1StringView("*"))) {
    shape.star = true;
    return true;
  }
  const std::optional<qsizetype> end = dottedName(tokens, from, to);
  if (!end) return false;
  SelectItem item;
  item.columnSql = textOf(sql, tokens, from, *end);
  item.resultName = tokens[*end - 1].value;
  qsizetype i = *end;
  if (i < to && tokens[i].isWord(QLatin1StringView("AS"))) ++i;
  if (i < to) {
    if (i + 1 != to || !tokens[i].isName()) return false;
    item.resultName = tokens[i].value;
  } else if (i != *end) {
    return false;  // AS without alias
  }
  shape.items.push_back(item);
  return true;
}

bool readSelectList(const QString& sql, const Tokens& tokens, qsizetype from, qsizetype to,
                    SelectShape& shape) {
  if (from < to && anyWord(tokens, from, from + 1, {"DISTINCT", "ALL", "TOP"})) return false;
  for (const auto& [begin, end] : commaSeparated(tokens, from, to)) {
    if (begin == end || !readSelectItem(sql, tokens, begin, end, shape)) return false;
  }
  return !(shape.star && !shape.items.empty());
}

// FROM table [[AS] alias]
bool readFrom(const QString& sql, const Tokens& tokens, qsizetype from, qsizetype to,
              SelectShape& shape) {
  const std::optional<qsizetype> end = dottedName(tokens, from, to);
  if (!end) return false;
  shape.table = textOf(sql, tokens, from, *end);
  qsizetype i = *end;
  if (i < to && tokens[i].isWord(QLatin1StringView("AS"))) ++i;
  if (i < to && tokens[i].isName()) ++i;
  return i == to;
}

bool readOrderBy(const Tokens& tokens, qsizetype from, qsizetype to, SelectShape& shape) {
  for (const auto& [begin, end] : commaSeparated(tokens, from, to)) {
    const std::optional<qsizetype> nameEnd = dottedName(tokens, begin, end);
    if (!nameEnd) return false;
    OrderItem item;
    item.column = tokens[*nameEnd - 1].value;
    qsizetype i = *nameEnd;
    if (i < end && (tokens[i].isWord(QLatin1StringView("ASC")) ||
                    tokens[i].isWord(QLatin1StringView("DESC")))) {
      item.descending = tokens[i].isWord(QLatin1StringView("DESC"));
      ++i;
    }
    if (i != end) return false;
    shape.orderBy.push_back(item);
  }
  return true;
}

bool readSimpleSelect(const QString& sql, const Tokens& tokens, qsizetype end, SelectShape& shape) {
  if (anyWord(tokens, 1, end, {"SELECT", "JOIN", "UNION", "INTERSECT", "EXCEPT"})) return false;
  const qsizetype fromAt = findTopLevel(tokens, 1, end, {"FROM"});
  if (fromAt == end) return false;
  const qsizetype whereAt = findTopLevel(tokens, fromAt, end, {"WHERE"});
  const qsizetype orderAt = findTopLevel(tokens, fromAt, end, {"ORDER"});
  if (findTopLevel(tokens, fromAt, end,
                   {"GROUP", "HAVING", "LIMIT", "OFFSET", "WINDOW", "FETCH", "FOR"}) != end) {
    return false;
  }
  if (whereAt != end && whereAt > orderAt) return false;
  const qsizetype fromEnd = std::min(whereAt, orderAt);
  shape.selectList = textOf(sql, tokens, 1, fromAt);
  shape.from = textOf(sql, tokens, fromAt + 1, fromEnd);
  if (whereAt < orderAt) shape.where = textOf(sql, tokens, whereAt + 1, orderAt);
  if (!readSelectList(sql, tokens, 1, fromAt, shape)) return false;
  if (!readFrom(sql, tokens, fromAt + 1, fromEnd, shape)) return false;
  if (whereAt < orderAt && whereAt + 1 == orderAt) return false;
  if (orderAt == end) return true;
  if (orderAt + 1 >= end || !tokens[orderAt + 1].isWord(QLatin1StringView("BY"))) return false;
  return readOrderBy(tokens, orderAt + 2, end, shape);
}

// Position after "INSERT [OR x] INTO", "UPDATE [OR x] [ONLY]", "DELETE FROM
// [ONLY]"; `conflict` is set when an OR clause or REPLACE is present.
std::optional<qsizetype> tableStart(const Tokens& tokens, qsizetype end, WriteShape::Kind& kind,
                                    bool& conflict) {
  qsizetype i = 1;
  auto skipOr = [&] {
    if (i + 1 < end && tokens[i].isWord(QLatin1StringView("OR"))) {
      conflict = true;
      i += 2;
    }
  };
  const Token& first = tokens[0];
  if (first.isWord(QLatin1StringView("INSERT")) || first.isWord(QLatin1StringView("REPLACE"))) {
    kind = WriteShape::Kind::Insert;
    conflict = first.isWord(QLatin1StringView("REPLACE"));
    skipOr();
    if (i >= end || !tokens[i].isWord(QLatin1StringView("INTO"))) return std::nullopt;
    return i + 1;
  }
  if (first.isWord(QLatin1StringView("UPDATE"))) {
    kind = WriteShape::Kind::Update;
    skipOr();
  } else if (first.isWord(QLatin1StringView("DELETE"))) {
    kind = WriteShape::Kind::Delete;
    if (i >= end || !tokens[i].isWord(QLatin1StringView("FROM"))) return std::nullopt;
    ++i;
  } else {
    return std::nullopt;
  }
  if (i < end && tokens[i].isWord(QLatin1StringView("ONLY"))) ++i;
  return i;
}

}  // namespace

SelectShape analyseSelect(const QString& sql) {
  SelectShape shape;
  const Tokens tokens = tokenize(sql, Dialect::Sql);
  for (const Token& token : tokens) {
    if (token.isName()) shape.names << token.value;
  }
  const std::optional<qsizetype> end = statementEnd(tokens);
  if (!end || *end == 0 || hasUnterminated(tokens) ||
      !tokens[0].isWord(QLatin1StringView("SELECT"))) {
    return shape;
  }
  shape.afterSelect = tokens[0].end;
  SelectShape simple = shape;
  if (readSimpleSelect(sql, tokens, *end, simple)) {
    simple.simple = true;
    return simple;
  }
  return shape;
}

WriteShape analyseWrite(const QString& sql) {
  WriteShape shape;
  const Tokens tokens = tokenize(sql, Dialect::Sql);
  const std::optional<qsizetype> end = statementEnd(tokens);
  if (!end || *end == 0 || hasUnterminated(tokens)) return shape;
  shape.body = sql.left(tokens[*end - 1].end);
  if (tokens[0].isWord(QLatin1StringView("SELECT"))) {
    shape.kind = WriteShape::Kind::Query;
    return shape;
  }
  WriteShape::Kind kind = WriteShape::Kind::Other;
  bool conflict = false;
  const std::optional<qsizetype> start = tableStart(tokens, *end, kind, conflict);
  if (!start) return shape;
  const std::optional<qsizetype> nameEnd = dottedName(tokens, *start, *end);
  if (!nameEnd) return shape;
  shape.kind = kind;
  shape.table = textOf(sql, tokens, *start, *nameEnd);
  const bool joined = kind == WriteShape::Kind::Update
                          ? findTopLevel(tokens, *nameEnd, *end, {"FROM"}) != *end
                          : findTopLevel(tokens, *nameEnd, *end, {"USING"}) != *end;
  shape.canReturnKeys = !conflict && !(kind != WriteShape::Kind::Insert && joined) &&
                        findTopLevel(tokens, *nameEnd, *end, {"RETURNING"}) == *end;
  return shape;
}

}  // namespace qalvoro::sql
