#include "catalogue/StockFile.h"

#include <array>

#include "host/db/Connection.h"

namespace qalvoro {
namespace {

struct TabTables {
  QString version1;
  QString order;     // version-1 order, empty for the table's own
  QString version2;  // empty: none
  bool reopenedOnTabChange = false;
};

const std::array<TabTables, 6>& tabTables() {
  static const std::array<TabTables, 6> tables = {{
      {QStringLiteral("الاصناف"), {}, QStringLiteral("Category"), true},
      {QStringLiteral("العملاء"), {}, QStringLiteral("Customer"), true},
      {QStringLiteral("الموردين"), {}, QStringLiteral("Provider"), true},
      {QStringLiteral("ف_مبيعات"), QStringLiteral("تاريخ_الفاتورة"), QStringLiteral("SaleInvoice"),
       false},
      {QStringLiteral("ف_مشتروات"), QStringLiteral("تاريخ_الفاتورة"), QStringLiteral("BuyInvoice"),
       false},
      {QStringLiteral("السندات"), {}, {}, false},
  }};
  return tables;
}

// A dated document table of the filter and its date column.
struct DatedTable {
  const char* table;
  const char* dateColumn;
};

constexpr std::array<DatedTable, 3> kFilteredTables = {{
    {"ف_مبيعات", "تاريخ_الفاتوره1"},
    {"ف_مشتروات", "تاريخ_الفاتوره1"},
    {"السندات", "التاريخ1"},
}};

void deleteDated(Connection& workingCopy, int branch, const QDate& bound, const QString& compare) {
  if (bound.isNull()) return;
  const QString day = bound.toString(Qt::ISODate);
  for (const DatedTable& dated : kFilteredTables) {
    // The working copy holds dates as "yyyy-mm-dd HH:MM:SS" texts.
    workingCopy.execute(
        QStringLiteral("DELETE FROM %1 WHERE substr(%2, 1, 10) %3 ? AND "
                       "رقم_الفرع = ?")
            .arg(QString::fromUtf8(dated.table), QString::fromUtf8(dated.dateColumn), compare),
        {day, branch});
  }
}

}  // namespace

QString Version1TabQuery(int tab) {
  const TabTables& tables = tabTables().at(tab);
  QString sql =
      QStringLiteral("SELECT * FROM ") + tables.version1 + QStringLiteral(" WHERE رقم_الفرع = ?");
  if (!tables.order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + tables.order;
  return sql;
}

QString Version2TabQuery(int tab, bool onBranchChoice) {
  const TabTables& tables = tabTables().at(tab);
  if (tables.version2.isEmpty() || (!onBranchChoice && !tables.reopenedOnTabChange)) return {};
  return QStringLiteral("SELECT * FROM ") + tables.version2 + QStringLiteral(" WHERE BranchID = ?");
}

void PrepareStockFile(Connection& workingCopy) {
  // Each document import looks up its lines, returns and costs by branch
  // and number; a file without one of these tables gets no index for it.
  struct Lookup {
    const char* index;
    const char* table;
    const char* number;
  };
  static constexpr std::array<Lookup, 10> kLookups = {{
      {"ix_items_number", "الاصناف", "رقم_الصنف COLLATE NOCASE"},
      {"ix_customers_number", "العملاء", "رقم_العميل"},
      {"ix_providers_number", "الموردين", "رقم_المورد"},
      {"ix_sales_lines", "ف1_مبيعات", "رقم_الفاتورة"},
      {"ix_sales_costs", "المبيعات", "رقم_الفاتورة"},
      {"ix_purchase_lines", "ف1_مشتروات", "رقم_الفاتورة"},
      {"ix_sales_returns", "ف_ارتجاع_مبيعات", "رقم_الفاتورة"},
      {"ix_sales_return_lines", "ف1_ارتجاع_مبيعات", "رقم_الارتجاع"},
      {"ix_purchase_returns", "ف_ارتجاع_مشتروات", "رقم_الفاتورة"},
      {"ix_purchase_return_lines", "ف1_ارتجاع_مشتروات", "رقم_الارتجاع"},
  }};
  for (const Lookup& lookup : kLookups) {
    const QString table = QString::fromUtf8(lookup.table);
    if (!workingCopy.firstRow(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                             "AND name = ?"),
                              {table})) {
      continue;
    }
    workingCopy.execute(
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (رقم_الفرع, %3)")
            .arg(QString::fromUtf8(lookup.index), table, QString::fromUtf8(lookup.number)));
  }
}

void DeleteDocumentsOutside(Connection& workingCopy, int branch, const QDate& from,
                            const QDate& to) {
  deleteDated(workingCopy, branch, from, QStringLiteral("<="));
  deleteDated(workingCopy, branch, to, QStringLiteral(">="));
}

}  // namespace qalvoro
