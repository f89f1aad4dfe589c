#include "browser/AccountMaintenance.h"

#include <QSqlRecord>
#include <functional>

#include "browser/AccountChart.h"
#include "browser/ModuleAcc.h"
#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {
namespace {

// Values bound in one IN list; longer lists are handled in several
// statements.
constexpr size_t kInListChunk = 500;

// Calls run with "?,?,..." and the bound IDs for every chunk of ids; stops
// when run returns false.
void forEachChunk(const std::vector<qint64>& ids,
                  const std::function<bool(const QString&, const QVariantList&)>& run) {
  for (size_t start = 0; start < ids.size(); start += kInListChunk) {
    QStringList placeholders;
    QVariantList params;
    for (size_t i = start; i < std::min(ids.size(), start + kInListChunk); ++i) {
      placeholders << QStringLiteral("?");
      params << ids[i];
    }
    if (!run(placeholders.join(QLatin1Char(',')), params)) return;
  }
}

DbError noCurrentRecord() {
  return DbError(dberr::kNoCurrentRecord,
                 QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                "deleted. Requested operation requires a current record."));
}

int numberOf(const QVariant& value) { return static_cast<int>(Val(value.toString())); }

// The records that name an account by its ID, in the order a deletion
// checks them, and what the refusal says of each.
struct AccountUse {
  const char* table;
  const char* column;
  const char* use;
};
constexpr AccountUse kAccountUses[] = {
    {"GaidDetails", "AccNoID", "لايمكن حذفه بسبب وجود بعض القيود عليه"},
    {"Customer", "AccNoID", "لايمكن حذفه لأنه حساب أحد العملاء"},
    {"Provider", "AccNoID", "لايمكن حذفه لأنه حساب أحد الموردين"},
    {"Cashier", "AccID", "لايمكن حذفه لأنه حساب أحد الصناديق"},
    {"Receipt", "AccIDTo", "لايمكن حذفه لوجود سندات قبض عليه"},
    {"ReceiptDetails", "From_AccNoID", "لايمكن حذفه لوجود سندات قبض عليه"},
    {"Payment", "AccIDFrom", "لايمكن حذفه لوجود سندات صرف عليه"},
    {"PaymentDetails", "To_AccNoID", "لايمكن حذفه لوجود سندات صرف عليه"},
};

}  // namespace

qint64 AccountMaintenance::AccountId(const QString& number) const {
  return static_cast<qint64>(
      Val(LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"),
                      QStringLiteral("AccNo = ? AND BranchID = ?"), {number, branch_})));
}

AccountCard AccountMaintenance::Card(qint64 id) const {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT ID, AccNo, AccNameA, AccNameE, ffather, Haves, StartDebit, "
                     "StartCredit FROM CardAcc WHERE ID = ?"),
      {id});
  if (!row) throw noCurrentRecord();
  return AccountCard{row->value(0).toLongLong(), row->value(1).toString(), row->value(2).toString(),
                     row->value(3).toString(),   row->value(4).toString(), row->value(5).toInt(),
                     row->value(6).toDouble(),   row->value(7).toDouble()};
}

QString AccountMaintenance::AccountName(const QString& number, const QString& language) const {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT AccNameA, AccNameE FROM CardAcc WHERE AccNo = ? AND BranchID = ?"),
      {number, branch_});
  return row ? AccountChart::NameIn(row->value(0).toString(), row->value(1).toString(), language)
             : QString();
}

bool AccountMaintenance::HasJournalLines(qint64 id) const {
  return Val(LookupValue(QStringLiteral("GaidDetails"), QStringLiteral("ID"),
                         QStringLiteral("AccNoID = ?"), {id})) != 0;
}

QString AccountMaintenance::ProposedNumber(const QString& parent) const {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT MAX(AccNo) FROM CardAcc WHERE BranchID = ? AND ffather = ?"),
      {branch_, parent});
  if (!row || row->value(0).isNull()) return QStringLiteral("1");
  return QString::number(Val(row->value(0).toString()) + 1, 'g', 15);
}

bool AccountMaintenance::NumberTaken(const QString& number,
                                     const std::optional<QString>& exceptNumber) const {
  if (exceptNumber) {
    return MainConnection()
        .firstRow(QStringLiteral("SELECT AccNo FROM CardAcc WHERE BranchID = ? AND AccNo = ? "
                                 "AND AccNo <> ?"),
                  {branch_, number, *exceptNumber})
        .has_value();
  }
  return MainConnection()
      .firstRow(QStringLiteral("SELECT AccNo FROM CardAcc WHERE BranchID = ? AND AccNo = ?"),
                {branch_, number})
      .has_value();
}

void AccountMaintenance::Add(qint64 parentId, const QString& parentNumber, const QString& number,
                             const QString& nameA, const QString& nameE) {
  Transaction transaction(MainConnection());
  const auto parent = MainConnection().firstRow(
      QStringLiteral("SELECT ftype, debit, credit FROM CardAcc WHERE ID = ?"), {parentId});
  if (!parent) throw noCurrentRecord();
  MainConnection().execute(
      QStringLiteral("INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, ffather, ftype, "
                     "debit, credit, Haves, StartCredit, StartDebit, MaxBalance) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0)"),
      {branch_, number, nameA, nameE, parentNumber, numberOf(parent->value(0)),
       numberOf(parent->value(1)), numberOf(parent->value(2))});
  MainConnection().execute(QStringLiteral("UPDATE CardAcc SET Haves = Haves + 1 WHERE ID = ?"),
                           {parentId});
  UpdateSubCardsID(number, branch_);
  transaction.commit();
}

void AccountMaintenance::Edit(qint64 id, const QString& number, const QString& nameA,
                              const QString& nameE) {
  Transaction transaction(MainConnection());
  if (MainConnection().execute(
          QStringLiteral("UPDATE CardAcc SET AccNo = ?, AccNameA = ?, AccNameE = ? WHERE ID = ?"),
          {number, nameA, nameE, id}) == 0) {
    throw noCurrentRecord();
  }
  UpdateSubCardsID(number, branch_);
  transaction.commit();
}

AccountRemoval AccountMaintenance::PlanRemoval(const AccountCard& account) const {
  AccountRemoval removal{SubtreeIDs(branch_, account.number), std::nullopt};
  for (const AccountUse& use : kAccountUses) {
    const QString column = QLatin1String(use.column);
    forEachChunk(removal.ids, [&](const QString& placeholders, const QVariantList& ids) {
      const auto row =
          MainConnection().firstRow(QStringLiteral("SELECT %1 FROM %2 WHERE %1 IN (%3) ORDER BY %1")
                                        .arg(column, QLatin1String(use.table), placeholders),
                                    ids);
      if (!row) return true;
      removal.inUse = AccountInUse{LookupValue(QStringLiteral("CardAcc"), QStringLiteral("AccNo"),
                                               QStringLiteral("ID = ?"), {row->value(0)}),
                                   QString::fromUtf8(use.use)};
      return false;
    });
    if (removal.inUse) break;
  }
  return removal;
}

void AccountMaintenance::Remove(const AccountCard& account, const AccountRemoval& removal) {
  Transaction transaction(MainConnection());
  MainConnection().execute(
      QStringLiteral("UPDATE CardAcc SET Haves = Haves - 1 WHERE BranchID = ? AND AccNo = ?"),
      {branch_, account.father});
  forEachChunk(removal.ids, [](const QString& placeholders, const QVariantList& ids) {
    MainConnection().execute(
        QStringLiteral("DELETE FROM CardAcc WHERE ID IN (") + placeholders + QLatin1Char(')'), ids);
    return true;
  });
  if (AccountId(account.father) != 0) RefreshSubCardsFrom(account.father, branch_);
  transaction.commit();
}

}  // namespace qalvoro
