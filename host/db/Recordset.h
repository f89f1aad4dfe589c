#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace qalvoro {

class Connection;

// How a recordset may change its rows (the classic lock types).
enum class LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3 };

// A client-side recordset: the rows of one query held in memory, with the
// cursor, search, filter and edit operations the imports use. Opening reads
// the rows once; requery shows what every writer of the database has
// committed since. When the table's change counter shows that only this
// connection wrote it, requery brings in just the rows written here
// (through the connection's change journal), so a loop that adds a row,
// requeries and finds it costs the same per row whatever the size of the
// table; otherwise it reads the rows again.
//
// Values are QVariant; a Null value is a null QVariant (a null QString is
// written as empty text). Field names are matched without regard to case.
// Errors raise DbError.
//
// Classic cursor rules: moveNext at EOF and movePrevious at BOF raise
// kNoCurrentRecord, as do moveFirst and moveLast on an empty recordset.
// addNew puts the new row at the end until the next requery; moving off a
// changed or added row writes it (an implied update()). After
// deleteCurrent the cursor stays on the deleted row, whose fields raise
// kNoCurrentRecord, until it moves. Writes on a ReadOnly recordset, or one
// whose query is not a plain read of one table, raise kNotUpdatable.
//
// requery is incremental for a plain query of one table when nobody else
// wrote it (see Connection::changeCount; a table without a counter is
// taken to be written only through this connection); other queries are
// read again in full. Finds and filters on one equality use an index per
// column built on first use; other filters are evaluated row by row when set
// and on each requery.
class Recordset {
 public:
  Recordset();
  ~Recordset();
  // A moved-from recordset may only be destroyed or assigned to.
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;

  // sqlOrTable is a SELECT statement (values bound from params) or a bare
  // table name. A recordset that is not ReadOnly can add, change and delete
  // rows when its query reads from one table.
  void open(const QString& sqlOrTable, Connection& connection, LockType lock = LockType::ReadOnly,
            const QVariantList& params = {});
  void close();
  // 1 while open, 0 when closed.
  int state() const;

  // Cursor.
  bool bof() const;
  bool eof() const;
  int recordCount() const;  // rows visible through the filter
  // 1-based; -2 at BOF, -3 at EOF, -1 on a deleted row or a row being added.
  int absolutePosition() const;
  void setAbsolutePosition(int position);
  void moveFirst();
  void moveLast();
  void moveNext();
  void movePrevious();

  // Fields of the current row.
  QStringList fieldNames() const;
  bool hasField(const QString& name) const;
  QVariant value(const QString& name) const;
  bool isNull(const QString& name) const;
  QString text(const QString& name) const;  // Null gives ""
  // Changes a field of the current row (or of the row being added); the
  // change is written by update().
  void setValue(const QString& name, const QVariant& value);

  // Editing.
  void addNew();
  void update();
  void cancelUpdate();
  void deleteCurrent();  // the cursor stays on the deleted row until it moves

  // Searching. Criteria use the classic syntax: Column op Value, with op one
  // of = <> < > <= >= LIKE, 'text' with '' for a quote, numbers, #yyyy/mm/dd#,
  // True/False, "Is Null"; filters and findFirst also take AND, OR, NOT and
  // parentheses.
  // find: from the current row forward; lands on the match or at EOF.
  bool find(const QString& criterion);
  // findFirst: from the first row; sets noMatch() and keeps the cursor where
  // it was when there is no match.
  bool findFirst(const QString& criterion);
  bool noMatch() const;
  // Equality search on one column without building a criterion text, so
  // values with quotes need no escaping.
  bool findEqual(const QString& column, const QVariant& value);

  void setFilter(const QString& criterion);  // empty clears the filter
  void setFilterEqual(const QString& column, const QVariant& value);
  void clearFilter();
  void setSort(const QString& columns);  // "Col1, Col2 DESC"; empty: query order

  void requery();

  // The rows from the current one to the end as text: the values of a row
  // separated by columnDelimiter, every row followed by rowDelimiter, Null as
  // nullText. The cursor ends at EOF.
  QString getString(const QString& columnDelimiter, const QString& rowDelimiter,
                    const QString& nullText);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qalvoro
