// The views and imports of the item, customer and provider tabs, and the
// lookup-or-create services of the catalogue window.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdlib>
#include <optional>

#include "browser/FrmBrowseAcc.h"
#include "catalogue/ClassesAndAccounts.h"
#include "catalogue/FrmCat_Restore.h"
#include "catalogue/ItemImport.h"
#include "catalogue/PartyImport.h"
#include "host/Globals.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/ErrorSteps.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

using Outcome = ImportReport::Outcome;

const QString kCategoryLock = QStringLiteral("Category");
const QString kLineBreak = QStringLiteral("\r\n");

// A party number as the number boxes show it before it is written: at least
// four digits.
QString fourDigits(qint32 number) {
  const QString digits =
      QString::number(std::llabs(qint64{number})).rightJustified(4, QLatin1Char('0'));
  return number < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace

void FrmCat_Restore::report(const QString& key, Outcome outcome, const QString& reason) {
  if (report_) report_->record(key, outcome, reason);
}

void FrmCat_Restore::ShowItem() {
  ClearItemFields();
  SetButtonState(2);
  if (!hasCurrentRow()) {
    SetButtonState(0);
    return;
  }
  const Recordset& row = version1Rows_;
  TxtCategoryNo->setText(row.text(QStringLiteral("رقم_الصنف")));
  if (!row.isNull(QStringLiteral("الوصف"))) TxtAName->setText(row.text(QStringLiteral("الوصف")));
  TxtAName->setText(TxtAName->text().replace('*', 'x'));
  const auto showNumber = [&row](QLineEdit* box, const char* column) {
    const QString name = QString::fromUtf8(column);
    if (!row.isNull(name)) box->setText(GeneralNumber(row.value(name).toDouble()));
  };
  showNumber(TxtAQuantity, "كميه_متوفره");
  showNumber(TxtRQuantity, "كميه_مطلوبه");
  showNumber(TxtIQuantity, "كميه_الجرد");
  showNumber(TxtRPoint, "نقطه_الطلب");
  const std::array<std::pair<QLineEdit*, const char*>, 6> amounts = {{
      {TxtCostPrice, "سعر_التكلفه"},
      {txtPrice[0], "نسبه_بيع_قطاعي"},
      {txtPrice[1], "نسبه_بيع_جمله"},
      {txtPrice[2], "سعر_بيع_قطاعي"},
      {txtPrice[3], "ادنى_سعر_بيع"},
      {txtPrice[4], "سعر_بيع_جمله"},
  }};
  for (const auto& [box, column] : amounts) {
    box->setText(Format(row.value(QString::fromUtf8(column)).toDouble(), globals().DecimalFormat));
  }
  txtPrice[5]->setText(QStringLiteral("0.00"));
  txtTasneef->setText(row.text(QStringLiteral("التصنيف")));
  // With the classification imported as classes, the class box shows the
  // item's class, or nothing while the branch has none of that name.
  if (ChkClass->isChecked()) {
    const auto itemClass = findNamed(QStringLiteral("Class"), txtTasneef->text().trimmed());
    if (itemClass) {
      selectNamedEntry(*itemClass);
    } else {
      CboClass->setCurrentIndex(-1);
    }
  }
  OptType[0]->setChecked(true);
  showPosition();
}

void FrmCat_Restore::ImportItem() {
  const QString key = TxtCategoryNo->text();
  if (key.isEmpty()) {
    MsgBox(QStringLiteral("إدخل رقم الصنف"), mb::kInformation);
    TxtCategoryNo->setFocus();
    return report(key, Outcome::Refused, QStringLiteral("no item number"));
  }
  if (TxtAName->text().isEmpty() && TxtEName->text().isEmpty()) {
    MsgBox(QStringLiteral("إدخل اسم الصنف"), mb::kInformation);
    TxtAName->setFocus();
    return report(key, Outcome::Refused, QStringLiteral("no item name"));
  }
  // Every step shows its errors with Abort, Retry and Ignore; Abort drops
  // the row being written and frees the lock.
  const int style = mb::kInformation | globals().MsgBoxRtlFlags;
  const auto step = [&](const std::function<void()>& work) {
    if (RunStep(work, style) == StepEnd::Next) return true;
    version2Rows_.cancelUpdate();
    SetTableLock(QStringLiteral("UnLock"), kCategoryLock);
    report(key, Outcome::Refused, QStringLiteral("aborted after an error"));
    return false;
  };
  const QString classification = txtTasneef->text().trimmed();
  if (!step([&] {
        if (ChkClass->isChecked()) EnsureClassByName(classification);
        if (ChkProvider->isChecked()) EnsureProviderByName(classification);
      })) {
    return;
  }
  platform().doEvents();
  if (OverwriteAnswer == 5) return;
  std::optional<ExistingItem> existing;
  IsNewRecord = true;
  if (!step(
          [&] { existing = ItemImport::LockAndFindItem(kCategoryLock, key, version2Branch()); })) {
    return;
  }
  IsNewRecord = !existing;
  if (existing) {
    if (!step([&] { SetTableLock(QStringLiteral("UnLock"), kCategoryLock); })) return;
    if (OverwriteAnswer < 3) {
      const QString number = Translate(QStringLiteral("رقم الصنف :"));
      const QString name = Translate(QStringLiteral("الوصف :"));
      OverwriteAnswer =
          AskOverwrite(number + existing->categoryNo + kLineBreak + name + existing->nameA,
                       number + version1Rows_.text(QStringLiteral("رقم_الصنف")) + kLineBreak +
                           name + version1Rows_.text(QStringLiteral("الوصف")));
    }
    if (OverwriteAnswer == 2 || OverwriteAnswer == 4 || OverwriteAnswer == 5) {
      if (OverwriteAnswer != 5) report(key, Outcome::Skipped);
      return;
    }
  }
  ItemFields fields;
  fields.categoryNo = key;
  fields.nameA = TxtAName->text();
  fields.nameE = TxtEName->text();
  fields.location = TxtLocation->text();
  fields.aQuantity = Val(TxtAQuantity->text());
  fields.rQuantity = Val(TxtRQuantity->text());
  fields.iQuantity = Val(TxtIQuantity->text());
  fields.rPoint = Val(TxtRPoint->text());
  fields.costPrice = Val(TxtCostPrice->text());
  for (int i = 0; i < 5; ++i) fields.prices[i] = Val(txtPrice[i]->text());
  if (ChkProvider->isChecked()) {
    fields.classId = DefaultClassID;
    fields.providerId = SelectedItemData(*CboClass);
  } else {
    fields.classId = SelectedItemData(*CboClass);
  }
  fields.service = OptType[1]->isChecked();
  fields.unit = SelectedItemData(*CboUnit);
  fields.branch = version2Branch();
  bool written = false;
  if (!step([&] {
        ItemImport::WriteItem(fields, existing, kCategoryLock);
        written = true;
      })) {
    return;
  }
  if (written) return report(key, IsNewRecord ? Outcome::Imported : Outcome::Overwritten);
  if (!step([&] { SetTableLock(QStringLiteral("UnLock"), kCategoryLock); })) return;
  report(key, Outcome::Refused, QStringLiteral("not written after an error"));
}

void FrmCat_Restore::showParty(const PartyTab& party) {
  for (QLineEdit* box :
       {party.number, party.name, party.person, party.address, party.phone, party.fax}) {
    box->clear();
  }
  SetButtonState(2);
  if (!hasCurrentRow()) {
    SetButtonState(0);
    return;
  }
  const Recordset& row = version1Rows_;
  party.number->setText(row.text(party.kind->numberColumn));
  party.name->setText(row.text(QStringLiteral("الاسم")));
  party.person->setText(row.text(QStringLiteral("الشخص_المسئول")));
  party.address->setText(row.text(QStringLiteral("العنوان")));
  party.phone->setText(row.text(QStringLiteral("هاتف")));
  party.fax->setText(row.text(QStringLiteral("فاكس")));
  showPosition();
}

void FrmCat_Restore::ShowCustomer() { showParty(customer_); }

void FrmCat_Restore::ShowProvider() { showParty(provider_); }

void FrmCat_Restore::ImportCustomer() { importParty(customer_); }

void FrmCat_Restore::ImportProvider() { importParty(provider_); }

// The parent-account check of the first party (or voucher) of a run: the
// run stops when the parent account number of the party's kind names no
// account of the version-2 branch.
bool FrmCat_Restore::parentAccountMissing(const QLineEdit& parentAccount, const PartyTab& party) {
  const QString parentNo = parentAccount.text();
  if (Val(LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"),
                      QStringLiteral("AccNo = ? AND BranchID = ?"),
                      {parentNo, version2Branch()})) != 0) {
    return false;
  }
  MsgBox(QString::fromUtf8(party.texts->noAccount), mb::kInformation);
  stopAt("parent account '" + parentNo + "' is not an account of the version-2 branch");
  return true;
}

void FrmCat_Restore::importParty(PartyTab& party) {
  const PartyKind& kind = *party.kind;
  if (FirstRecordPending && parentAccountMissing(*party.parentAccount, party)) return;
  FirstRecordPending = false;
  const qint32 number = CLng(party.number->text());
  if (number == 0) {
    MsgBox(QString::fromUtf8(party.texts->noNumber), mb::kInformation);
    party.number->setFocus();
    return report(party.number->text(), Outcome::Refused, QStringLiteral("no number"));
  }
  party.number->setText(fourDigits(number));
  const QString key = party.number->text();
  if (party.name->text().isEmpty()) {
    MsgBox(QString::fromUtf8(party.texts->noName), mb::kInformation);
    party.name->setFocus();
    return report(key, Outcome::Refused, QStringLiteral("no name"));
  }
  platform().doEvents();
  if (OverwriteAnswer == 5) return;
  const PartyFields fields{number,
                           party.name->text(),
                           party.person->text(),
                           party.address->text(),
                           party.phone->text(),
                           party.fax->text(),
                           version2Branch()};
  std::optional<TableLock> lock;
  IsNewRecord = true;
  const QString nameColumn = party.texts->promptNameInLanguage
                                 ? GetLanguage() + QStringLiteral("Name")
                                 : QStringLiteral("AName");
  if (const auto existing =
          PartyImport::FindParty(kind, fields.number, fields.branch, nameColumn, lock)) {
    IsNewRecord = false;
    if (lock) lock->release();
    if (OverwriteAnswer < 3) {
      const QString caption = Translate(QString::fromUtf8(party.texts->numberCaption));
      const QString name = Translate(QStringLiteral("الاسم :"));
      OverwriteAnswer =
          AskOverwrite(caption + existing->number + kLineBreak + name + existing->name,
                       caption + version1Rows_.text(kind.numberColumn) + kLineBreak + name +
                           version1Rows_.text(QStringLiteral("الاسم")));
    }
    if (OverwriteAnswer == 2 || OverwriteAnswer == 4 || OverwriteAnswer == 5) {
      if (OverwriteAnswer != 5) report(key, Outcome::Skipped);
      return;
    }
  }
  // The party, its own account with the parent's Haves, and the link are
  // written together or not at all; a new party with the lock's end.
  if (IsNewRecord) {
    std::vector<Connection::Write> writes;
    QVariant account = 0;
    if (party.addAccount->isChecked()) {
      ChildAccount child =
          PlanChildAccount(party.parentAccount->text(), fields.name, version2Branch());
      account = child.existingId != 0 ? QVariant(child.existingId) : Connection::keyOf(0);
      writes = std::move(child.writes);
    }
    writes.push_back(PartyImport::NewPartyWrite(kind, fields, account));
    if (lock) writes.push_back(lock->unlockWrite());
    MainConnection().writeAll(writes);
    if (lock) lock->released();
  } else {
    Transaction transaction(MainConnection());
    const int partyId = PartyImport::OverwriteParty(kind, version2Rows_, fields);
    if (party.addAccount->isChecked()) {
      const int account = CreateChildAccount(party.parentAccount->text(), fields.name);
      PartyImport::SetPartyAccount(kind, partyId, account);
    }
    transaction.commit();
  }
  report(key, IsNewRecord ? Outcome::Imported : Outcome::Overwritten);
}

QVariant FrmCat_Restore::lookedUp(const QString& key, const std::function<QVariant()>& lookup) {
  return run_.running() ? lookups_.value(key, lookup) : lookup();
}

QString FrmCat_Restore::namedKey(const QString& table, const QString& name) const {
  return QStringLiteral("%1/%2/%3").arg(table).arg(version2Branch()).arg(name);
}

std::optional<NamedRow> FrmCat_Restore::findNamed(const QString& table, const QString& name) {
  const QVariant row = lookedUp(namedKey(table, name), [&] {
    const auto found = FindNamedRow(table, name, version2Branch());
    return found ? QVariant::fromValue(*found) : QVariant();
  });
  if (!row.isValid()) return std::nullopt;
  return row.value<NamedRow>();
}

NamedRow FrmCat_Restore::ensureNamed(const QString& table, const QString& name,
                                     const std::function<NamedRow()>& ensure) {
  if (const auto found = findNamed(table, name)) return *found;
  const NamedRow row = ensure();
  if (run_.running()) {
    lookups_.keep(namedKey(table, name), QVariant::fromValue(row));
  }
  return row;
}

int FrmCat_Restore::EnsureItem(const QString& number) {
  const int id = lookedUp(QStringLiteral("Category/") + number, [&] {
                   return QVariant(ItemImport::EnsureItem(
                       source_->database(), number, version1Branch(), version2Branch(),
                       SelectedItemData(*CboClass), SelectedItemData(*CboUnit)));
                 }).toInt();
  platform().doEvents();
  return id;
}

int FrmCat_Restore::EnsureCustomer(int number) { return ensureParty(CustomerParty(), number); }

int FrmCat_Restore::EnsureProvider(int number) { return ensureParty(ProviderParty(), number); }

int FrmCat_Restore::ensureParty(const PartyKind& kind, int number) {
  return lookedUp(namedKey(kind.table, QString::number(number)),
                  [&] {
                    return QVariant(PartyImport::EnsureParty(kind, source_->database(), number,
                                                             version1Branch(), version2Branch()));
                  })
      .toInt();
}

// Selects the entry of a class or provider in CboClass, added when the list
// does not hold it yet.
void FrmCat_Restore::selectNamedEntry(const NamedRow& row) {
  const QString shown = row.shown(GetLanguage());
  for (int i = 0; i < CboClass->count(); ++i) {
    if (CboClass->itemData(i).toInt() == row.id && CboClass->itemText(i) == shown) {
      CboClass->setCurrentIndex(i);
      return;
    }
  }
  CboClass->addItem(shown, row.id);
  CboClass->setCurrentIndex(CboClass->count() - 1);
}

// The branch's classes, each under its name in the window's language;
// the class chosen stays chosen.
void FrmCat_Restore::FillClassCombo() {
  const int chosen = SelectedItemData(*CboClass);
  const QString language = GetLanguage();
  CboClass->clear();
  for (const NamedRow& row : ClassesOf(version2Branch())) {
    CboClass->addItem(row.shown(language), row.id);
  }
  SelectComboByData(*CboClass, chosen);
}

void FrmCat_Restore::EnsureClassByName(const QString& name) {
  selectNamedEntry(ensureNamed(QStringLiteral("Class"), name,
                               [&] { return EnsureClassNamed(name, version2Branch()); }));
}

void FrmCat_Restore::EnsureProviderByName(const QString& name) {
  selectNamedEntry(ensureNamed(QStringLiteral("Provider"), name, [&] {
    return PartyImport::EnsureProviderNamed(name, version2Branch());
  }));
}

void FrmCat_Restore::FillCashierCombo(QComboBox& combo, int branch) {
  const int position = combo.currentIndex();
  combo.clear();
  for (const auto& [name, id] : CashierAccounts(branch, GetLanguage())) combo.addItem(name, id);
  if (position < combo.count()) {
    combo.setCurrentIndex(position);
  } else if (combo.count() > 0) {
    combo.setCurrentIndex(0);
  }
}

// CmdAccCustmr and CmdAccProvdr: the account chosen in the chart of the
// version-2 branch goes into the box beside the button; a cancelled choice
// leaves the box as it was.
void FrmCat_Restore::chooseParentAccount(QLineEdit& box) {
  windows().get<FrmBrowseAcc>().BranchID = version2Branch();
  const QString accNo = BrowseAccount();
  if (!accNo.isEmpty()) box.setText(accNo);
}

int FrmCat_Restore::CreateChildAccount(const QString& parentNo, const QString& name) {
  return qalvoro::CreateChildAccount(parentNo, name, version2Branch());
}

}  // namespace qalvoro
