// The voucher tab of the catalogue window: the view of a version-1 voucher
// and its import through the hidden payment or receipt window.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/PartyImport.h"
#include "host/Globals.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/forms/Controls.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "host/platform/Platform.h"
#include "posting/PostingWindows.h"
#include "posting/VoucherStore.h"
#include "v1source/source/Version1Files.h"

namespace qalvoro {
namespace {

using Outcome = ImportReport::Outcome;

// The version-1 kind of a voucher: 0 is a payment, any other a receipt.
bool isPayment(const QString& kind) { return Val(kind) == 0; }

QString kindCaption(bool payment) {
  if (GetLanguage() == QLatin1String("A")) {
    return QStringLiteral("سند ") + (payment ? QStringLiteral("صرف") : QStringLiteral("قبض"));
  }
  return (payment ? QStringLiteral("Payment") : QStringLiteral("Receipt")) +
         QStringLiteral(" Voucher");
}

}  // namespace

void FrmCat_Restore::ShowVoucher() {
  for (QLineEdit* box : {txtSndNo, txtSndDate, txtSndType, txtSndName, txtSndDetail}) box->clear();
  setTag(*txtSndType, QStringLiteral("0"));
  txtSndMoney->setText(QStringLiteral("0.00"));
  SetButtonState(2);
  if (!hasCurrentRow()) {
    SetButtonState(0);
    return;
  }
  const Recordset& row = version1Rows_;
  const QString kind = row.isNull(QStringLiteral("نوع_السند"))
                           ? QStringLiteral("0")
                           : row.text(QStringLiteral("نوع_السند"));
  lblSndType->setText(kindCaption(isPayment(kind)));
  txtSndNo->setText(row.text(QStringLiteral("رقم_السند")));
  txtSndDate->setText(Version1DateText(row.value(QStringLiteral("التاريخ1"))));
  txtSndType->setText(row.text(QStringLiteral("المستفيد1")));
  setTag(*txtSndType, kind);
  txtSndName->setText(row.text(QStringLiteral("الاسم")));
  if (!row.isNull(QStringLiteral("المبلغ"))) {
    txtSndMoney->setText(
        Format(row.value(QStringLiteral("المبلغ")).toDouble(), globals().DecimalFormat));
  }
  txtSndDetail->setText(row.text(QStringLiteral("مقابل")));
  showPosition();
}

void FrmCat_Restore::ImportVoucher() {
  const QString key = txtSndNo->text();
  if (CboCashier[2]->currentIndex() < 0) {
    MsgBox(QStringLiteral("يجب تحديد حساب الصندوق"), mb::kCritical);
    return stopAt(QStringLiteral("no cash box is chosen"));
  }
  const bool payment = isPayment(tagOf(*txtSndType));
  VoucherWindow& window = payment ? static_cast<VoucherWindow&>(windows().get<FrmPayment>())
                                  : windows().get<FrmReceipt>();
  const VoucherKind& kind = payment ? PaymentKind() : ReceiptKind();
  const double number = Val(version1Rows_.text(QStringLiteral("رقم_السند")));
  window.load();
  window.setBranchID(version2Branch());
  window.OpenMyRec();
  IsNewRecord = true;
  if (!ChkAutoSND->isChecked()) {
    platform().doEvents();
    if (OverwriteAnswer == 5) return;
    // The existence check reads the window's vouchers, brought up to date
    // as it opened them; it takes no lock, so it gives none back: whoever
    // holds the voucher table's lock keeps it until the save takes it.
    IsNewRecord = !window.store().holds(number);
    if (!IsNewRecord && OverwriteAnswer <= 2) {
      const QString caption = Translate(QStringLiteral("رقم السند:"));
      OverwriteAnswer = AskOverwrite(caption + GeneralNumber(number),
                                     caption + version1Rows_.text(QStringLiteral("رقم_السند")));
    }
  }
  // No keeps this voucher, No to all every existing voucher after it; new
  // vouchers are imported whatever the answer.
  if (OverwriteAnswer == 5 || (!IsNewRecord && (OverwriteAnswer == 2 || OverwriteAnswer == 4))) {
    if (OverwriteAnswer != 5) report(key, Outcome::Skipped);
    return;
  }
  if (FirstRecordPending) {
    if (parentAccountMissing(*txtAccCustomer[0], customer_) ||
        parentAccountMissing(*txtAccProvider[0], provider_)) {
      return;
    }
    FirstRecordPending = false;
  }
  postVoucher(window, kind);
  report(key, IsNewRecord ? Outcome::Imported : Outcome::Overwritten);
}

// The party of the voucher (found or written from version 1) and its own
// account; a party without one gets an account under the parent account of
// its kind, stored on the party for its next vouchers.
int FrmCat_Restore::voucherPartyAccount() {
  const Recordset& row = version1Rows_;
  const bool customer = row.value(QStringLiteral("المستفيد")).toInt() == 0;
  const int number = row.value(QStringLiteral("رقم_المستفيد")).toInt();
  const PartyKind& kind = customer ? CustomerParty() : ProviderParty();
  // The party and its account are read together; the party is kept where
  // EnsureCustomer and EnsureProvider look for it.
  const QString partyKey =
      QStringLiteral("%1/%2/%3").arg(kind.table).arg(version2Branch()).arg(number);
  const QString accountKey = QStringLiteral("AccNoID/") + partyKey;
  const int found = lookedUp(accountKey, [&] {
                      const auto party =
                          PartyImport::PartyAndAccount(kind, number, version2Branch());
                      if (!party) return QVariant();
                      if (run_.running()) lookups_.keep(partyKey, party->first);
                      return party->second != 0 ? QVariant(party->second) : QVariant();
                    }).toInt();
  if (found != 0) return found;
  const int partyId = customer ? EnsureCustomer(number) : EnsureProvider(number);
  const QLineEdit& parent = *(customer ? txtAccCustomer : txtAccProvider)[0];
  const int account = CreateChildAccount(parent.text(), row.text(QStringLiteral("الاسم")));
  PartyImport::SetPartyAccount(kind, partyId, account);
  if (run_.running()) lookups_.keep(accountKey, account);
  return account;
}

// Fills the voucher window from the version-1 voucher and presses its save
// button, which replaces an existing voucher of the number in the same
// transaction; a failed save (rolled back, lock given back, the replaced
// voucher kept) ends the run.
void FrmCat_Restore::postVoucher(VoucherWindow& window, const VoucherKind& kind) {
  const Recordset& row = version1Rows_;
  const int branch = version2Branch();
  window.Cmd_Add->click();
  window.txtDate1->setDay(InvoiceImport::Version1Date(row.value(QStringLiteral("التاريخ1"))));
  window.setCashierAccID(SelectedItemData(*CboCashier[2]));
  window.txtfNo->setText(row.text(QStringLiteral("رقم_السند")));
  window.setPartyAccID(voucherPartyAccount());
  window.txtName->setText(row.text(QStringLiteral("الاسم")));
  window.txtMoney1->setText(GeneralNumber(row.value(QStringLiteral("المبلغ")).toDouble()));
  window.CboType->setCurrentIndex(row.value(QStringLiteral("شيك")).toInt() == 0 ? 0 : 1);
  window.txtBillDate->setDay(
      InvoiceImport::Version1Date(row.value(QStringLiteral("تاريخ_الشيك1"))));
  window.txtBillNo->setText(row.text(QStringLiteral("رقم_الشيك")));
  window.txtDetails->setText(row.text(QStringLiteral("مقابل")));
  if (ChkAutoSND->isChecked()) {
    window.txtfNo->setText(QString::number(GetMaxValue(kind.headerTable, kind.numberColumn,
                                                       QStringLiteral("BranchID = ?"), {branch})));
  }
  window.store().replaceAtSave(!IsNewRecord);
  window.Cmd_Save->click();
  if (window.lastSaveFailed()) throw *window.saveFailure();
}

}  // namespace qalvoro
