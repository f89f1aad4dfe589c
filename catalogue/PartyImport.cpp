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
                                       const QString& nameColumn) {
  const auto row = MainConnection().firstRow(
      QStringLiteral("SELECT fNo, %1 FROM %2 WHERE fNo = ? AND BranchID = ?")
          .arg(nameColumn, kind.table),
      {number, branch});
  if (!row) return std::nullopt;
  return ExistingParty{row->value(0).toString(), row->value(1).toString()};
}

int WriteParty(const PartyKind& kind, Recordset& parties, const PartyFields& fields, bool isNew) {
  WriteListRow(parties, isNew, QStringLiteral("fNo"), fields.number, [&] {
    const auto set = [&parties](const char* column, const QVariant& value) {
      parties.setValue(QString::fromLatin1(column), value);
    };
    const QString blank = QStringLiteral(" ");
    set("BranchID", fields.branch);
    set("AccNoID", 0);
    set("fNo", fields.number);
    set("AName", fields.name);
    set("EName", blank);
    set("APerson", fields.person);
    set("EPerson", blank);
    set("Phone", fields.phone);
    set("Fax", fields.fax);
    set("Mobile", blank);
    set("AAddress", fields.address);
    set("EAddress", blank);
    set("CountryID", -1);
    set("CityID", -1);
    for (const char* column : {"PBox", "Zip", "EMail", "URL"}) set(column, blank);
    for (const char* column : {"CreditDis", "CashDis"}) set(column, 0);
    if (kind.toBillDis) set("ToBillDis", 0);
    // The balances start at zero and are then the documents' work: an
    // overwritten party keeps what its imported documents have posted.
    if (!isNew) return;
    for (const char* column : {"StartDebit", "StartCredit", "Debit", "Credit", "Balance"}) {
      set(column, 0);
    }
  });
  return parties.value(QStringLiteral("ID")).toInt();
}

int PartyAccount(const PartyKind& kind, int partyId) {
  return static_cast<int>(
      Val(LookupValue(kind.table, QStringLiteral("AccNoID"), QStringLiteral("ID = ?"), {partyId})));
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
