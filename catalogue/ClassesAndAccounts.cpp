#include "catalogue/ClassesAndAccounts.h"

#include <array>
#include <cmath>
#include <optional>

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {
namespace {

constexpr std::array<const char*, 10> kPostingAccounts = {
    "AccID_Cash_S",  "AccID_Credit_S",  "AccID_ToBill_S",  "AccID_Cash_B",  "AccID_Credit_B",
    "AccID_Cash_SR", "AccID_Credit_SR", "AccID_ToBill_SR", "AccID_Cash_BR", "AccID_Credit_BR"};

int numberOf(const QString& text) { return static_cast<int>(Val(text)); }

int accountId(const QString& condition, const QVariantList& params) {
  return numberOf(LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"), condition, params));
}

// The number of the next child under a parent number: the greatest child
// number plus one, or the parent number followed by "001".
QString nextChildNumber(const QString& parentNo, int branch) {
  const auto greatest = MainConnection().firstRow(
      QStringLiteral("SELECT MAX(AccNo) FROM CardAcc WHERE BranchID = ? AND ffather = ?"),
      {branch, parentNo});
  if (!greatest || greatest->value(0).isNull()) return parentNo + QStringLiteral("001");
  return QString::number(std::llround(Val(greatest->value(0).toString()) + 1));
}

}  // namespace

QString NamedRow::shown(const QString& language) const {
  return language == QLatin1String("E") && !nameE.trimmed().isEmpty() ? nameE : name;
}

std::optional<NamedRow> FindNamedRow(const QString& table, const QString& name, int branch) {
  const auto row =
      MainConnection().firstRow(QStringLiteral("SELECT ID, AName, EName FROM ") + table +
                                    QStringLiteral(" WHERE BranchID = ? AND AName = ?"),
                                {branch, name});
  if (!row) return std::nullopt;
  return NamedRow{row->value(0).toInt(), row->value(1).toString(), row->value(2).toString()};
}

NamedRow EnsureNamedRow(const QString& table, const QString& name, int branch,
                        const std::function<void()>& insert) {
  auto row = FindNamedRow(table, name, branch);
  while (!row) {
    insert();
    row = FindNamedRow(table, name, branch);
  }
  return *row;
}

std::vector<NamedRow> ClassesOf(int branch) {
  Recordset rows;
  rows.open(QStringLiteral("SELECT ID, AName, EName FROM Class WHERE BranchID = ? ORDER BY ID"),
            MainConnection(), LockType::ReadOnly, {branch});
  std::vector<NamedRow> classes;
  for (; !rows.eof(); rows.moveNext()) {
    classes.push_back({rows.value(QStringLiteral("ID")).toInt(), rows.text(QStringLiteral("AName")),
                       rows.text(QStringLiteral("EName"))});
  }
  return classes;
}

NamedRow EnsureClassNamed(const QString& name, int branch) {
  return EnsureNamedRow(QStringLiteral("Class"), name, branch, [&] {
    QStringList columns = {QStringLiteral("fNo"), QStringLiteral("BranchID"),
                           QStringLiteral("AName"), QStringLiteral("EName")};
    QVariantList values = {GetMaxValue(QStringLiteral("Class"), QStringLiteral("fNo"),
                                       QStringLiteral("BranchID = ?"), {branch}),
                           branch, name, QStringLiteral(" ")};
    QStringList accounts;
    for (const char* account : kPostingAccounts) accounts << QString::fromLatin1(account);
    const auto first = MainConnection().firstRow(
        QStringLiteral("SELECT %1 FROM Class WHERE BranchID = ?").arg(accounts.join(", ")),
        {branch});
    for (int i = 0; i < accounts.size(); ++i) {
      columns << accounts[i];
      values << (first ? numberOf(first->value(i).toString()) : 0);
    }
    const QString marks = QStringList(columns.size(), QStringLiteral("?")).join(", ");
    MainConnection().execute(QStringLiteral("INSERT INTO Class (%1) VALUES (%2)")
                                 .arg(columns.join(QStringLiteral(", ")), marks),
                             values);
  });
}

std::vector<std::pair<QString, int>> CashierAccounts(int branch, const QString& language) {
  const QString name = QStringLiteral("AccName") + language;
  Recordset rows;
  rows.open(QStringLiteral("SELECT CardAcc.ID, CardAcc.AccNo, CardAcc.%1, Cashier.BranchID "
                           "FROM CardAcc INNER JOIN Cashier ON CardAcc.ID = Cashier.AccID "
                           "WHERE Cashier.BranchID = ? ORDER BY CardAcc.%1")
                .arg(name),
            MainConnection(), LockType::ReadOnly, {branch});
  std::vector<std::pair<QString, int>> accounts;
  for (; !rows.eof(); rows.moveNext()) {
    accounts.emplace_back(rows.text(name), rows.value(QStringLiteral("ID")).toInt());
  }
  return accounts;
}

ChildAccount PlanChildAccount(const QString& parentNo, const QString& name, int branch) {
  if (const int existing =
          accountId(QStringLiteral("AccNameA = ? AND ffather = ? AND BranchID = ?"),
                    {name, parentNo, branch});
      existing != 0) {
    return {existing, {}};
  }
  // The parent's ID, type and flags; all 0 when the parent does not exist.
  const auto parent = MainConnection().firstRow(
      QStringLiteral(
          "SELECT ID, ftype, credit, debit FROM CardAcc WHERE AccNo = ? AND BranchID = ?"),
      {parentNo, branch});
  const auto parentValue = [&parent](int column) {
    return parent ? numberOf(parent->value(column).toString()) : 0;
  };
  ChildAccount child;
  child.writes.push_back(
      {QStringLiteral("INSERT INTO CardAcc (Haves, ffather, ftype, credit, debit, StartCredit, "
                      "StartDebit, BranchID, MaxBalance, AccNo, AccNameA, AccNameE) "
                      "VALUES (0, ?, ?, ?, ?, 0, 0, ?, 0, ?, ?, ' ')"),
       {parentNo, parentValue(1), parentValue(2), parentValue(3), branch,
        nextChildNumber(parentNo, branch), name}});
  if (const int parentId = parentValue(0); parentId != 0) {
    child.writes.push_back(
        {QStringLiteral("UPDATE CardAcc SET Haves = Haves + 1 WHERE ID = ?"), {parentId}});
  }
  return child;
}

int CreateChildAccount(const QString& parentNo, const QString& name, int branch) {
  const ChildAccount child = PlanChildAccount(parentNo, name, branch);
  if (child.existingId != 0) return child.existingId;
  return static_cast<int>(MainConnection().writeAll(child.writes).front().keys.front());
}

}  // namespace qalvoro
