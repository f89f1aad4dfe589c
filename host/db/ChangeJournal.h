#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <deque>
#include <memory>
#include <set>
#include <vector>

namespace qalvoro {

// The rows written through one connection, in the order they were written:
// (table, row key) for every row that an INSERT, UPDATE or DELETE touched, or
// a mark that a whole table, or any table, may have changed. Recordsets read
// it on requery to bring in only those rows.
//
// Only writes made through the owning Connection are journaled. Whether
// anyone else wrote a table is told by the table's change counter (see
// Connection::changeCount), which a requery compares with the rows written
// here.
//
// Entries are kept while some reader may still ask for them, so the journal
// stays small however long the connection lives.
class ChangeJournal {
 public:
  using Position = quint64;

  struct Changes {
    bool everything = false;      // re-read all rows
    std::vector<qint64> keys;     // else these rows, each once,
    std::vector<qint64> removed;  // and these, whose last write deleted them
    qint64 rowsWritten = 0;       // and the row writes behind both, repeats included
  };

  // A place in the journal held by a recordset: what changed since then.
  // Harmless to keep after the journal is gone.
  class Reader {
   public:
    Reader() = default;
    ~Reader();
    Reader(Reader&& other) noexcept;
    Reader& operator=(Reader&& other) noexcept;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Changes to the table (as written in SQL) since this reader's place.
    Changes changes(const QString& table) const;
    // Moves the place to the end of the journal.
    void catchUp();

   private:
    friend class ChangeJournal;
    struct Log;
    Reader(std::shared_ptr<Log> log);
    void release();

    std::weak_ptr<Log> log_;
    Position position_ = 0;
  };

  ChangeJournal();

  void recordRow(const QString& table, qint64 key);
  void recordRemovedRow(const QString& table, qint64 key);
  void recordTable(const QString& table);
  void recordAll();

  // A reader placed at the end of the journal.
  Reader reader();

 private:
  std::shared_ptr<Reader::Log> log_;
};

}  // namespace qalvoro
