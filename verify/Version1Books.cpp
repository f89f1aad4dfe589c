#include "verify/Version1Books.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <map>

#include "host/db/Connection.h"

namespace qalvoro::verify {
namespace {

bool hasTable(Connection& file, const QString& name) {
  return file
      .firstRow(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? "
                               "COLLATE NOCASE"),
                {name})
      .has_value();
}

// The rows of a table, in the order the file holds them, one at a time.
template <class Each>
void forEachRow(Connection& file, const QString& table, const QString& condition,
                const QVariantList& params, Each each) {
  if (!hasTable(file, table)) return;
  QString sql = QStringLiteral("SELECT * FROM \"%1\"").arg(table);
  if (!condition.isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
  sql += QStringLiteral(" ORDER BY rowid");
  QSqlQuery& query = file.runPrepared(sql, params);
  while (query.next()) each(query.record());
}

QString text(const QSqlRecord& row, const char* column) {
  return row.value(QString::fromUtf8(column)).toString();
}
double number(const QSqlRecord& row, const char* column) {
  return row.value(QString::fromUtf8(column)).toDouble();
}
qint64 whole(const QSqlRecord& row, const char* column) {
  return static_cast<qint64>(number(row, column));
}
Money money(const QSqlRecord& row, const char* column) { return ToMoney(number(row, column)); }

const QString kBranch = QStringLiteral("رقم_الفرع = ?");

// The lines of the documents of a table, by document number.
std::map<qint64, std::vector<Version1DocumentLine>> linesOf(Connection& file, const char* table,
                                                            const char* numberColumn, int branch) {
  std::map<qint64, std::vector<Version1DocumentLine>> lines;
  forEachRow(file, QString::fromUtf8(table), kBranch, {branch}, [&](const QSqlRecord& row) {
    const QVariant quantity = row.value(QStringLiteral("الكميه"));
    lines[whole(row, numberColumn)].push_back(
        {quantity.toDouble(), quantity.isNull(), number(row, "السعر")});
  });
  return lines;
}

// The invoices (or returns) of a header table with their lines.
std::vector<Version1Document> documentsOf(Connection& file, const char* headers, const char* lines,
                                          const char* numberColumn, const char* dateColumn,
                                          const char* partyColumn, int branch) {
  auto linesByNumber = linesOf(file, lines, numberColumn, branch);
  std::vector<Version1Document> documents;
  const bool isReturn = QString::fromUtf8(numberColumn) != QStringLiteral("رقم_الفاتورة");
  forEachRow(file, QString::fromUtf8(headers), kBranch, {branch}, [&](const QSqlRecord& row) {
    Version1Document document;
    document.number = whole(row, numberColumn);
    if (isReturn) document.invoice = whole(row, "رقم_الفاتورة");
    document.date = DateText(text(row, dateColumn));
    document.party = static_cast<int>(number(row, partyColumn));
    document.total = money(row, "الاجمالي");
    document.discount = money(row, "الخصم");
    document.net = money(row, "المتبقي");
    const auto found = linesByNumber.find(document.number);
    if (found != linesByNumber.end()) document.lines = found->second;
    documents.push_back(std::move(document));
  });
  return documents;
}

std::vector<Version1Party> partiesOf(Connection& file, const char* table, const char* numberColumn,
                                     int branch) {
  std::vector<Version1Party> parties;
  forEachRow(file, QString::fromUtf8(table), kBranch, {branch}, [&](const QSqlRecord& row) {
    parties.push_back({static_cast<int>(number(row, numberColumn)), text(row, "الاسم").trimmed()});
  });
  return parties;
}

}  // namespace

void ReadAccountsFile(Connection& file, int version1Branch, Version1Books& books) {
  books.hasAccounts = true;
  forEachRow(file, QStringLiteral("Card"), kBranch, {version1Branch}, [&](const QSqlRecord& row) {
    books.accounts.push_back({text(row, "رقم_الحساب").trimmed(), text(row, "اسم_الحساب").trimmed(),
                              text(row, "ffather").trimmed(), money(row, "افتتاحي_مدين"),
                              money(row, "افتتاحي_دائن")});
  });
  std::map<qint64, Version1Entry> entries;
  forEachRow(file, QStringLiteral("Gaid"), {}, {}, [&](const QSqlRecord& row) {
    const qint64 number = whole(row, "رقم_القيد");
    Version1Entry& entry = entries[number];
    if (entry.lines.empty()) {
      entry.number = number;
      entry.date = DateText(text(row, "التاريخ"));
    }
    entry.lines.push_back(
        {text(row, "رقم_الحساب").trimmed(), money(row, "مدين"), money(row, "دائن")});
  });
  for (auto& [number, entry] : entries) books.entries.push_back(std::move(entry));
}

void ReadStockFile(Connection& file, int version1Branch, Version1Books& books) {
  books.hasStock = true;
  forEachRow(
      file, QStringLiteral("الاصناف"), kBranch, {version1Branch},
      [&](const QSqlRecord& row) { books.items.push_back(text(row, "رقم_الصنف").trimmed()); });
  books.customers = partiesOf(file, "العملاء", "رقم_العميل", version1Branch);
  books.providers = partiesOf(file, "الموردين", "رقم_المورد", version1Branch);
  books.sales = documentsOf(file, "ف_مبيعات", "ف1_مبيعات", "رقم_الفاتورة", "تاريخ_الفاتوره1",
                            "رقم_العميل", version1Branch);
  books.purchases = documentsOf(file, "ف_مشتروات", "ف1_مشتروات", "رقم_الفاتورة", "تاريخ_الفاتوره1",
                                "رقم_المورد", version1Branch);
  books.salesReturns = documentsOf(file, "ف_ارتجاع_مبيعات", "ف1_ارتجاع_مبيعات", "رقم_الارتجاع",
                                   "تاريخ_الارتجاع1", "رقم_العميل", version1Branch);
  books.purchaseReturns = documentsOf(file, "ف_ارتجاع_مشتروات", "ف1_ارتجاع_مشتروات", "رقم_الارتجاع",
                                      "تاريخ_الارتجاع1", "رقم_المورد", version1Branch);
  forEachRow(
      file, QStringLiteral("السندات"), kBranch, {version1Branch}, [&](const QSqlRecord& row) {
        books.vouchers.push_back({whole(row, "رقم_السند"), number(row, "نوع_السند") == 0,
                                  DateText(text(row, "التاريخ1")), number(row, "المستفيد") != 0,
                                  static_cast<int>(number(row, "رقم_المستفيد")),
                                  money(row, "المبلغ")});
      });
}

}  // namespace qalvoro::verify
