#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace qalvoro::sql {

struct OrderItem {
  QString column;  // without table qualifier or quotes
  bool descending = false;
};

struct SelectItem {
  QString columnSql;   // the column as written, for writing it back
  QString resultName;  // alias, or the column without quotes
};

// What a SELECT statement reads. Simple statements read one table with a
// plain column list (or *), an optional WHERE without subqueries and an
// optional ORDER BY of plain columns: their rows can be told apart by the
// table's key, re-read one by one and written back.
struct SelectShape {
  bool simple = false;
  QString table;       // as written
  QString selectList;  // text between SELECT and FROM
  QString from;        // text of the FROM clause
  QString where;       // condition text, empty when there is none
  bool star = false;
  std::vector<SelectItem> items;  // when not star
  std::vector<OrderItem> orderBy;
  qsizetype afterSelect = 0;  // where a column can be put before the list
  QStringList names;          // every name the statement spells, as written
};

SelectShape analyseSelect(const QString& sql);

// What a statement run by Connection::execute writes.
struct WriteShape {
  enum class Kind { Insert, Update, Delete, Query, Other };
  Kind kind = Kind::Other;
  QString table;  // as written; empty for Query and Other
  // A single-table write that RETURNING can be appended to: no RETURNING of
  // its own, no other table joined in, no REPLACE that deletes other rows.
  bool canReturnKeys = false;
  QString body;  // the statement without a trailing ';'
};

WriteShape analyseWrite(const QString& sql);

}  // namespace qalvoro::sql
