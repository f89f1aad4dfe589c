#include "host/db/SqlTokens.h"

namespace qalvoro::sql {

bool Token::isWord(QLatin1StringView keyword) const {
  return kind == TokenKind::Word && text.compare(keyword, Qt::CaseInsensitive) == 0;
}

bool Token::isSymbol(QLatin1StringView symbol) const {
  return kind == TokenKind::Symbol && text == symbol;
}

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == '_'; }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == '_' || c == '$'; }

class Tokenizer {
 public:
  Tokenizer(const QString& text, Dialect dialect) : text_(text), dialect_(dialect) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    while (skipBlanksAndComments()) {
      tokens.push_back(next());
      if (tokens.back().kind == TokenKind::Unterminated) break;
    }
    return tokens;
  }

 private:
  QChar at(qsizetype i) const { return i < text_.size() ? text_[i] : QChar(); }

  bool skipBlanksAndComments() {
    while (pos_ < text_.size()) {
      if (text_[pos_].isSpace()) {
        ++pos_;
      } else if (dialect_ == Dialect::Sql && text_[pos_] == '-' && at(pos_ + 1) == '-') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else if (dialect_ == Dialect::Sql && text_[pos_] == '/' && at(pos_ + 1) == '*') {
        const qsizetype close = text_.indexOf(QLatin1String("*/"), pos_ + 2);
        pos_ = close < 0 ? text_.size() : close + 2;
      } else {
        return true;
      }
    }
    return false;
  }

  Token make(TokenKind kind, qsizetype begin, QString value = {}) {
    Token token;
    token.kind = kind;
    token.begin = begin;
    token.end = pos_;
    token.text = text_.mid(begin, pos_ - begin);
    token.value = kind == TokenKind::Word || kind == TokenKind::Number || kind == TokenKind::Symbol
                      ? token.text
                      : std::move(value);
    return token;
  }

  // Text up to the closing character; a doubled closing character stands for
  // itself when doubling is allowed.
  Token quoted(TokenKind kind, QChar close, bool doubling) {
    const qsizetype begin = pos_++;
    QString value;
    while (pos_ < text_.size()) {
      const QChar c = text_[pos_++];
      if (c != close) {
        value += c;
      } else if (doubling && at(pos_) == close) {
        value += c;
        ++pos_;
      } else {
        return make(kind, begin, value);
      }
    }
    return make(TokenKind::Unterminated, begin, value);
  }

  Token number() {
    const qsizetype begin = pos_;
    while (at(pos_).isDigit()) ++pos_;
    if (at(pos_) == '.') {
      ++pos_;
      while (at(pos_).isDigit()) ++pos_;
    }
    if ((at(pos_) == 'e' || at(pos_) == 'E') &&
        (at(pos_ + 1).isDigit() ||
         ((at(pos_ + 1) == '+' || at(pos_ + 1) == '-') && at(pos_ + 2).isDigit()))) {
      pos_ += 2;
      while (at(pos_).isDigit()) ++pos_;
    }
    return make(TokenKind::Number, begin);
  }

  Token symbol() {
    static const QLatin1StringView pairs[] = {QLatin1StringView("<="), QLatin1StringView(">="),
                                              QLatin1StringView("<>"), QLatin1StringView("!="),
                                              QLatin1StringView("||"), QLatin1StringView("::")};
    const qsizetype begin = pos_;
    for (const QLatin1StringView pair : pairs) {
      if (QStringView(text_).mid(pos_, 2) == pair) {
        pos_ += 2;
        return make(TokenKind::Symbol, begin);
      }
    }
    ++pos_;
    return make(TokenKind::Symbol, begin);
  }

  Token next() {
    const QChar c = text_[pos_];
    if (c == '\'') return quoted(TokenKind::String, '\'', true);
    if (c == '"') {
      return dialect_ == Dialect::Criterion ? quoted(TokenKind::String, '"', true)
                                            : quoted(TokenKind::QuotedName, '"', true);
    }
    if (c == '[') return quoted(TokenKind::QuotedName, ']', false);
    if (c == '`') return quoted(TokenKind::QuotedName, '`', true);
    if (c == '#' && dialect_ == Dialect::Criterion) return quoted(TokenKind::Date, '#', false);
    if (c.isDigit() || (c == '.' && at(pos_ + 1).isDigit())) return number();
    if (isWordStart(c)) {
      const qsizetype begin = pos_;
      while (pos_ < text_.size() && isWordPart(text_[pos_])) ++pos_;
      return make(TokenKind::Word, begin);
    }
    return symbol();
  }

  const QString& text_;
  const Dialect dialect_;
  qsizetype pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(const QString& text, Dialect dialect) {
  return Tokenizer(text, dialect).run();
}

QString normalTableName(const QString& nameAsWritten) {
  const std::vector<Token> tokens = tokenize(nameAsWritten, Dialect::Sql);
  for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
    if (it->isName()) return it->value.toCaseFolded();
  }
  return nameAsWritten.trimmed().toCaseFolded();
}

}  // namespace qalvoro::sql
