#include "catalogue/PartyImport.h"

#include "host/Globals.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/helpers/DbHelpers.h"

namespace qalvoro {

const PartyKind& CustomerParty() {
  static const PartyKind kind{QStringLiteral("Customer"), QStringLiteral("العملاء"),
                              QStringLiteral("رقم_العميل"), QStringLiteral("Customer"), true};
  return kind;
}

const PartyKind& ProviderParty() {
  static const PartyKind kind{QStringLiteral("Provider"), QStringLiteral("الموردين"),
                              QStringLiteral("رقم_المورد"), QString(), false};
  return kind;
}

namespace PartyImport {
namespace {

// The texts of a party row that differ between the ways it is written; the
// other columns are always the same.
struct PartyTexts {
  QString name;
  QString person;
  QString phone;
  QString fax;
  QString address;
};

void insertParty(const PartyKind& kind, int branch, int number, const PartyTexts& texts) {
  QStringList amounts = {QStringLiteral("CreditDis"), QStringLiteral("CashDis")};
  if (kind.toBillDis) amounts << QStringLiteral("ToBillDis");
  amounts << QStringLiteral("StartDebit") << QStringLiteral("StartCredit")
          << QStringLiteral("Debit") << QStringLiteral("Credit") << QStringLiteral("Balance");
  const QString zeros = QStringList(amounts.size(), QStringLiteral("0")).join(QStringLiteral(", "));
  MainConnection().execute(
      QStringLiteral("INSERT INTO ") + kind.table +
          QStringLiteral(" (BranchID, AccNoID, fNo, AName, EName, APerson, EPerson, Phone, Fax, "
                         "Mobile, AAddress, EAddress, CountryID, CityID, PBox, Zip, EMail, URL, ") +
          amounts.join(QStringLiteral(", ")) +
          QStringLiteral(") VALUES (?, 0, ?, ?, ' ', ?, ' ', ?, ?, ' ', ?, ' ', -1, -1, ' ', ' ', "
                         "' ', ' ', ") +
          zeros + QStringLiteral(")"),
      {branch, number, texts.name, texts.person, texts.phone, texts.fax, texts.address});
}

int partyId(const PartyKind& kind, int number, int branch) {
  return static_cast<int>(
      Val(LookupValue(kind.table, QStringLiteral("ID"), QStringLiteral("fNo = ? AND BranchID = ?"),
                      {number, branch})));
}

}  // namespace

std::optional<ExistingParty> FindParty(const PartyKind& kind, int number, int branch,
                                       const QString& nameColumn, std::optional<TableLock>& lock) {
  const QString sql = QStringLiteral("SELECT fNo, %1 FROM %2 WHERE fNo = ? AND BranchID = ?")
                          .arg(nameColumn, kind.table);
  std::optional<std::vector<QVariant>> row;
  if (kind.lock.isEmpty()) {
    if (const auto found = MainConnection().firstRow(sql, {number, branch})) {
      row = std::vector<QVariant>{found->value(0), found->value(1)};
    }
  } else {
    lock.emplace(kind.lock, sql, QVariantList{number, branch});
    row = lock->read();
  }
  if (!row) return std::nullopt;
  return ExistingParty{row->at(0).toString(), row->at(1).toString()};
}

namespace {

// The columns of a party row as the tab writes them; the balances only for
// a new party, whose balances start at zero and are then the documents'
// work: an overwritten party keeps what its imported documents posted.
ColumnValues partyValues(const PartyKind& kind, const PartyFields& fields, const QVariant& account,
                         bool isNew) {
  const QString blank = QStringLiteral(" ");
  ColumnValues values = {{QStringLiteral("BranchID"), fields.branch},
                         {QStringLiteral("AccNoID"), account},
                         {QStringLiteral("fNo"), fields.number},
                         {QStringLiteral("AName"), fields.name},
                         {QStringLiteral("EName"), blank},
                         {QStringLiteral("APerson"), fields.person},
                         {QStringLiteral("EPerson"), blank},
                         {QStringLiteral("Phone"), fields.phone},
                         {QStringLiteral("Fax"), fields.fax},
                         {QStringLiteral("Mobile"), blank},
                         {QStringLiteral("AAddress"), fields.address},
                         {QStringLiteral("EAddress"), blank},
                         {QStringLiteral("CountryID"), -1},
                         {QStringLiteral("CityID"), -1}};
  for (const char* column : {"PBox", "Zip", "EMail", "URL"}) {
    values.emplace_back(QString::fromLatin1(column), blank);
  }
  for (const char* column : {"CreditDis", "CashDis"}) {
    values.emplace_back(QString::fromLatin1(column), 0);
  }
  if (kind.toBillDis) values.emplace_back(QStringLiteral("ToBillDis"), 0);
  if (!isNew) return values;
  for (const char* column : {"StartDebit", "StartCredit", "Debit", "Credit", "Balance"}) {
    values.emplace_back(QString::fromLatin1(column), 0);
  }
  return values;
}

}  // namespace

int OverwriteParty(const PartyKind& kind, Recordset& parties, const PartyFields& fields) {
  WriteListRow(parties, false, QStringLiteral("fNo"), fields.number, [&] {
    for (const auto& [column, value] : partyValues(kind, fields, 0, false)) {
      parties.setValue(column, value);
    }
  });
  return parties.value(QStringLiteral("ID")).toInt();
}

Connection::Write NewPartyWrite(const PartyKind& kind, const PartyFields& fields,
                                const QVariant& account) {
  return InsertWrite(kind.table, partyValues(kind, fields, account, true));
}

std::optional<std::pair<int, int>> PartyAndAccount(const PartyKind& kind, int number, int branch) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT ID, AccNoID FROM %1 WHERE fNo = ? AND BranchID = ?").arg(kind.table),
      {number, branch});
  if (!row) return std::nullopt;
  return std::pair{row->value(0).toInt(), static_cast<int>(Val(row->value(1).toString()))};
}

void SetPartyAccount(const PartyKind& kind, int partyId, int accountId) {
  MainConnection().execute(
      QStringLiteral("UPDATE ") + kind.table + QStringLiteral(" SET AccNoID = ? WHERE ID = ?"),
      {accountId, partyId});
}

int EnsureParty(const PartyKind& kind, Connection& version1, int number, int version1Branch,
                int version2Branch) {
  if (const int found = partyId(kind, number, version2Branch); found != 0) return found;
  Recordset party;
  party.open(QStringLiteral("SELECT * FROM %1 WHERE رقم_الفرع = ? AND %2 = ?")
                 .arg(kind.version1Table, kind.numberColumn),
             version1, LockType::ReadOnly, {version1Branch, number});
  if (!party.eof()) {
    insertParty(kind, version2Branch, party.value(kind.numberColumn).toInt(),
                {party.text(QStringLiteral("الاسم")), party.text(QStringLiteral("الشخص_المسئول")),
                 party.text(QStringLiteral("هاتف")), party.text(QStringLiteral("فاكس")),
                 party.text(QStringLiteral("العنوان"))});
  } else {
    const QString blank = QStringLiteral(" ");
    insertParty(kind, version2Branch, number,
                {QStringLiteral("??"), blank, blank, blank, QString()});
  }
  return partyId(kind, number, version2Branch);
}

NamedRow EnsureProviderNamed(const QString& name, int branch) {
  return EnsureNamedRow(QStringLiteral("Provider"), name, branch, [&] {
    const int number = GetMaxValue(QStringLiteral("Provider"), QStringLiteral("fNo"),
                                   QStringLiteral("BranchID = ?"), {branch});
    insertParty(ProviderParty(), branch, number, {name, {}, {}, {}, {}});
  });
}

}  // namespace PartyImport
}  // namespace qalvoro
