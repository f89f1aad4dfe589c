#include "catalogue/CatalogueBatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

#include "catalogue/ClassesAndAccounts.h"
#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/dialogs/FrmFilter.h"
#include "host/forms/FileControls.h"
#include "host/forms/SSTab.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "host/helpers/Numbers.h"
#include "host/language/Language.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

const QString kAll = QStringLiteral("all");

const QString kUsage = QStringLiteral(
    "--app-path, --db, --v1-folder, --old-branch, --branch and --kind are needed; --kind is "
    "items, customers, providers, sales, purchases, vouchers or all; --overwrite is yes-all, "
    "no-all or cancel; --from and --to are yyyy-mm-dd; --classification is classes, provider or "
    "none; --unit and --renumber-from are numbers; --cashier is the account number of a cash box "
    "of the version-2 branch");

bool validDate(const QString& text, QDate& date) {
  if (text.isEmpty()) return true;
  date = QDate::fromString(text, Qt::ISODate);
  return date.isValid();
}

bool validNumber(const QString& text) {
  bool ok = true;
  if (!text.isEmpty()) text.toInt(&ok);
  return ok;
}

}  // namespace

const std::vector<CatalogueKind>& CatalogueKinds() {
  static const std::vector<CatalogueKind> list = {
      {QStringLiteral("items"), kItemsTab, QStringLiteral("item")},
      {QStringLiteral("customers"), kCustomersTab, QStringLiteral("customer")},
      {QStringLiteral("providers"), kProvidersTab, QStringLiteral("provider")},
      {QStringLiteral("sales"), kSalesTab, QStringLiteral("sales invoice")},
      {QStringLiteral("purchases"), kPurchasesTab, QStringLiteral("purchase invoice")},
      {QStringLiteral("vouchers"), kVouchersTab, QStringLiteral("voucher")},
  };
  return list;
}

const QStringList& CatalogueValueOptions() {
  static const QStringList names = {"kind",
                                    "from",
                                    "to",
                                    "classification",
                                    "unit",
                                    "customers-account",
                                    "providers-account",
                                    "cashier",
                                    "renumber-from"};
  return names;
}

const QStringList& CatalogueSwitches() {
  static const QStringList names = {"customer-accounts", "provider-accounts",
                                    "auto-voucher-numbers"};
  return names;
}

bool ReadCatalogueOptions(const BatchOptions& options, const QString& name,
                          CatalogueOptions& catalogue) {
  for (const CatalogueKind& kind : CatalogueKinds()) {
    if (name == kAll || kind.name == name) catalogue.kinds.push_back(kind);
  }
  if (catalogue.kinds.empty()) return false;
  catalogue.classification = options.value(QStringLiteral("classification"));
  const QString unit = options.value(QStringLiteral("unit"));
  if (!unit.isEmpty()) catalogue.unit = unit.toInt();
  const QString renumberFrom = options.value(QStringLiteral("renumber-from"));
  if (!renumberFrom.isEmpty()) catalogue.renumberFrom = renumberFrom.toInt();
  return validDate(options.value(QStringLiteral("from")), catalogue.from) &&
         validDate(options.value(QStringLiteral("to")), catalogue.to) &&
         QStringList{"", "classes", "provider", "none"}.contains(catalogue.classification) &&
         validNumber(unit) && validNumber(renumberFrom);
}

BatchUser::WindowScript CatalogueAnswers(const CatalogueOptions& catalogue,
                                         const QString& overwrite) {
  return [catalogue, overwrite](QWidget& window) {
    if (auto* filter = qobject_cast<FrmFilter*>(&window)) {
      const QString format = QStringLiteral("yyyy/MM/dd");
      filter->txtDate1->setText(catalogue.from.isValid() ? catalogue.from.toString(format) : "");
      filter->txtDate2->setText(catalogue.to.isValid() ? catalogue.to.toString(format) : "");
      filter->CmdOK->click();
      return;
    }
    AnswerOverwritePrompt(window, overwrite);
  };
}

namespace {

// The cash box of the invoice and voucher tabs: the cashier account of the
// version-2 branch numbered --cashier; nothing without the option, an error
// when the branch has no such cashier.
std::optional<int> cashierOf(const BatchOptions& options, QString& failure) {
  if (!options.isSet(QStringLiteral("cashier"))) return std::nullopt;
  const QString accNo = options.value(QStringLiteral("cashier"));
  const int id = static_cast<int>(
      Val(LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"),
                      QStringLiteral("AccNo = ? AND BranchID = ?"), {accNo, options.branch()})));
  for (const auto& [name, cashier] : CashierAccounts(options.branch(), GetLanguage())) {
    if (id != 0 && cashier == id) return id;
  }
  failure = QStringLiteral("no cashier %1 in version-2 branch %2").arg(accNo).arg(options.branch());
  return std::nullopt;
}

// Shows the tab of a kind and, on the invoice and voucher tabs, chooses the
// cash box.
void selectKind(FrmCat_Restore& window, const CatalogueKind& kind, std::optional<int> cashier) {
  window.SSTab1->setCurrentTab(kind.tab);
  if (kind.tab >= kSalesTab && cashier) {
    SelectComboByData(*window.CboCashier[kind.tab - kSalesTab], *cashier);
  }
}

// Opens the stock file, chooses the branches, filters and sets the controls
// the options name, but for the tab and its cash box, which is found for
// the kinds that take one; a reason when it fails.
QString prepare(FrmCat_Restore& window, const BatchOptions& options, const QString& folder,
                const CatalogueOptions& catalogue, std::optional<int>& cashier) {
  window.txtOldDBFile->setText(JoinPath(folder, QStringLiteral("STOCK001.MDB")));
  window.CmdOpenOldDB->click();
  if (!window.source().isOpen()) return "the version-1 file could not be opened";
  if (const QString failure = ChooseBranches(window, options); !failure.isEmpty()) return failure;
  if (catalogue.from.isValid() || catalogue.to.isValid()) window.CmdFilter->click();
  if (catalogue.classification == QLatin1String("classes")) window.ChkClass->setChecked(true);
  if (catalogue.classification == QLatin1String("provider")) window.ChkProvider->setChecked(true);
  if (catalogue.classification == QLatin1String("none")) {
    window.ChkClass->setChecked(false);
    window.ChkProvider->setChecked(false);
  }
  if (catalogue.unit) {
    SelectComboByData(*window.CboUnit, *catalogue.unit);
    if (window.CboUnit->currentIndex() < 0)
      return QStringLiteral("no unit %1").arg(*catalogue.unit);
  }
  const auto setBoth = [](std::array<QLineEdit*, 2>& boxes, const QString& text) {
    for (QLineEdit* box : boxes) box->setText(text);
  };
  if (options.isSet(QStringLiteral("customers-account"))) {
    setBoth(window.txtAccCustomer, options.value(QStringLiteral("customers-account")));
  }
  if (options.isSet(QStringLiteral("providers-account"))) {
    setBoth(window.txtAccProvider, options.value(QStringLiteral("providers-account")));
  }
  if (options.isSet(QStringLiteral("customer-accounts"))) window.ChkAddCustmAcc->setChecked(true);
  if (options.isSet(QStringLiteral("provider-accounts"))) window.ChkAddProvAcc->setChecked(true);
  if (options.isSet(QStringLiteral("auto-voucher-numbers"))) window.ChkAutoSND->setChecked(true);
  QString failure;
  if (std::any_of(catalogue.kinds.begin(), catalogue.kinds.end(),
                  [](const CatalogueKind& kind) { return kind.tab >= kSalesTab; })) {
    cashier = cashierOf(options, failure);
  }
  return failure;
}

// After a complete import of the sales or purchase tab: its renumbering.
void renumber(FrmCat_Restore& window, const CatalogueKind& kind,
              const CatalogueOptions& catalogue) {
  if ((kind.tab != kSalesTab && kind.tab != kPurchasesTab) || !catalogue.renumberFrom) return;
  const int index = kind.tab - kSalesTab;
  window.txtStartInvNo[index]->setText(QString::number(*catalogue.renumberFrom));
  window.CmdStartInvNo[index]->click();
}

}  // namespace

QString RunCatalogueKinds(BatchSession& session, const BatchOptions& options, const QString& folder,
                          const CatalogueOptions& catalogue) {
  std::vector<BatchSummary*> runs;
  for (const CatalogueKind& kind : catalogue.kinds) {
    runs.push_back(&session.addKind(kind.name, kind.noun));
  }
  std::optional<int> cashier;
  return DriveRestoreWindow<FrmCat_Restore>(
      [&](FrmCat_Restore& window) { return prepare(window, options, folder, catalogue, cashier); },
      [&](FrmCat_Restore& window) {
        for (std::size_t i = 0; i < catalogue.kinds.size(); ++i) {
          const CatalogueKind& kind = catalogue.kinds[i];
          const BatchEnding& ending = session.runKind(*runs[i], [&] {
            window.setReport(runs[i]);
            selectKind(window, kind, cashier);
            window.CmdImportAll->click();
          });
          // The numbers are final only after a complete import; a kind that
          // left rows behind ends the run.
          if (ending.code != kBatchDone) break;
          renumber(window, kind, catalogue);
        }
      });
}

int RunCatalogueBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options(CatalogueValueOptions(), CatalogueSwitches());
  CatalogueOptions catalogue;
  if (!options.parse(arguments, {QStringLiteral("v1-folder"), QStringLiteral("kind")}, kUsage,
                     out)) {
    return kBatchUsage;
  }
  if (!ReadCatalogueOptions(options, options.value(QStringLiteral("kind")), catalogue)) {
    out << "batch: " << kUsage << Qt::endl;
    return kBatchUsage;
  }
  return RunSession(
      options, QStringLiteral("catalogue"), CatalogueAnswers(catalogue, options.overwrite()),
      [&](BatchSession& session) -> BatchEnding {
        const QString failure = RunCatalogueKinds(session, options, options.folder(), catalogue);
        if (!failure.isEmpty()) return {kBatchFailed, "failed: " + failure};
        for (const BatchSummary& kind : session.kinds()) {
          if (catalogue.kinds.size() > 1) {
            kind.printKind(out);
          } else {
            kind.print(out);
          }
        }
        return WorstEnding(session.kinds());
      },
      out);
}

}  // namespace qalvoro
