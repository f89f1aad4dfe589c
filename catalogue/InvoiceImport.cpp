#include "catalogue/InvoiceImport.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Values.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "posting/DocumentKind.h"

namespace qalvoro {

const TradeSide& SalesSide() {
  static const TradeSide side{QStringLiteral("ف1_مبيعات"),
                              QStringLiteral("ف_ارتجاع_مبيعات"),
                              QStringLiteral("ف1_ارتجاع_مبيعات"),
                              QStringLiteral("رقم_العميل"),
                              QStringLiteral("اسم_العميل"),
                              &SalesInvoiceKind(),
                              &SalesReturnKind(),
                              true};
  return side;
}

const TradeSide& PurchaseSide() {
  static const TradeSide side{QStringLiteral("ف1_مشتروات"),
                              QStringLiteral("ف_ارتجاع_مشتروات"),
                              QStringLiteral("ف1_ارتجاع_مشتروات"),
                              QStringLiteral("رقم_المورد"),
                              QStringLiteral("اسم_المورد"),
                              &BuyInvoiceKind(),
                              &BuyReturnKind(),
                              false};
  return side;
}

namespace InvoiceImport {
namespace {

const QString kCostTable = QStringLiteral("المبيعات");

const QString kInvoiceNumber = QStringLiteral("رقم_الفاتورة");
const QString kReturnNumber = QStringLiteral("رقم_الارتجاع");

// The rows of a version-1 table of a branch with that number in a column,
// read forward once through a statement prepared once.
template <class Row, class Read>
std::vector<Row> readRows(Connection& workingCopy, const QString& table, const QString& column,
                          int branch, int number, Read read) {
  QSqlQuery& query = workingCopy.runPrepared(QStringLiteral("SELECT * FROM ") + table +
                                                 QStringLiteral(" WHERE رقم_الفرع = ? AND ") +
                                                 column + QStringLiteral(" = ?"),
                                             {branch, number});
  std::vector<Row> rows;
  while (query.next()) rows.push_back(read(query.record()));
  query.finish();
  return rows;
}

QString textOf(const QSqlRecord& row, const QString& column) {
  return values::display(row.value(column));
}

Document document(const QSqlRecord& row, const TradeSide& side, const QString& numberColumn,
                  const QString& dateColumn) {
  const QVariant cash = row.value(QStringLiteral("نقدي"));
  return {textOf(row, numberColumn),
          textOf(row, side.partyNumber),
          textOf(row, side.partyName),
          !cash.isNull() && !cash.toBool(),
          row.value(QStringLiteral("الاجمالي")).toDouble(),
          row.value(QStringLiteral("الخصم")).toDouble(),
          row.value(QStringLiteral("المتبقي")).toDouble(),
          textOf(row, QStringLiteral("ملاحظه")),
          Version1Date(row.value(dateColumn))};
}

Line line(const QSqlRecord& row) {
  return {textOf(row, QStringLiteral("رقم_الصنف")),
          textOf(row, QStringLiteral("الوصف")),
          row.value(QStringLiteral("الكميه")),
          row.value(QStringLiteral("السعر")),
          row.value(QStringLiteral("رقم_الفرع")).toInt(),
          row.value(kInvoiceNumber).toInt()};
}

}  // namespace

QDate Version1Date(const QVariant& value) {
  if (value.isNull()) return {};
  if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate) {
    return value.toDate();
  }
  return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QString Version1Day(const QVariant& value) {
  return Version1Date(value).toString(QStringLiteral("yyyy/MM/dd"));
}

Document InvoiceHeader(const Recordset& row, const TradeSide& side) {
  const QVariant cash = row.value(QStringLiteral("نقدي"));
  return {row.text(kInvoiceNumber),
          row.text(side.partyNumber),
          row.text(side.partyName),
          !cash.isNull() && !cash.toBool(),
          row.value(QStringLiteral("الاجمالي")).toDouble(),
          row.value(QStringLiteral("الخصم")).toDouble(),
          row.value(QStringLiteral("المتبقي")).toDouble(),
          row.text(QStringLiteral("ملاحظه")),
          Version1Date(row.value(QStringLiteral("تاريخ_الفاتوره1")))};
}

std::vector<Document> Returns(Connection& workingCopy, const TradeSide& side, int branch,
                              int invoiceNumber) {
  return readRows<Document>(workingCopy, side.returns, kInvoiceNumber, branch, invoiceNumber,
                            [&side](const QSqlRecord& row) {
                              return document(row, side, kReturnNumber,
                                              QStringLiteral("تاريخ_الارتجاع1"));
                            });
}

std::optional<Document> Return(Connection& workingCopy, const TradeSide& side, int branch,
                               int returnNumber) {
  auto found = readRows<Document>(workingCopy, side.returns, kReturnNumber, branch, returnNumber,
                                  [&side](const QSqlRecord& row) {
                                    return document(row, side, kReturnNumber,
                                                    QStringLiteral("تاريخ_الارتجاع1"));
                                  });
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::vector<Line> InvoiceLines(Connection& workingCopy, const TradeSide& side, int branch,
                               int invoiceNumber) {
  return readRows<Line>(workingCopy, side.lines, kInvoiceNumber, branch, invoiceNumber, line);
}

std::vector<Line> ReturnLines(Connection& workingCopy, const TradeSide& side, int branch,
                              int returnNumber) {
  return readRows<Line>(workingCopy, side.returnLines, kReturnNumber, branch, returnNumber, line);
}

QHash<QString, QString> InvoiceCosts(Connection& workingCopy, int branch, int invoiceNumber) {
  QSqlQuery& rows =
      workingCopy.runPrepared(QStringLiteral("SELECT رقم_الصنف, التكلفه FROM ") + kCostTable +
                                  QStringLiteral(" WHERE رقم_الفرع = ? AND رقم_الفاتورة = ?"),
                              {branch, invoiceNumber});
  QHash<QString, QString> costs;
  while (rows.next()) {
    const QString item = values::display(rows.value(0));
    if (!costs.contains(item)) costs.insert(item, GeneralNumber(rows.value(1).toDouble()));
  }
  rows.finish();
  return costs;
}

QString ItemCost(Connection& workingCopy, int branch, const QString& item, int invoiceNumber) {
  const auto row = workingCopy.firstRow(
      QStringLiteral("SELECT التكلفه FROM ") + kCostTable +
          QStringLiteral(" WHERE رقم_الفرع = ? AND رقم_الصنف = ? AND رقم_الفاتورة = ?"),
      {branch, item, invoiceNumber});
  return row ? GeneralNumber(row->value(0).toDouble()) : QStringLiteral("0");
}

GridRow LineCells(const Line& line, int itemId, int unitId, bool generalPrice,
                  const QString& cost) {
  GridRow cells(17);
  QString quantity = line.quantity.isNull() ? QStringLiteral("1")
                                            : GeneralNumber(Val(values::display(line.quantity)));
  if (Val(quantity) == 0) quantity = QStringLiteral("1");
  const QString price =
      generalPrice ? GeneralNumber(line.price.toDouble()) : values::display(line.price);
  const QString amount = GeneralNumber(Val(quantity) * Val(price));
  cells[1] = line.item;
  cells[2] = line.description;
  cells[4] = quantity;
  cells[5] = price;
  cells[6] = amount;
  cells[8] = amount;
  cells[9] = QString::number(unitId);
  cells[10] = quantity;
  cells[11] = QString::number(itemId);
  cells[12] = QStringLiteral("0");
  cells[13] = price;
  cells[14] = QStringLiteral("0");
  cells[15] = cost;
  return cells;
}

std::optional<Existing> ExistingDocuments(const DocumentKind& kind, int branch,
                                          double version1Number) {
  // The documents renumbered from the number (first pass), else those of the
  // number that were never renumbered (second pass), in one query.
  const QString& table = kind.headerTable;
  QSqlQuery& rows = MainConnection().runPrepared(
      QStringLiteral("SELECT h.ID, h.InvoiceNo, 0 FROM RenumberedDocuments o JOIN %1 h "
                     "ON h.ID = o.DocumentID WHERE o.BranchID = ? AND o.DocumentTable = ? AND "
                     "o.Version1No = ? UNION ALL SELECT ID, InvoiceNo, 1 FROM %1 WHERE "
                     "BranchID = ? AND InvoiceNo = ? AND ID NOT IN (SELECT DocumentID FROM "
                     "RenumberedDocuments WHERE BranchID = ? AND DocumentTable = ?) ORDER BY 3, 1")
          .arg(table),
      {branch, table, version1Number, branch, version1Number, branch, table});
  std::optional<Existing> existing;
  int firstPass = -1;
  while (rows.next()) {
    const int pass = rows.value(2).toInt();
    if (!existing) {
      existing = Existing{{}, rows.value(1).toDouble()};
      firstPass = pass;
    }
    if (pass != firstPass) break;
    existing->ids.push_back(rows.value(0).toLongLong());
  }
  rows.finish();
  return existing;
}

void Renumber(const TradeSide& side, int branch, int start,
              const std::function<void(int done, int total)>& progress) {
  const TableLock invoices(side.invoiceKind->lockName);
  const TableLock returns(side.returnKind->lockName);
  Transaction transaction(MainConnection());
  int counter = start;
  for (const DocumentKind* kind : {side.invoiceKind, side.returnKind}) {
    Recordset rows;
    rows.open(QStringLiteral("SELECT ID FROM ") + kind->headerTable +
                  QStringLiteral(" WHERE BranchID = ? ORDER BY fDate, ID"),
              MainConnection(), LockType::ReadOnly, {branch});
    const int total = rows.recordCount();
    MainConnection().execute(
        QStringLiteral("INSERT INTO RenumberedDocuments (BranchID, DocumentTable, Version1No, "
                       "DocumentID) SELECT BranchID, CAST(? AS TEXT), InvoiceNo, ID FROM ") +
            kind->headerTable +
            QStringLiteral(" WHERE BranchID = ? AND ID NOT IN (SELECT DocumentID FROM "
                           "RenumberedDocuments WHERE DocumentTable = ?)"),
        {kind->headerTable, branch, kind->headerTable});
    for (int done = 1; !rows.eof(); rows.moveNext(), ++done) {
      MainConnection().execute(QStringLiteral("UPDATE ") + kind->headerTable +
                                   QStringLiteral(" SET InvoiceNo = ? WHERE ID = ?"),
                               {counter++, rows.value(QStringLiteral("ID"))});
      progress(done, total);
    }
  }
  transaction.commit();
}

}  // namespace InvoiceImport
}  // namespace qalvoro
