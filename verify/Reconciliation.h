#pragma once

#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <vector>

#include "verify/Books.h"

namespace qalvoro::verify {

// Exit code of a verification that found something missing or different.
inline constexpr int kVerifyFoundDifferences = 4;

// One money sum of a kind: what version 1 holds, what version 2 should hold
// by the rules below, and what it holds.
struct SumLine {
  QString name;
  Money version1 = 0;
  Money expected = 0;
  Money version2 = 0;
};

// One kind of record side by side.
struct KindLine {
  QString kind;
  int version1Rows = 0;
  int version2Rows = 0;
  int missing = 0;
  int different = 0;
  int onPurpose = 0;
  int onlyInVersion2 = 0;  // numbers version 1 does not have
  std::vector<SumLine> sums;
};

struct FieldDifference {
  QString field;
  QString expected;  // what version 1 makes it
  QString version2;
};

// A record of version 1: its kind ("sales invoice") and number.
struct RecordName {
  QString kind;
  QString number;
};

struct Difference {
  RecordName record;
  std::vector<FieldDifference> fields;
};

// A difference the migration makes on purpose, in a bookkeeper's words.
struct OnPurpose {
  RecordName record;
  QString explanation;
};

// What a verification found for one branch.
struct Reconciliation {
  std::vector<KindLine> kinds;
  std::vector<RecordName> missing;
  std::vector<Difference> different;
  std::vector<OnPurpose> onPurpose;

  bool clean() const { return missing.empty() && different.empty(); }
  int exitCode() const { return clean() ? 0 : kVerifyFoundDifferences; }
  // "nothing missing or different", or "1 missing, 2 different".
  QString ending() const;
  // The table, the lists and an "ended:" line.
  void print(QTextStream& out) const;
  QJsonObject toJson() const;
};

// Compares the books of both sides kind by kind. What version 2 should hold
// is derived from the version-1 rows by plain rules:
//   - an account arrives unless it has no number or name, or its parent
//     exists in neither version; its opening balances unchanged;
//   - every journal entry of the file arrives with its first line's date and
//     the totals of all its lines; its lines are those whose account version
//     2 has;
//   - an invoice's total is the sum of its lines (quantity x price, a Null
//     or 0 quantity counting as 1), its discount the version-1 discount, its
//     net the total less the discount; it keeps every line and its party's
//     number (0: walk-in);
//   - a return's net is reckoned the same way; it keeps the lines whose
//     quantity rounds to at least 1, and arrives only with its invoice;
//   - a voucher keeps its number, date and amount, and is posted to the
//     account version 2 gives its party.
// Amounts match within a cent per line (each line is rounded to cents).
Reconciliation Reconcile(const Version1Books& version1, const Version2Books& version2);

}  // namespace qalvoro::verify
