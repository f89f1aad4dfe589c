#include "catalogue/CatalogueBatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/dialogs/FrmFilter.h"
#include "host/forms/FileControls.h"
#include "host/forms/SSTab.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/helpers/DbHelpers.h"
#include "v1source/source/Version1Source.h"

namespace qalvoro {
namespace {

// The kinds of record a run imports, and their tabs.
const std::map<QString, int>& kinds() {
  static const std::map<QString, int> tabs = {
      {QStringLiteral("items"), kItemsTab},         {QStringLiteral("customers"), kCustomersTab},
      {QStringLiteral("providers"), kProvidersTab}, {QStringLiteral("sales"), kSalesTab},
      {QStringLiteral("purchases"), kPurchasesTab},
  };
  return tabs;
}

const QString kUsage = QStringLiteral(
    "--app-path, --db, --v1-folder, --old-branch, --branch and --kind are needed; --kind is "
    "items, customers, providers, sales or purchases; --overwrite is yes-all, no-all or cancel; "
    "--from and --to "
    "are yyyy-mm-dd; --classification is classes, provider or none; --unit and --renumber-from "
    "are numbers; --cashier is the account number of a cash box of the version-2 branch");

// The options of a catalogue run, read and checked.
struct CatalogueOptions {
  int tab = kItemsTab;
  QDate from;
  QDate to;
  QString classification;
  std::optional<int> unit;
  std::optional<int> renumberFrom;
  // The sales and purchase tabs: their index in the window's arrays.
  bool invoices() const { return tab == kSalesTab || tab == kPurchasesTab; }
  int invoiceIndex() const { return tab - kSalesTab; }
};

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

bool read(const BatchOptions& options, CatalogueOptions& catalogue) {
  const auto kind = kinds().find(options.value(QStringLiteral("kind")));
  if (kind == kinds().end()) return false;
  catalogue.tab = kind->second;
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

// Answers the prompts: the filter with the dates of the run, the overwrite
// prompt as --overwrite says.
BatchUser::WindowScript answers(const CatalogueOptions& catalogue, const QString& overwrite) {
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

// Chooses the cash box of the tab by its account number.
QString chooseCashier(FrmCat_Restore& window, const CatalogueOptions& catalogue,
                      const QString& accountNo, int branch) {
  QComboBox& cashiers = *window.CboCashier[catalogue.invoiceIndex()];
  const QString account =
      LookupValue(QStringLiteral("CardAcc"), QStringLiteral("ID"),
                  QStringLiteral("AccNo = ? AND BranchID = ?"), {accountNo, branch});
  const int entry = account.isEmpty() ? -1 : cashiers.findData(account.toInt());
  if (entry < 0) {
    return QStringLiteral("the version-2 branch %1 has no cashier with account number %2")
        .arg(branch)
        .arg(accountNo);
  }
  cashiers.setCurrentIndex(entry);
  return {};
}

// Opens the stock file, chooses the branches, filters and sets the controls
// the options name; a reason when it fails.
QString prepare(FrmCat_Restore& window, const BatchOptions& options,
                const CatalogueOptions& catalogue) {
  window.txtOldDBFile->setText(JoinPath(options.folder(), QStringLiteral("STOCK001.MDB")));
  window.CmdOpenOldDB->click();
  if (!window.source().isOpen()) return "the version-1 file could not be opened";
  if (const QString failure = ChooseBranches(window, options); !failure.isEmpty()) return failure;
  if (catalogue.from.isValid() || catalogue.to.isValid()) window.CmdFilter->click();
  window.SSTab1->setCurrentTab(catalogue.tab);
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
  if (catalogue.invoices() && options.isSet(QStringLiteral("cashier"))) {
    return chooseCashier(window, catalogue, options.value(QStringLiteral("cashier")),
                         options.branch());
  }
  return {};
}

// After a complete import of the sales or purchase tab: its renumbering.
void renumber(FrmCat_Restore& window, const CatalogueOptions& catalogue) {
  if (!catalogue.invoices() || !catalogue.renumberFrom) return;
  const int index = catalogue.invoiceIndex();
  window.txtStartInvNo[index]->setText(QString::number(*catalogue.renumberFrom));
  window.CmdStartInvNo[index]->click();
}

QString run(const BatchOptions& options, const CatalogueOptions& catalogue, BatchSummary& summary) {
  return RunRestoreWindow<FrmCat_Restore>(
      summary, [&](FrmCat_Restore& window) { return prepare(window, options, catalogue); },
      [&](FrmCat_Restore& window) {
        // A stopped run leaves rows behind: the numbers would not be final.
        if (!summary.wasStopped()) renumber(window, catalogue);
      });
}

}  // namespace

int RunCatalogueBatch(const QStringList& arguments, QTextStream& out) {
  BatchOptions options({QStringLiteral("kind"), QStringLiteral("from"), QStringLiteral("to"),
                        QStringLiteral("classification"), QStringLiteral("unit"),
                        QStringLiteral("customers-account"), QStringLiteral("providers-account"),
                        QStringLiteral("cashier"), QStringLiteral("renumber-from")},
                       {QStringLiteral("customer-accounts"), QStringLiteral("provider-accounts"),
                        QStringLiteral("auto-voucher-numbers")});
  CatalogueOptions catalogue;
  if (!options.parse(arguments, {QStringLiteral("kind")}, kUsage, out)) return kBatchUsage;
  if (!read(options, catalogue)) {
    out << "batch: " << kUsage << Qt::endl;
    return kBatchUsage;
  }
  static const std::map<int, QString> nouns = {
      {kItemsTab, QStringLiteral("item")},
      {kCustomersTab, QStringLiteral("customer")},
      {kProvidersTab, QStringLiteral("provider")},
      {kSalesTab, QStringLiteral("sales invoice")},
      {kPurchasesTab, QStringLiteral("purchase invoice")},
  };
  return RunBatch(
      options, nouns.at(catalogue.tab), false, answers(catalogue, options.overwrite()),
      [&](BatchUser&, BatchSummary& summary) { return run(options, catalogue, summary); }, out);
}

}  // namespace qalvoro
