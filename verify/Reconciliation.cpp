#include "verify/Reconciliation.h"

#include <QSet>
#include <QStringList>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace qalvoro::verify {
namespace {

// Collects the findings of one kind into its line and the lists.
class KindFindings {
 public:
  KindFindings(Reconciliation& result, QString kind, QString noun)
      : result_(result), noun_(std::move(noun)) {
    line_.kind = std::move(kind);
  }
  ~KindFindings() { result_.kinds.push_back(std::move(line_)); }
  KindFindings(const KindFindings&) = delete;
  KindFindings& operator=(const KindFindings&) = delete;

  KindLine& line() { return line_; }
  void missing(const QString& number) {
    ++line_.missing;
    result_.missing.push_back({noun_, number});
  }
  void onPurpose(const QString& number, const QString& explanation) {
    ++line_.onPurpose;
    result_.onPurpose.push_back({{noun_, number}, explanation});
  }
  void different(const QString& number, std::vector<FieldDifference> fields) {
    if (fields.empty()) return;
    ++line_.different;
    result_.different.push_back({{noun_, number}, std::move(fields)});
  }

 private:
  Reconciliation& result_;
  QString noun_;
  KindLine line_;
};

QString partyText(int party) {
  return party == 0 ? QStringLiteral("walk-in") : QString::number(party);
}

// Fields that differ, each added when its two values do.
class FieldList {
 public:
  void text(const QString& field, const QString& expected, const QString& actual) {
    if (expected != actual) fields_.push_back({field, expected, actual});
  }
  void count(const QString& field, int expected, int actual) {
    text(field, QString::number(expected), QString::number(actual));
  }
  // Amounts within tolerance cents of each other match.
  void money(const QString& field, Money expected, Money actual, Money tolerance = 0) {
    if (std::llabs(expected - actual) > tolerance) {
      fields_.push_back({field, MoneyText(expected), MoneyText(actual)});
    }
  }
  std::vector<FieldDifference> take() { return std::move(fields_); }

 private:
  std::vector<FieldDifference> fields_;
};

// ---- Accounts and journal ------------------------------------------------

void compareAccounts(const Version1Books& v1, const Version2Books& v2, Reconciliation& result) {
  KindFindings findings(result, QStringLiteral("accounts"), QStringLiteral("account"));
  QHash<QString, const Version1Account*> byNumber;
  for (const Version1Account& account : v1.accounts) {
    if (!account.number.isEmpty() && !byNumber.contains(account.number)) {
      byNumber.insert(account.number, &account);
    }
  }
  // Whether a parent can be found: in version 2, or in version 1 with a
  // parent that can be found in turn.
  QHash<QString, bool> found;
  std::function<bool(const QString&, int)> parentExists = [&](const QString& parent, int depth) {
    if (parent.isEmpty() || v2.accounts.contains(parent)) return true;
    if (const auto known = found.constFind(parent); known != found.cend()) return *known;
    const Version1Account* account = byNumber.value(parent);
    const bool exists = account && depth < 64 && parentExists(account->parent, depth + 1);
    found.insert(parent, exists);
    return exists;
  };
  SumLine debit{QStringLiteral("opening debit")};
  SumLine credit{QStringLiteral("opening credit")};
  QSet<QString> seen;
  for (const Version1Account& account : v1.accounts) {
    debit.version1 += account.openingDebit;
    credit.version1 += account.openingCredit;
    const QString& number = account.number;
    if (number.isEmpty()) {
      findings.onPurpose(account.name, QStringLiteral("It has no account number, and an account "
                                                      "is moved only with its number."));
      continue;
    }
    if (seen.contains(number)) continue;
    seen.insert(number);
    if (account.name.isEmpty()) {
      findings.onPurpose(number, QStringLiteral("It has no name, and an account is moved only "
                                                "with a name."));
      continue;
    }
    if (!parentExists(account.parent, 0)) {
      findings.onPurpose(number, QStringLiteral("Its parent account %1 is in neither version, and "
                                                "an account is moved only under its parent.")
                                     .arg(account.parent));
      continue;
    }
    const auto stored = v2.accounts.constFind(number);
    if (stored == v2.accounts.cend()) {
      const auto parent = v2.accounts.constFind(account.parent);
      if (parent != v2.accounts.cend() && v2.accountsWithJournalLines.contains(parent->id)) {
        findings.onPurpose(number, QStringLiteral("Its parent account %1 carries journal entries "
                                                  "in version 2, and an account with entries "
                                                  "cannot take sub-accounts.")
                                       .arg(account.parent));
      } else {
        findings.missing(number);
      }
      continue;
    }
    debit.expected += account.openingDebit;
    credit.expected += account.openingCredit;
    FieldList fields;
    fields.money(QStringLiteral("opening debit"), account.openingDebit, stored->openingDebit);
    fields.money(QStringLiteral("opening credit"), account.openingCredit, stored->openingCredit);
    findings.different(number, fields.take());
  }
  debit.version2 = v2.openingDebit;
  credit.version2 = v2.openingCredit;
  KindLine& line = findings.line();
  line.version1Rows = static_cast<int>(v1.accounts.size());
  line.version2Rows = static_cast<int>(v2.accounts.size());
  for (auto it = v2.accounts.cbegin(); it != v2.accounts.cend(); ++it) {
    if (!byNumber.contains(it.key())) ++line.onlyInVersion2;
  }
  line.sums = {debit, credit};
}

void compareJournal(const Version1Books& v1, const Version2Books& v2, Reconciliation& result) {
  KindFindings findings(result, QStringLiteral("journal entries"), QStringLiteral("journal entry"));
  SumLine debit{QStringLiteral("debit")};
  SumLine credit{QStringLiteral("credit")};
  QSet<qint64> numbers;
  for (const Version1Entry& entry : v1.entries) {
    numbers.insert(entry.number);
    Money totalDebit = 0, totalCredit = 0, lineDebit = 0, lineCredit = 0;
    int lines = 0;
    QStringList leftOut;
    Money leftDebit = 0, leftCredit = 0;
    for (const Version1JournalLine& line : entry.lines) {
      totalDebit += line.debit;
      totalCredit += line.credit;
      if (v2.accounts.contains(line.account)) {
        ++lines;
        lineDebit += line.debit;
        lineCredit += line.credit;
      } else {
        if (!leftOut.contains(line.account)) leftOut << line.account;
        leftDebit += line.debit;
        leftCredit += line.credit;
      }
    }
    debit.version1 += totalDebit;
    credit.version1 += totalCredit;
    const QString number = QString::number(entry.number);
    if (!leftOut.isEmpty()) {
      const int count = static_cast<int>(entry.lines.size()) - lines;
      findings.onPurpose(number,
                         QStringLiteral("%1 line(s) on account(s) %2 (debit %3, credit %4) are not "
                                        "moved because version 2 has no such account; the entry's "
                                        "totals still count them.")
                             .arg(count)
                             .arg(leftOut.join(QStringLiteral(", ")), MoneyText(leftDebit),
                                  MoneyText(leftCredit)));
    }
    const auto stored = v2.entries.constFind(entry.number);
    if (stored == v2.entries.cend()) {
      findings.missing(number);
      continue;
    }
    debit.expected += totalDebit;
    credit.expected += totalCredit;
    FieldList fields;
    fields.text(QStringLiteral("date"), entry.date, stored->date);
    fields.money(QStringLiteral("debit"), totalDebit, stored->debit);
    fields.money(QStringLiteral("credit"), totalCredit, stored->credit);
    fields.count(QStringLiteral("lines"), lines, stored->lines);
    fields.money(QStringLiteral("debit of the lines"), lineDebit, stored->lineDebit);
    fields.money(QStringLiteral("credit of the lines"), lineCredit, stored->lineCredit);
    findings.different(number, fields.take());
  }
  debit.version2 = v2.journalDebit;
  credit.version2 = v2.journalCredit;
  KindLine& line = findings.line();
  line.version1Rows = static_cast<int>(v1.entries.size());
  line.version2Rows = v2.entryRows;
  for (auto it = v2.entries.cbegin(); it != v2.entries.cend(); ++it) {
    if (!numbers.contains(it.key())) ++line.onlyInVersion2;
  }
  line.sums = {debit, credit};
}

// ---- Items and parties ---------------------------------------------------

void compareItems(const Version1Books& v1, const Version2Books& v2, Reconciliation& result) {
  KindFindings findings(result, QStringLiteral("items"), QStringLiteral("item"));
  QSet<QString> numbers;
  for (const QString& item : v1.items) {
    const QString key = item.toUpper();
    if (numbers.contains(key)) continue;
    numbers.insert(key);
    if (!v2.items.contains(key)) findings.missing(item);
  }
  KindLine& line = findings.line();
  line.version1Rows = static_cast<int>(v1.items.size());
  line.version2Rows = v2.itemRows;
  for (const QString& item : v2.items) {
    if (!numbers.contains(item)) ++line.onlyInVersion2;
  }
}

void compareParties(const QString& kind, const QString& noun, const std::vector<Version1Party>& v1,
                    const Version2Parties& v2, Reconciliation& result) {
  KindFindings findings(result, kind, noun);
  QSet<int> numbers;
  for (const Version1Party& party : v1) {
    if (numbers.contains(party.number)) continue;
    numbers.insert(party.number);
    if (v2.accountByNumber.contains(party.number)) continue;
    if (party.name.isEmpty()) {
      findings.onPurpose(
          QString::number(party.number),
          QStringLiteral("It has no name, and version 2 takes no %1 without one.").arg(noun));
    } else {
      findings.missing(QString::number(party.number));
    }
  }
  KindLine& line = findings.line();
  line.version1Rows = static_cast<int>(v1.size());
  line.version2Rows = v2.rows;
  for (auto it = v2.accountByNumber.cbegin(); it != v2.accountByNumber.cend(); ++it) {
    if (!numbers.contains(it.key())) ++line.onlyInVersion2;
  }
}

// ---- Invoices and returns ------------------------------------------------

// What version 2 should hold for a version-1 invoice or return.
struct ExpectedDocument {
  Money total = 0;
  Money discount = 0;
  Money net = 0;
  int keptLines = 0;     // lines the document keeps
  int droppedLines = 0;  // return lines of quantity 0.5 or less
  Money tolerance = 1;   // a cent per line
};

// A Null or 0 quantity counts as 1; a return keeps a line whose quantity
// rounds to a whole number above 0.
ExpectedDocument expectedOf(const Version1Document& document, bool isReturn) {
  ExpectedDocument expected;
  double gross = 0;
  for (const Version1DocumentLine& line : document.lines) {
    const double quantity = line.quantityIsNull || line.quantity == 0 ? 1 : line.quantity;
    gross += quantity * line.price;
    if (isReturn && quantity <= 0.5) {
      ++expected.droppedLines;
    } else {
      ++expected.keptLines;
    }
  }
  expected.total = ToMoney(gross);
  expected.discount = document.discount;
  expected.net = expected.total - expected.discount;
  expected.tolerance = std::max<Money>(1, static_cast<Money>(document.lines.size()));
  return expected;
}

struct DocumentKind {
  QString kind;  // "sales invoices"
  QString noun;  // "sales invoice"
  bool isReturn = false;
  bool isSales = false;
};

void compareDocument(const DocumentKind& kind, const Version1Document& document,
                     const ExpectedDocument& expected, const Version2Document& stored,
                     KindFindings& findings) {
  const QString number = QString::number(document.number);
  FieldList fields;
  fields.text(QStringLiteral("date"), document.date, stored.date);
  fields.text(QStringLiteral("party"), partyText(document.party), partyText(stored.party));
  if (stored.total)
    fields.money(QStringLiteral("total"), expected.total, *stored.total, expected.tolerance);
  if (stored.discount) {
    fields.money(QStringLiteral("discount"), expected.discount, *stored.discount,
                 expected.tolerance);
    if (kind.isSales && *stored.discount != expected.discount &&
        std::llabs(*stored.discount - expected.discount) <= expected.tolerance) {
      findings.onPurpose(number,
                         QStringLiteral("Its discount of %1 is shared out over the lines "
                                        "in whole cents, which stores %2.")
                             .arg(MoneyText(expected.discount), MoneyText(*stored.discount)));
    }
  }
  fields.money(QStringLiteral("net"), expected.net, stored.net, expected.tolerance);
  fields.count(QStringLiteral("lines"), expected.keptLines, stored.lines);
  findings.different(number, fields.take());
}

// Explanations of what version 2 changes on purpose in a document that
// arrives: recomputed totals and nets, dropped return lines.
void explainRecomputed(const DocumentKind& kind, const Version1Document& document,
                       const ExpectedDocument& expected, KindFindings& findings) {
  const QString number = QString::number(document.number);
  if (!kind.isReturn && std::llabs(document.total - expected.total) > expected.tolerance) {
    findings.onPurpose(number, QStringLiteral("Version 1 records a total of %1 but its lines come "
                                              "to %2; version 2 takes the total from the lines.")
                                   .arg(MoneyText(document.total), MoneyText(expected.total)));
  }
  if (std::llabs(document.net - expected.net) > expected.tolerance) {
    findings.onPurpose(number, QStringLiteral("Version 1 records a net of %1 but its lines less "
                                              "its discount come to %2; version 2 recomputes the "
                                              "net from the lines.")
                                   .arg(MoneyText(document.net), MoneyText(expected.net)));
  }
  if (expected.droppedLines > 0) {
    findings.onPurpose(number, QStringLiteral("%1 line(s) with a quantity of 0.5 or less are not "
                                              "stored, since version 2 keeps whole quantities; "
                                              "the net still counts them.")
                                   .arg(expected.droppedLines));
  }
}

void compareDocuments(const DocumentKind& kind, const std::vector<Version1Document>& v1,
                      const QHash<qint64, Version2Document>& v2, int v2Rows, Money v2Net,
                      const std::vector<Version1Document>* invoices, Reconciliation& result) {
  KindFindings findings(result, kind.kind, kind.noun);
  QSet<qint64> invoiceNumbers;
  if (invoices) {
    for (const Version1Document& invoice : *invoices) invoiceNumbers.insert(invoice.number);
  }
  SumLine net{QStringLiteral("net")};
  QSet<qint64> numbers;
  for (const Version1Document& document : v1) {
    net.version1 += document.net;
    const QString number = QString::number(document.number);
    if (numbers.contains(document.number)) {
      findings.onPurpose(number, QStringLiteral("Version 1 holds more than one %1 of this "
                                                "number; version 2 keeps one per number.")
                                     .arg(kind.noun));
      continue;
    }
    numbers.insert(document.number);
    const ExpectedDocument expected = expectedOf(document, kind.isReturn);
    const auto stored = v2.constFind(document.number);
    if (stored == v2.cend()) {
      if (kind.isReturn && !invoiceNumbers.contains(document.invoice)) {
        findings.onPurpose(number, QStringLiteral("It returns invoice %1, which version 1 does "
                                                  "not have; a return is moved with its invoice.")
                                       .arg(document.invoice));
      } else if (!kind.isReturn && !kind.isSales && document.lines.empty()) {
        findings.onPurpose(number, QStringLiteral("It has no lines, and version 2 takes no "
                                                  "purchase without at least one item."));
      } else {
        findings.missing(number);
      }
      continue;
    }
    net.expected += expected.net;
    explainRecomputed(kind, document, expected, findings);
    compareDocument(kind, document, expected, *stored, findings);
  }
  net.version2 = v2Net;
  KindLine& line = findings.line();
  line.version1Rows = static_cast<int>(v1.size());
  line.version2Rows = v2Rows;
  for (auto it = v2.cbegin(); it != v2.cend(); ++it) {
    if (!numbers.contains(it.key())) ++line.onlyInVersion2;
  }
  line.sums = {net};
}

// ---- Vouchers ------------------------------------------------------------

void compareVouchers(bool payments, const Version1Books& v1, const Version2Books& v2,
                     Reconciliation& result) {
  const QString noun = payments ? QStringLiteral("payment") : QStringLiteral("receipt");
  KindFindings findings(result, noun + 's', noun);
  const QHash<qint64, Version2Voucher>& stored = payments ? v2.payments : v2.receipts;
  const auto accountText = [&](int id) {
    return v2.accountNumbers.value(id, QStringLiteral("none"));
  };
  SumLine amount{QStringLiteral("amount")};
  QSet<qint64> numbers;
  int rows = 0;
  for (const Version1Voucher& voucher : v1.vouchers) {
    if (voucher.payment != payments) continue;
    ++rows;
    amount.version1 += voucher.amount;
    const QString number = QString::number(voucher.number);
    if (numbers.contains(voucher.number)) {
      findings.onPurpose(number, QStringLiteral("Version 1 holds more than one %1 of this number; "
                                                "version 2 keeps one per number.")
                                     .arg(noun));
      continue;
    }
    numbers.insert(voucher.number);
    const auto found = stored.constFind(voucher.number);
    if (found == stored.cend()) {
      findings.missing(number);
      continue;
    }
    amount.expected += voucher.amount;
    const Version2Parties& parties = voucher.provider ? v2.providers : v2.customers;
    FieldList fields;
    fields.text(QStringLiteral("date"), voucher.date, found->date);
    fields.money(QStringLiteral("amount"), voucher.amount, found->amount);
    fields.text(QStringLiteral("account"),
                accountText(parties.accountByNumber.value(voucher.party)),
                accountText(found->account));
    findings.different(number, fields.take());
  }
  amount.version2 = payments ? v2.paymentAmount : v2.receiptAmount;
  KindLine& line = findings.line();
  line.version1Rows = rows;
  line.version2Rows = payments ? v2.paymentRows : v2.receiptRows;
  for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
    if (!numbers.contains(it.key())) ++line.onlyInVersion2;
  }
  line.sums = {amount};
}

}  // namespace

Reconciliation Reconcile(const Version1Books& v1, const Version2Books& v2) {
  Reconciliation result;
  if (v1.hasAccounts) {
    compareAccounts(v1, v2, result);
    compareJournal(v1, v2, result);
  }
  if (v1.hasStock) {
    compareItems(v1, v2, result);
    compareParties(QStringLiteral("customers"), QStringLiteral("customer"), v1.customers,
                   v2.customers, result);
    compareParties(QStringLiteral("providers"), QStringLiteral("provider"), v1.providers,
                   v2.providers, result);
    compareDocuments(
        {QStringLiteral("sales invoices"), QStringLiteral("sales invoice"), false, true}, v1.sales,
        v2.sales, v2.salesRows, v2.salesNet, nullptr, result);
    compareDocuments(
        {QStringLiteral("purchase invoices"), QStringLiteral("purchase invoice"), false, false},
        v1.purchases, v2.purchases, v2.purchaseRows, v2.purchaseNet, nullptr, result);
    compareDocuments({QStringLiteral("sales returns"), QStringLiteral("sales return"), true, true},
                     v1.salesReturns, v2.salesReturns, v2.salesReturnRows, v2.salesReturnNet,
                     &v1.sales, result);
    compareDocuments(
        {QStringLiteral("purchase returns"), QStringLiteral("purchase return"), true, false},
        v1.purchaseReturns, v2.purchaseReturns, v2.purchaseReturnRows, v2.purchaseReturnNet,
        &v1.purchases, result);
    compareVouchers(false, v1, v2, result);
    compareVouchers(true, v1, v2, result);
  }
  return result;
}

}  // namespace qalvoro::verify
