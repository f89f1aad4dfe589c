#pragma once

#include <QString>
#include <vector>

namespace qalvoro::sql {

enum class TokenKind {
  Word,        // identifier or keyword
  QuotedName,  // "name", [name] or `name`
  String,      // 'text' ('' stands for a quote)
  Number,
  Date,    // #...# (criteria only)
  Symbol,  // operator or punctuation; <= >= <> != || :: are one token
  Unterminated,
};

struct Token {
  TokenKind kind = TokenKind::Symbol;
  QString text;   // as written
  QString value;  // names without quotes, strings decoded, dates without #
  qsizetype begin = 0;
  qsizetype end = 0;  // one past the last character

  bool isWord(QLatin1StringView keyword) const;
  bool isName() const { return kind == TokenKind::Word || kind == TokenKind::QuotedName; }
  bool isSymbol(QLatin1StringView symbol) const;
};

// SQL text, or the criterion of a find or filter: there "..." is a string and
// #...# a date, while in SQL "..." is a quoted name and comments are skipped.
enum class Dialect { Sql, Criterion };

std::vector<Token> tokenize(const QString& text, Dialect dialect);

// A table name as the journal and the key cache know it: without quotes or
// schema, case-folded.
QString normalTableName(const QString& nameAsWritten);

}  // namespace qalvoro::sql
