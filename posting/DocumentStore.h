#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"
#include "posting/DocumentKind.h"

namespace qalvoro {

// The header of a document as its window shows it: texts as typed, numbers
// as held by the window.
struct DocumentHeader {
  QString number;  // txtfNo
  QString date;    // "yyyy/mm/dd"
  QString time;    // "HH:MM"
  int partyId = -1;
  QString partyName;
  int payment = 0;  // 0 cash, 1 credit
  int cashierAccId = 0;
  int branchId = 0;
  QString note;
  QString total;     // lblTotal
  QString net;       // lblAmount
  QString discount;  // txtDiscount2
  QString link;      // the link box's tag (returns)
};

// One grid row: its cells by column, 0 to 16.
using GridRow = QStringList;

// An item as a line typed by the user starts with.
struct ItemEntry {
  int categoryId = 0;
  QString name;
  int unitId = 0;
  QString unitName;
  double price = 0;
  double costPrice = 0;
};

// The database side of one posting window: its header rows of a branch, the
// save of a document (header, lines and, for a credit sale, the customer's
// balance) in one transaction under the kind's table lock, the loading of a
// stored document's lines, and the removal of a document that is replaced.
// Values are bound, never written into the statement text.
class DocumentStore {
 public:
  explicit DocumentStore(const DocumentKind& kind) : kind_(kind) {}

  const DocumentKind& kind() const { return kind_; }

  // Opens the header rows of the branch and moves to the last one. When
  // they are already open for the same branch they are brought up to date
  // with the rows written since (on this connection) instead of read again.
  void open(int branchId);
  // The header rows, brought up to date with the saves since they were
  // opened.
  Recordset& headers() {
    if (headersBehind_) headers_.requery();
    headersBehind_ = false;
    return headers_;
  }
  bool isOpen() const { return headers_.state() == 1; }
  bool isOpenFor(int branchId) const { return isOpen() && openBranch_ == branchId; }

  // Stores a document; rows are the grid rows 1 to Rows-1, the lines are
  // those the kind's line rule picks. With addMode (or for a kind that adds
  // a row in every mode) a header row is added with UserID 0 and the
  // number, else the current header row (the last one opened or saved) is
  // overwritten. Returns the header's ID. A database error rolls the whole
  // document back, gives the lock back and is raised again; the header rows
  // are then read again at the next open.
  qint64 save(bool addMode, const DocumentHeader& header, const std::vector<GridRow>& rows);

  // The lines of a stored document as grid rows (columns 0 to 16, amounts
  // in DecimalFormat, names in the user-interface language).
  std::vector<GridRow> readLines(qint64 documentId) const;

  // The item of a branch with this number, for a line the user types.
  std::optional<ItemEntry> itemForEntry(int branchId, const QString& categoryNo) const;

  // The next save replaces these documents: in its transaction, under its
  // lock, each goes with its lines (a credit sale's net first taken off its
  // customer's Debit), and the new document takes over what named it: its
  // row of RenumberedDocuments and the returns linked to it. A refused or
  // failed save leaves them as they were. Any save forgets them.
  void replaceAtSave(std::vector<qint64> documentIds) { replaced_ = std::move(documentIds); }

 private:
  void removeReplaced(const std::vector<qint64>& documentIds);
  void handOver(const std::vector<qint64>& documentIds, qint64 documentId);
  // The writes of a new document: those its lock guards and those after
  // the lock's end.
  struct NewDocument {
    std::optional<qint64> earlier;           // the first header of its number, when not the new one
    std::vector<Connection::Write> guarded;  // the header first
    std::vector<Connection::Write> after;
  };
  NewDocument newDocument(const DocumentHeader& header, const std::vector<GridRow>& rows,
                          const std::vector<qint64>& replaced);
  // Notes a document added as the current one; returns its ID.
  qint64 added(qint64 documentId);
  qint64 saveNew(const DocumentHeader& header, const std::vector<GridRow>& rows,
                 const std::vector<qint64>& replaced, TableLock& lock);
  qint64 saveOverCurrent(const DocumentHeader& header, const std::vector<GridRow>& rows,
                         const std::vector<qint64>& replaced, TableLock& lock);
  ColumnValues headerValues(bool addMode, const DocumentHeader& header) const;
  // One insert of every line of the rows, for the header documentId (a
  // value or Connection::keyOf); nothing when no row is a line.
  std::optional<Connection::Write> linesWrite(const QVariant& documentId,
                                              const std::vector<GridRow>& rows) const;
  Connection::Write linesRemoval(qint64 documentId) const;
  bool isLine(const GridRow& row, int index, int count) const;

  const DocumentKind& kind_;
  Recordset headers_;
  int openBranch_ = 0;
  qint64 currentId_ = 0;        // the current header row's ID
  bool headersBehind_ = false;  // saves wrote rows the headers do not hold yet
  std::vector<qint64> replaced_;
};

}  // namespace qalvoro
