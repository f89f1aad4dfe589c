#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// The books of one branch as plain rows, read once from either side: the
// version-1 files and the version-2 database. Amounts are kept as whole
// cents, the precision the documents show, so that comparing them never
// depends on floating-point noise.
namespace qalvoro::verify {

using Money = qint64;  // cents

// An amount rounded to cents (halves away from zero, after the noise below
// a ten-thousandth is dropped).
Money ToMoney(double amount);
// "1234.50", "-0.25".
QString MoneyText(Money amount);
// A stored date ("yyyy-mm-dd ...", "yyyy/mm/dd") as "yyyy/mm/dd"; empty
// when there is none.
QString DateText(const QString& stored);

// ---- Version 1 -----------------------------------------------------------

struct Version1Account {
  QString number;
  QString name;
  QString parent;  // empty for a top-level account
  Money openingDebit = 0;
  Money openingCredit = 0;
};

struct Version1JournalLine {
  QString account;
  Money debit = 0;
  Money credit = 0;
};

struct Version1Entry {
  qint64 number = 0;
  QString date;  // of its first line
  std::vector<Version1JournalLine> lines;
};

struct Version1DocumentLine {
  double quantity = 0;  // as version 1 holds it; nothing when Null
  bool quantityIsNull = false;
  double price = 0;
};

// An invoice or a return.
struct Version1Document {
  qint64 number = 0;
  qint64 invoice = 0;  // a return: the number of the invoice it returns
  QString date;
  int party = 0;  // 0: walk-in
  Money total = 0;
  Money discount = 0;
  Money net = 0;
  std::vector<Version1DocumentLine> lines;
};

struct Version1Voucher {
  qint64 number = 0;
  bool payment = false;
  QString date;
  bool provider = false;  // the party is a provider, else a customer
  int party = 0;
  Money amount = 0;
};

struct Version1Party {
  int number = 0;
  QString name;
};

// What the version-1 files hold for one branch. hasAccounts and hasStock
// say which product's file was read.
struct Version1Books {
  bool hasAccounts = false;
  bool hasStock = false;
  std::vector<Version1Account> accounts;
  std::vector<Version1Entry> entries;  // every entry of the file, by number
  std::vector<QString> items;
  std::vector<Version1Party> customers;
  std::vector<Version1Party> providers;
  std::vector<Version1Document> sales;
  std::vector<Version1Document> purchases;
  std::vector<Version1Document> salesReturns;
  std::vector<Version1Document> purchaseReturns;
  std::vector<Version1Voucher> vouchers;
};

// ---- Version 2 -----------------------------------------------------------

struct Version2Account {
  int id = 0;
  Money openingDebit = 0;
  Money openingCredit = 0;
};

struct Version2Entry {
  QString date;
  Money debit = 0;
  Money credit = 0;
  int lines = 0;
  Money lineDebit = 0;
  Money lineCredit = 0;
};

// An invoice or a return; a return stores neither total nor discount.
struct Version2Document {
  QString date;
  int party = 0;  // the party's number, 0 for a walk-in party
  std::optional<Money> total;
  std::optional<Money> discount;
  Money net = 0;
  int lines = 0;
};

struct Version2Voucher {
  QString date;
  Money amount = 0;
  int account = 0;  // the party's account (CardAcc.ID)
};

// The parties of a kind: their account by number and number by ID.
struct Version2Parties {
  QHash<int, int> accountByNumber;
  QHash<int, int> numberById;
  int rows = 0;
};

struct Version2Books {
  QHash<QString, Version2Account> accounts;  // by number
  QHash<int, QString> accountNumbers;        // by ID
  QSet<int> accountsWithJournalLines;        // IDs
  QHash<qint64, Version2Entry> entries;      // by number
  int entryRows = 0;
  QSet<QString> items;  // numbers in upper case
  int itemRows = 0;
  Version2Parties customers;
  Version2Parties providers;
  QHash<qint64, Version2Document> sales;
  QHash<qint64, Version2Document> purchases;
  QHash<qint64, Version2Document> salesReturns;
  QHash<qint64, Version2Document> purchaseReturns;
  QHash<qint64, Version2Voucher> receipts;
  QHash<qint64, Version2Voucher> payments;
  // Header rows per document kind (numbers may repeat).
  int salesRows = 0, purchaseRows = 0, salesReturnRows = 0, purchaseReturnRows = 0;
  int receiptRows = 0, paymentRows = 0;
  // Sums over every header row of the branch.
  Money salesNet = 0, purchaseNet = 0, salesReturnNet = 0, purchaseReturnNet = 0;
  Money receiptAmount = 0, paymentAmount = 0;
  Money journalDebit = 0, journalCredit = 0;
  Money openingDebit = 0, openingCredit = 0;
};

}  // namespace qalvoro::verify
