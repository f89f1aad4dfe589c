#include "catalogue/InvoiceImport.h"

#include <QDate>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "posting/DocumentKind.h"

namespace qalvoro {

const TradeSide& SalesSide() {
  static const TradeSide side{QStringLiteral("ف_مبيعات"),
                              QStringLiteral("ف1_مبيعات"),
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
  static const TradeSide side{QStringLiteral("ف_مشتروات"),
                              QStringLiteral("ف1_مشتروات"),
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

void openRows(Recordset& rows, Connection& workingCopy, const QString& table,
              const QString& numberColumn, int branch, int number) {
  rows.close();
  rows.open(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE رقم_الفرع = ? AND ") +
                numberColumn + QStringLiteral(" = ?"),
            workingCopy, LockType::ReadOnly, {branch, number});
}

const QString kInvoiceNumber = QStringLiteral("رقم_الفاتورة");
const QString kReturnNumber = QStringLiteral("رقم_الارتجاع");

}  // namespace

QString Version1Day(const QVariant& value) {
  if (value.isNull()) return {};
  const QDate day = value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate
                        ? value.toDate()
                        : QDate::fromString(value.toString().left(10), Qt::ISODate);
  return day.toString(QStringLiteral("yyyy/MM/dd"));
}

void OpenInvoiceLines(Recordset& lines, Connection& workingCopy, const TradeSide& side, int branch,
                      int invoiceNumber) {
  openRows(lines, workingCopy, side.lines, kInvoiceNumber, branch, invoiceNumber);
}

void OpenReturns(Recordset& returns, Connection& workingCopy, const TradeSide& side, int branch,
                 int invoiceNumber) {
  openRows(returns, workingCopy, side.returns, kInvoiceNumber, branch, invoiceNumber);
}

void OpenReturn(Recordset& ret, Connection& workingCopy, const TradeSide& side, int branch,
                int returnNumber) {
  openRows(ret, workingCopy, side.returns, kReturnNumber, branch, returnNumber);
}

void OpenReturnLines(Recordset& lines, Connection& workingCopy, const TradeSide& side, int branch,
                     int returnNumber) {
  openRows(lines, workingCopy, side.returnLines, kReturnNumber, branch, returnNumber);
}

QHash<QString, QString> InvoiceCosts(Connection& workingCopy, int branch, int invoiceNumber) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT رقم_الصنف, التكلفه FROM ") + kCostTable +
                QStringLiteral(" WHERE رقم_الفرع = ? AND رقم_الفاتورة = ?"),
            workingCopy, LockType::ReadOnly, {branch, invoiceNumber});
  QHash<QString, QString> costs;
  for (; !rows.eof(); rows.moveNext()) {
    const QString item = rows.text(QStringLiteral("رقم_الصنف"));
    if (!costs.contains(item)) {
      costs.insert(item, GeneralNumber(rows.value(QStringLiteral("التكلفه")).toDouble()));
    }
  }
  return costs;
}

QString ItemCost(Connection& workingCopy, int branch, const QString& item, int invoiceNumber) {
  const auto row = workingCopy.firstRow(
      QStringLiteral("SELECT التكلفه FROM ") + kCostTable +
          QStringLiteral(" WHERE رقم_الفرع = ? AND رقم_الصنف = ? AND رقم_الفاتورة = ?"),
      {branch, item, invoiceNumber});
  return row ? GeneralNumber(row->value(0).toDouble()) : QStringLiteral("0");
}

GridRow LineCells(const Recordset& line, int itemId, int unitId, bool generalPrice,
                  const QString& cost) {
  GridRow cells(17);
  const QString quantityColumn = QStringLiteral("الكميه");
  QString quantity = line.isNull(quantityColumn) ? QStringLiteral("1")
                                                 : GeneralNumber(Val(line.text(quantityColumn)));
  if (Val(quantity) == 0) quantity = QStringLiteral("1");
  const QString priceColumn = QStringLiteral("السعر");
  const QString price =
      generalPrice ? GeneralNumber(line.value(priceColumn).toDouble()) : line.text(priceColumn);
  const QString amount = GeneralNumber(Val(quantity) * Val(price));
  cells[1] = line.text(QStringLiteral("رقم_الصنف"));
  cells[2] = line.text(QStringLiteral("الوصف"));
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

std::optional<QString> ExistingNumber(const DocumentKind& kind, int branch, double number) {
  const auto row =
      MainConnection().firstRow(QStringLiteral("SELECT InvoiceNo FROM ") + kind.headerTable +
                                    QStringLiteral(" WHERE InvoiceNo = ? AND BranchID = ?"),
                                {number, branch});
  if (!row) return std::nullopt;
  return GeneralNumber(row->value(0).toDouble());
}

qint64 DocumentId(const DocumentKind& kind, int branch, double number) {
  return static_cast<qint64>(
      Val(LookupValue(kind.headerTable, QStringLiteral("ID"),
                      QStringLiteral("InvoiceNo = ? AND BranchID = ?"), {number, branch})));
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
