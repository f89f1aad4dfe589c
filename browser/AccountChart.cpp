#include "browser/AccountChart.h"

#include <QSqlQuery>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro::AccountChart {
namespace {

const QString kNumberSeparator = QStringLiteral("==");

bool english(const QString& language) { return language == QLatin1String("E"); }

}  // namespace

std::vector<ChartAccount> Read(int branch) {
  QSqlQuery& rows = MainConnection().runPrepared(
      QStringLiteral("SELECT AccNo, AccNameA, AccNameE, ffather, ftype, Haves FROM CardAcc "
                     "WHERE BranchID = ? "
                     "ORDER BY CASE WHEN ffather = '_' THEN 0 ELSE 1 END, ffather, AccNo"),
      {branch});
  std::vector<ChartAccount> accounts;
  while (rows.next()) {
    accounts.push_back({rows.value(0).toString(), rows.value(1).toString(),
                        rows.value(2).toString(), rows.value(3).toString(), rows.value(4).toInt(),
                        rows.value(5).toInt()});
  }
  return accounts;
}

QString BranchName(int branch, const QString& language) {
  return LookupValue(QStringLiteral("Branch"),
                     english(language) ? QStringLiteral("EName") : QStringLiteral("AName"),
                     QStringLiteral("ID = ?"), {branch});
}

QString NameIn(const QString& nameA, const QString& nameE, const QString& language) {
  return english(language) && !nameE.trimmed().isEmpty() ? nameE : nameA;
}

QString NodeText(const ChartAccount& account, const QString& language) {
  return NameIn(account.nameA, account.nameE, language) + kNumberSeparator + account.number;
}

QString ImageKey(const ChartAccount& account) {
  static const QString kTypeLetters[] = {QStringLiteral("Y"), QStringLiteral("R"),
                                         QStringLiteral("G")};
  const QString shape = account.haves > 0 ? QStringLiteral("Close") : QStringLiteral("Page");
  const bool knownType = account.type >= 0 && account.type <= 2;
  return knownType ? shape + kTypeLetters[account.type] : shape;
}

bool NodeMatches(QStringView nodeText, QStringView search, bool byName, int mode) {
  if (mode == 1) return nodeText.contains(search);
  if (byName) return nodeText.startsWith(search);
  const qsizetype separator = nodeText.indexOf(kNumberSeparator);
  return separator >= 0 && nodeText.mid(separator + kNumberSeparator.size()).startsWith(search);
}

}  // namespace qalvoro::AccountChart
