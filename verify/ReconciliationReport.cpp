// How a reconciliation is shown: a table for people, JSON for the report
// file.

#include <QJsonArray>

#include "verify/Reconciliation.h"

namespace qalvoro::verify {
namespace {

QString name(const RecordName& record) { return record.kind + ' ' + record.number; }

QString fieldsText(const std::vector<FieldDifference>& fields) {
  QStringList parts;
  for (const FieldDifference& field : fields) {
    parts << QStringLiteral("%1 %2 in version 1, %3 in version 2")
                 .arg(field.field, field.expected, field.version2);
  }
  return parts.join(QStringLiteral("; "));
}

double amount(Money money) { return static_cast<double>(money) / 100; }

QJsonObject recordJson(const RecordName& record) {
  return {{QStringLiteral("kind"), record.kind}, {QStringLiteral("number"), record.number}};
}

}  // namespace

QString Reconciliation::ending() const {
  if (clean()) return QStringLiteral("nothing missing or different");
  return QStringLiteral("%1 missing, %2 different").arg(missing.size()).arg(different.size());
}

void Reconciliation::print(QTextStream& out) const {
  out << qSetFieldWidth(18) << Qt::left << "verify kind" << qSetFieldWidth(11) << Qt::right
      << "version 1"
      << "version 2"
      << "missing"
      << "different"
      << "on purpose"
      << "only in 2" << qSetFieldWidth(0) << "  " << qSetFieldWidth(16) << Qt::left << "amount"
      << qSetFieldWidth(14) << Qt::right << "version 1"
      << "expected"
      << "version 2" << qSetFieldWidth(0) << Qt::left << Qt::endl;
  for (const KindLine& line : kinds) {
    out << qSetFieldWidth(18) << Qt::left << line.kind << qSetFieldWidth(11) << Qt::right
        << line.version1Rows << line.version2Rows << line.missing << line.different
        << line.onPurpose << line.onlyInVersion2 << qSetFieldWidth(0);
    bool first = true;
    for (const SumLine& sum : line.sums) {
      if (!first) out << Qt::endl << QString(18 + 66, ' ');
      first = false;
      out << "  " << qSetFieldWidth(16) << Qt::left << sum.name << qSetFieldWidth(14) << Qt::right
          << MoneyText(sum.version1) << MoneyText(sum.expected) << MoneyText(sum.version2)
          << qSetFieldWidth(0) << Qt::left;
    }
    out << Qt::endl;
  }
  for (const RecordName& record : missing) {
    out << "missing: " << name(record) << " is not in version 2" << Qt::endl;
  }
  for (const Difference& difference : different) {
    out << "different: " << name(difference.record) << ": " << fieldsText(difference.fields)
        << Qt::endl;
  }
  if (!onPurpose.empty()) out << "on purpose (the migration's own rules, not losses):" << Qt::endl;
  for (const OnPurpose& note : onPurpose) {
    out << "  " << name(note.record) << ": " << note.explanation << Qt::endl;
  }
  out << "verify ended: " << ending() << Qt::endl;
}

QJsonObject Reconciliation::toJson() const {
  QJsonArray kindArray;
  for (const KindLine& line : kinds) {
    QJsonArray sums;
    for (const SumLine& sum : line.sums) {
      sums.append(QJsonObject{{QStringLiteral("name"), sum.name},
                              {QStringLiteral("version1"), amount(sum.version1)},
                              {QStringLiteral("expected"), amount(sum.expected)},
                              {QStringLiteral("version2"), amount(sum.version2)}});
    }
    kindArray.append(QJsonObject{{QStringLiteral("kind"), line.kind},
                                 {QStringLiteral("version1Rows"), line.version1Rows},
                                 {QStringLiteral("version2Rows"), line.version2Rows},
                                 {QStringLiteral("missing"), line.missing},
                                 {QStringLiteral("different"), line.different},
                                 {QStringLiteral("onPurpose"), line.onPurpose},
                                 {QStringLiteral("onlyInVersion2"), line.onlyInVersion2},
                                 {QStringLiteral("sums"), sums}});
  }
  QJsonArray missingArray;
  for (const RecordName& record : missing) missingArray.append(recordJson(record));
  QJsonArray differentArray;
  for (const Difference& difference : different) {
    QJsonArray fields;
    for (const FieldDifference& field : difference.fields) {
      fields.append(QJsonObject{{QStringLiteral("field"), field.field},
                                {QStringLiteral("version1"), field.expected},
                                {QStringLiteral("version2"), field.version2}});
    }
    QJsonObject entry = recordJson(difference.record);
    entry.insert(QStringLiteral("fields"), fields);
    differentArray.append(entry);
  }
  QJsonArray onPurposeArray;
  for (const OnPurpose& note : onPurpose) {
    QJsonObject entry = recordJson(note.record);
    entry.insert(QStringLiteral("explanation"), note.explanation);
    onPurposeArray.append(entry);
  }
  return {
      {QStringLiteral("kinds"), kindArray},          {QStringLiteral("missing"), missingArray},
      {QStringLiteral("different"), differentArray}, {QStringLiteral("onPurpose"), onPurposeArray},
      {QStringLiteral("ended"), ending()},           {QStringLiteral("exitCode"), exitCode()}};
}

}  // namespace qalvoro::verify
