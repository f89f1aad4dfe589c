#include "posting/DocumentStore.h"

#include <utility>

#include "host/Globals.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "posting/HeaderLookup.h"

namespace qalvoro {
namespace {

QString cellOf(const GridRow& row, int column) { return row.value(column); }

QVariant lineValue(const LineField& field, const QVariant& documentId, const GridRow& row) {
  const QString cell = field.gridColumn >= 0 ? cellOf(row, field.gridColumn) : QString();
  switch (field.value) {
    case LineValue::InvoiceId:
      return documentId;
    case LineValue::Integer:
      return CLng(cell);
    case LineValue::Currency:
      return Currency::fromText(cell).toDouble();
    case LineValue::Double:
      return Val(cell);
    case LineValue::Description: {
      const int hash = cell.indexOf('#');
      return hash < 0 ? QString("") : cell.mid(hash + 1);
    }
    case LineValue::Text:
      return cell.isNull() ? QString("") : cell;
    case LineValue::HidePrice:
      return cell == QLatin1String("H");
    case LineValue::Zero:
      return 0;
  }
  return {};
}

QString amount(const QVariant& value) { return Format(value.toDouble(), globals().DecimalFormat); }

}  // namespace

void DocumentStore::open(int branchId) {
  if (isOpenFor(branchId)) {
    headers_.requery();
  } else {
    QString sql = QStringLiteral("SELECT * FROM ") + kind_.headerTable +
                  QStringLiteral(" WHERE BranchID = ?");
    if (kind_.sorted) sql += QStringLiteral(" ORDER BY InvoiceNo");
    headers_.open(sql, MainConnection(), LockType::Optimistic, {branchId});
    openBranch_ = branchId;
  }
  headersBehind_ = false;
  currentId_ = 0;
  if (headers_.recordCount() > 0) {
    headers_.moveLast();
    currentId_ = headers_.value(QStringLiteral("ID")).toLongLong();
  }
}

qint64 DocumentStore::save(bool addMode, const DocumentHeader& header,
                           const std::vector<GridRow>& rows) {
  const std::vector<qint64> replaced = std::exchange(replaced_, {});
  if (addMode && replaced.empty() && !headersBehind_) {
    // The header rows are up to date: nothing is read under the lock, which
    // is held from inside the document's one write.
    const NewDocument document = newDocument(header, rows, replaced);
    const auto results = WriteUnderLock(kind_.lockName, document.guarded, document.after);
    return added(document.earlier ? *document.earlier : results.front().keys.front());
  }
  TableLock lock(kind_.lockName);
  qint64 documentId = 0;
  try {
    if (addMode) {
      documentId = saveNew(header, rows, replaced, lock);
    } else {
      documentId = saveOverCurrent(header, rows, replaced, lock);
    }
  } catch (...) {
    headers_.close();  // it may hold rows the rollback took away
    throw;
  }
  if (lock.held()) lock.release();
  return documentId;
}

// A new document (the imports' way): its header, lines and the customer's
// balance. The lines go to the first header of the number, which is the new
// one unless the branch holds another (a document saved twice).
DocumentStore::NewDocument DocumentStore::newDocument(const DocumentHeader& header,
                                                      const std::vector<GridRow>& rows,
                                                      const std::vector<qint64>& replaced) {
  NewDocument document;
  document.earlier =
      FirstHeaderOfNumber(headers(), QStringLiteral("InvoiceNo"), header.number, replaced);
  document.guarded.push_back(InsertWrite(kind_.headerTable, headerValues(true, header)));
  std::vector<Connection::Write>& rest =
      kind_.releasesLockBeforeLines ? document.after : document.guarded;
  const QVariant linesTo = document.earlier ? QVariant(*document.earlier) : Connection::keyOf(0);
  if (document.earlier) rest.push_back(linesRemoval(*document.earlier));
  if (auto lines = linesWrite(linesTo, rows)) rest.push_back(std::move(*lines));
  if (kind_.creditRaisesDebit && header.payment == 1 && header.partyId != -1) {
    rest.push_back({QStringLiteral("UPDATE Customer SET Debit = Debit + ? WHERE ID = ?"),
                    {Val(header.net), header.partyId}});
  }
  return document;
}

qint64 DocumentStore::added(qint64 documentId) {
  currentId_ = documentId;
  headersBehind_ = true;
  return documentId;
}

// A new document under a lock taken first, for header rows behind the saves
// (read again under the lock) or a replacement: the removal of the
// documents it replaces, its write with the lock's end and the hand-over
// are then one transaction.
qint64 DocumentStore::saveNew(const DocumentHeader& header, const std::vector<GridRow>& rows,
                              const std::vector<qint64>& replaced, TableLock& lock) {
  const NewDocument document = newDocument(header, rows, replaced);
  std::vector<Connection::Write> writes = document.guarded;
  writes.push_back(lock.unlockWrite());
  writes.insert(writes.end(), document.after.begin(), document.after.end());
  Connection& db = MainConnection();
  std::optional<Transaction> transaction;  // a replacement removes the documents first
  if (!replaced.empty()) {
    transaction.emplace(db);
    removeReplaced(replaced);
  }
  const qint64 inserted = db.writeAll(writes).front().keys.front();
  const qint64 documentId = document.earlier ? *document.earlier : inserted;
  if (transaction) {
    handOver(replaced, documentId);
    transaction->commit();
  }
  lock.released();
  return added(documentId);
}

// A save outside mode "Add": the current header row is overwritten (or, for
// a kind that adds a row in every mode, a row is added), and the lines go to
// the first header of the number.
qint64 DocumentStore::saveOverCurrent(const DocumentHeader& header,
                                      const std::vector<GridRow>& rows,
                                      const std::vector<qint64>& replaced, TableLock& lock) {
  Recordset& stored = headers();
  if (!kind_.addsRowInEveryMode && currentId_ != 0) {
    stored.findEqual(QStringLiteral("ID"), currentId_);
  }
  Connection& db = MainConnection();
  Transaction transaction(db);
  removeReplaced(replaced);
  if (kind_.addsRowInEveryMode) stored.addNew();
  for (const auto& [column, value] : headerValues(false, header)) stored.setValue(column, value);
  stored.update();
  stored.requery();
  const Connection::Write unlock = lock.unlockWrite();
  if (kind_.releasesLockBeforeLines) db.execute(unlock.sql, unlock.params);
  const qint64 documentId = HeaderIdByNumber(stored, QStringLiteral("InvoiceNo"), header.number);
  std::vector<Connection::Write> writes{linesRemoval(documentId)};
  if (auto lines = linesWrite(documentId, rows)) writes.push_back(std::move(*lines));
  if (kind_.creditRaisesDebit && header.payment == 1 && header.partyId != -1) {
    writes.push_back({QStringLiteral("UPDATE Customer SET Debit = Debit + ? WHERE ID = ?"),
                      {Val(header.net), header.partyId}});
  }
  db.writeAll(writes);
  handOver(replaced, documentId);
  transaction.commit();
  if (kind_.releasesLockBeforeLines) lock.released();
  currentId_ = documentId;
  return documentId;
}

ColumnValues DocumentStore::headerValues(bool addMode, const DocumentHeader& header) const {
  ColumnValues values;
  if (addMode) {
    values.emplace_back(QStringLiteral("UserID"), 0);
    values.emplace_back(QStringLiteral("InvoiceNo"), Val(header.number));
  }
  for (const HeaderField& field : kind_.headerFields) {
    QVariant value;
    switch (field.value) {
      case HeaderValue::Date:
        value = header.date;
        break;
      case HeaderValue::Time:
        value = header.time;
        break;
      case HeaderValue::Party:
        value = header.partyId;
        break;
      case HeaderValue::PartyNameOfWalkIn:
        value = header.partyId == -1 ? header.partyName : QString("");
        break;
      case HeaderValue::Payment:
        value = header.payment;
        break;
      case HeaderValue::Cashier:
        value = header.cashierAccId;
        break;
      case HeaderValue::Branch:
        value = header.branchId;
        break;
      case HeaderValue::Note:
        value = header.note;
        break;
      case HeaderValue::Total:
        value = Val(header.total);
        break;
      case HeaderValue::Net:
        value = Val(header.net);
        break;
      case HeaderValue::Discount:
        value = Val(header.discount);
        break;
      case HeaderValue::Link:
        value = CLng(header.link);
        break;
      case HeaderValue::Constant:
        value = field.constant;
        break;
    }
    values.emplace_back(field.column, value);
  }
  return values;
}

bool DocumentStore::isLine(const GridRow& row, int index, int count) const {
  if (kind_.lineRule == LineRule::PositiveQuantity) return CLng(cellOf(row, 4)) > 0;
  return index < count - 1 && Val(cellOf(row, 11)) != 0;
}

Connection::Write DocumentStore::linesRemoval(qint64 documentId) const {
  return {QStringLiteral("DELETE FROM ") + kind_.lineTable + QStringLiteral(" WHERE InvoiceID = ?"),
          {documentId}};
}

std::optional<Connection::Write> DocumentStore::linesWrite(const QVariant& documentId,
                                                           const std::vector<GridRow>& rows) const {
  QStringList columns;
  for (const LineField& field : kind_.lineFields) columns << field.column;
  const QString row = QLatin1Char('(') +
                      QStringList(columns.size(), QStringLiteral("?")).join(',') + QLatin1Char(')');
  QStringList marks;
  QVariantList values;
  const int count = static_cast<int>(rows.size());
  for (int index = 0; index < count; ++index) {
    if (!isLine(rows[index], index, count)) continue;
    marks << row;
    for (const LineField& field : kind_.lineFields) {
      values << lineValue(field, documentId, rows[index]);
    }
  }
  if (marks.isEmpty()) return std::nullopt;
  return Connection::Write{QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                               .arg(kind_.lineTable, columns.join(','), marks.join(',')),
                           values};
}

std::vector<GridRow> DocumentStore::readLines(qint64 documentId) const {
  std::vector<GridRow> rows;
  if (!kind_.readsLines) return rows;
  const QString& table = kind_.lineTable;
  Recordset lines;
  QStringList columns;
  for (const LineField& field : kind_.lineFields) {
    if (field.value != LineValue::Zero) {
      columns << table + '.' + field.column + QStringLiteral(" AS ") + field.column;
    }
  }
  lines.open(QStringLiteral("SELECT %2, Category.CategoryNo, Category.AName AS Cat_A_Name, "
                            "Category.EName AS Cat_E_Name, Unit.AName AS Unit_A_Name, "
                            "Unit.EName AS Unit_E_Name FROM Unit INNER JOIN (Category INNER JOIN "
                            "%1 ON Category.CategoryID = %1.CategoryID) ON Unit.ID = %1.UnitID "
                            "WHERE %1.InvoiceID = ? ORDER BY %1.ID")
                 .arg(table, columns.join(QStringLiteral(", "))),
             MainConnection(), LockType::ReadOnly, {documentId});
  const QString letter = GetLanguage();
  const auto optional = [&lines](const char* column) {
    const QString name = QString::fromLatin1(column);
    return lines.hasField(name) ? GeneralNumber(lines.value(name).toDouble()) : QString();
  };
  for (; !lines.eof(); lines.moveNext()) {
    GridRow row;
    for (int column = 0; column <= 16; ++column) row << QString();
    const double quantity = lines.value(QStringLiteral("Quantity")).toDouble();
    const double price = lines.value(QStringLiteral("Price")).toDouble();
    row[0] = QString::number(rows.size() + 1);
    row[1] = lines.text(QStringLiteral("CategoryNo"));
    row[2] = lines.text(QStringLiteral("Cat_") + letter + QStringLiteral("_Name")) + '#' +
             lines.text(QStringLiteral("Description"));
    row[3] = lines.text(QStringLiteral("Unit_") + letter + QStringLiteral("_Name"));
    row[4] = GeneralNumber(quantity);
    row[5] = amount(price);
    row[6] = amount(quantity * price);
    row[7] = amount(lines.value(QStringLiteral("Discount")));
    row[8] = amount(lines.value(QStringLiteral("Total")));
    row[9] = lines.text(QStringLiteral("UnitID"));
    row[10] = optional("ActualQty");
    row[11] = lines.text(QStringLiteral("CategoryID"));
    row[12] = lines.hasField(QStringLiteral("HidePrice")) &&
                      lines.value(QStringLiteral("HidePrice")).toBool()
                  ? QStringLiteral("H")
                  : QStringLiteral("0");
    row[13] = amount(lines.value(QStringLiteral("ActualPrice")));
    row[14] = optional("SpecialOffer");
    row[15] = optional("CostPrice");
    row[16] = lines.text(QStringLiteral("ExpireDate"));
    rows.push_back(row);
  }
  return rows;
}

std::optional<ItemEntry> DocumentStore::itemForEntry(int branchId,
                                                     const QString& categoryNo) const {
  const auto item = MainConnection().firstRow(
      QStringLiteral("SELECT CategoryID, AName, EName, U1, CostPrice, ") + kind_.entryPriceColumn +
          QStringLiteral(" FROM Category WHERE BranchID = ? AND CategoryNo = ?"),
      {branchId, categoryNo});
  if (!item) return std::nullopt;
  const QString letter = GetLanguage();
  ItemEntry entry;
  entry.categoryId = item->value(QStringLiteral("CategoryID")).toInt();
  entry.name = item->value(letter + QStringLiteral("Name")).toString();
  entry.unitId = item->value(QStringLiteral("U1")).toInt();
  entry.unitName = LookupValue(QStringLiteral("Unit"), letter + QStringLiteral("Name"),
                               QStringLiteral("ID = ?"), {entry.unitId});
  entry.price = item->value(kind_.entryPriceColumn).toDouble();
  entry.costPrice = item->value(QStringLiteral("CostPrice")).toDouble();
  return entry;
}

void DocumentStore::removeReplaced(const std::vector<qint64>& documentIds) {
  Connection& db = MainConnection();
  for (const qint64 id : documentIds) {
    const auto document = db.firstRow(QStringLiteral("SELECT Payment, Net, ") + kind_.partyColumn +
                                          QStringLiteral(" FROM ") + kind_.headerTable +
                                          QStringLiteral(" WHERE ID = ?"),
                                      {id});
    if (!document) continue;
    if (kind_.creditRaisesDebit && document->value(0).toInt() == 1) {
      db.execute(QStringLiteral("UPDATE Customer SET Debit = Debit - ? WHERE ID = ?"),
                 {document->value(1).toDouble(), document->value(2)});
    }
    db.execute(
        QStringLiteral("DELETE FROM ") + kind_.lineTable + QStringLiteral(" WHERE InvoiceID = ?"),
        {id});
    db.execute(QStringLiteral("DELETE FROM ") + kind_.headerTable + QStringLiteral(" WHERE ID = ?"),
               {id});
  }
}

void DocumentStore::handOver(const std::vector<qint64>& documentIds, qint64 documentId) {
  Connection& db = MainConnection();
  for (const qint64 id : documentIds) {
    db.execute(QStringLiteral("UPDATE RenumberedDocuments SET DocumentID = ? "
                              "WHERE DocumentTable = ? AND DocumentID = ?"),
               {documentId, kind_.headerTable, id});
    if (kind_.returnTable.isEmpty()) continue;
    db.execute(QStringLiteral("UPDATE ") + kind_.returnTable + QStringLiteral(" SET ") +
                   kind_.returnLinkColumn + QStringLiteral(" = ? WHERE ") + kind_.returnLinkColumn +
                   QStringLiteral(" = ?"),
               {documentId, id});
  }
}

}  // namespace qalvoro
