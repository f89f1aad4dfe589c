#include "verify/Version2Books.h"

#include <QSqlQuery>
#include <QVariant>

#include "host/db/Connection.h"

namespace qalvoro::verify {
namespace {

template <class Each>
void forEachRow(Connection& database, const QString& sql, int branch, Each each) {
  QSqlQuery& query = database.runPrepared(sql, {branch});
  while (query.next()) each(query);
}

Money money(const QSqlQuery& row, int column) { return ToMoney(row.value(column).toDouble()); }
int integer(const QSqlQuery& row, int column) {
  return static_cast<int>(row.value(column).toDouble());
}
qint64 whole(const QSqlQuery& row, int column) {
  return static_cast<qint64>(row.value(column).toDouble());
}

void readAccounts(Connection& database, int branch, Version2Books& books) {
  forEachRow(database,
             QStringLiteral("SELECT ID, AccNo, StartDebit, StartCredit FROM CardAcc "
                            "WHERE BranchID = ?"),
             branch, [&](const QSqlQuery& row) {
               const Version2Account account{integer(row, 0), money(row, 2), money(row, 3)};
               books.accounts.insert(row.value(1).toString().trimmed(), account);
               books.accountNumbers.insert(account.id, row.value(1).toString().trimmed());
               books.openingDebit += account.openingDebit;
               books.openingCredit += account.openingCredit;
             });
}

void readJournal(Connection& database, int branch, Version2Books& books) {
  forEachRow(
      database,
      QStringLiteral("SELECT g.GaidNo, g.fDate, g.Debit, g.Credit, COUNT(d.ID), SUM(d.Debit), "
                     "SUM(d.Credit) FROM Gaid g LEFT JOIN GaidDetails d ON d.GaidID = g.ID "
                     "WHERE g.BranchID = ? GROUP BY g.ID, g.GaidNo, g.fDate, g.Debit, g.Credit"),
      branch, [&](const QSqlQuery& row) {
        const Version2Entry entry{DateText(row.value(1).toString()),
                                  money(row, 2),
                                  money(row, 3),
                                  integer(row, 4),
                                  money(row, 5),
                                  money(row, 6)};
        books.entries.insert(whole(row, 0), entry);
        ++books.entryRows;
        books.journalDebit += entry.debit;
        books.journalCredit += entry.credit;
      });
  forEachRow(database,
             QStringLiteral("SELECT DISTINCT d.AccNoID FROM GaidDetails d JOIN CardAcc a "
                            "ON a.ID = d.AccNoID WHERE a.BranchID = ?"),
             branch,
             [&](const QSqlQuery& row) { books.accountsWithJournalLines.insert(integer(row, 0)); });
}

void readItems(Connection& database, int branch, Version2Books& books) {
  forEachRow(database, QStringLiteral("SELECT CategoryNo FROM Category WHERE BranchID = ?"), branch,
             [&](const QSqlQuery& row) {
               books.items.insert(row.value(0).toString().trimmed().toUpper());
               ++books.itemRows;
             });
}

Version2Parties readParties(Connection& database, const QString& table, int branch) {
  Version2Parties parties;
  forEachRow(database,
             QStringLiteral("SELECT ID, fNo, AccNoID FROM %1 WHERE BranchID = ?").arg(table),
             branch, [&](const QSqlQuery& row) {
               parties.accountByNumber.insert(integer(row, 1), integer(row, 2));
               parties.numberById.insert(integer(row, 0), integer(row, 1));
               ++parties.rows;
             });
  return parties;
}

// A document kind's tables: header, lines and party column; totals says
// whether the header stores a total and a discount (invoices do, returns
// do not).
struct DocumentTables {
  QString header;
  QString lines;
  QString party;
  bool totals;
};

void readDocuments(Connection& database, const DocumentTables& tables,
                   const Version2Parties& parties, int branch,
                   QHash<qint64, Version2Document>& documents, int& rows, Money& netSum) {
  const QString totals =
      tables.totals ? QStringLiteral("h.Total, h.Discount") : QStringLiteral("0, 0");
  const QString sql =
      QStringLiteral(
          "SELECT h.InvoiceNo, h.fDate, h.%1, h.Net, %2, COALESCE(l.n, 0) FROM %3 h "
          "LEFT JOIN (SELECT InvoiceID, COUNT(*) AS n FROM %4 GROUP BY InvoiceID) l "
          "ON l.InvoiceID = h.ID WHERE h.BranchID = ?")
          .arg(tables.party, totals, tables.header, tables.lines);
  forEachRow(database, sql, branch, [&](const QSqlQuery& row) {
    Version2Document document;
    document.date = DateText(row.value(1).toString());
    document.party = parties.numberById.value(integer(row, 2), 0);
    document.net = money(row, 3);
    if (tables.totals) {
      document.total = money(row, 4);
      document.discount = money(row, 5);
    }
    document.lines = integer(row, 6);
    documents.insert(whole(row, 0), document);
    ++rows;
    netSum += document.net;
  });
}

void readVouchers(Connection& database, const QString& kind, const QString& partyAccount,
                  int branch, QHash<qint64, Version2Voucher>& vouchers, int& rows,
                  Money& amountSum) {
  const QString sql = QStringLiteral(
                          "SELECT h.%1No, h.fDate, h.Amount, d.%2 FROM %1 h LEFT JOIN %1Details d "
                          "ON d.%1ID = h.ID WHERE h.BranchID = ?")
                          .arg(kind, partyAccount);
  forEachRow(database, sql, branch, [&](const QSqlQuery& row) {
    const Version2Voucher voucher{DateText(row.value(1).toString()), money(row, 2),
                                  integer(row, 3)};
    vouchers.insert(whole(row, 0), voucher);
    ++rows;
    amountSum += voucher.amount;
  });
}

}  // namespace

Version2Books ReadVersion2Branch(Connection& database, int branch) {
  Version2Books books;
  readAccounts(database, branch, books);
  readJournal(database, branch, books);
  readItems(database, branch, books);
  books.customers = readParties(database, QStringLiteral("Customer"), branch);
  books.providers = readParties(database, QStringLiteral("Provider"), branch);
  readDocuments(database, {"SaleInvoice", "SInvSData", "CustomerID", true}, books.customers, branch,
                books.sales, books.salesRows, books.salesNet);
  readDocuments(database, {"BuyInvoice", "BInvData", "ProviderID", true}, books.providers, branch,
                books.purchases, books.purchaseRows, books.purchaseNet);
  readDocuments(database, {"RSaleInvoice", "RSInvSData", "CustomerID", false}, books.customers,
                branch, books.salesReturns, books.salesReturnRows, books.salesReturnNet);
  readDocuments(database, {"RBuyInvoice", "RBInvData", "ProviderID", false}, books.providers,
                branch, books.purchaseReturns, books.purchaseReturnRows, books.purchaseReturnNet);
  readVouchers(database, QStringLiteral("Receipt"), QStringLiteral("From_AccNoID"), branch,
               books.receipts, books.receiptRows, books.receiptAmount);
  readVouchers(database, QStringLiteral("Payment"), QStringLiteral("To_AccNoID"), branch,
               books.payments, books.paymentRows, books.paymentAmount);
  return books;
}

}  // namespace qalvoro::verify
