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

// A kind of record a run imports: its name in --kind, its tab and what
// one record is called.
struct Kind {
  QString name;
  int tab = kItemsTab;
  QString noun;
};

// The kinds, in the order --kind all runs them.
const std::vector<Kind>& kinds() {
  static const std::vector<Kind> list = {
      {QStringLiteral("items"), kItemsTab, QStringLiteral("item")},
      {QStringLiteral("customers"), kCustomersTab, QStringLiteral("customer")},
      {QStringLiteral("providers"), kProvidersTab, QStringLiteral("provider")},
      {QStringLiteral("sales"), kSalesTab, QStringLiteral("sales invoice")},
      {QStringLiteral("purchases"), kPurchasesTab, QStringLiteral("purchase invoice")},
      {QStringLiteral("vouchers"), kVouchersTab, QStringLiteral("voucher")},
  };
  return list;
}

const QString kAll = QStringLiteral("all");

const QString kUsage = QStringLiteral(
    "--app-path, --db, --v1-folder, --old-branch, --branch and --kind are needed; --kind is "
    "items, customers, providers, sales, purchases, vouchers or all; --overwrite is yes-all, "
    "no-all or cancel; --from and --to are yyyy-mm-dd; --classification is classes, provider or "
    "none; --unit and --renumber-from are numbers; --cashier is the account number of a cash box "
    "of the version-2 branch");

// The options of a catalogue run, read and checked.
struct CatalogueOptions {
  std::vector<Kind> kinds;  // one, or every kind for --kind all
  QDate from;
  QDate to;
  QString classification;
  std::optional<int> unit;
  std::optional<int> renumberFrom;
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
  const QString name = options.value(QStringLiteral("kind"));
  for (const Kind& kind : kinds()) {
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
void selectKind(FrmCat_Restore& window, const Kind& kind, std::optional<int> cashier) {
  window.SSTab1->setCurrentTab(kind.tab);
  if (kind.tab >= kSalesTab && cashier) {
    SelectComboByData(*window.CboCashier[kind.tab - kSalesTab], *cashier);
  }
}

// Opens the stock file, chooses the branches, filters and sets the controls
// the options name, but for the tab and its cash box, which is found for
// the kinds that take one; a reason when it fails.
QString prepare(FrmCat_Restore& window, const BatchOptions& options,
                const CatalogueOptions& catalogue, std::optional<int>& cashier) {
  window.txtOldDBFile->setText(JoinPath(options.folder(), QStringLiteral("STOCK001.MDB")));
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
  // The unit is that of the items written: by the item import and by the
  // invoice imports for items version 2 does not have.
  const bool usesUnit =
      std::any_of(catalogue.kinds.begin(), catalogue.kinds.end(), [](const Kind& kind) {
        return kind.tab == kItemsTab || kind.tab == kSalesTab || kind.tab == kPurchasesTab;
      });
  if (catalogue.unit && usesUnit) {
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
                  [](const Kind& kind) { return kind.tab >= kSalesTab; })) {
    cashier = cashierOf(options, failure);
  }
  return failure;
}

// After a complete import of the sales or purchase tab: its renumbering.
void renumber(FrmCat_Restore& window, const Kind& kind, const CatalogueOptions& catalogue) {
  if ((kind.tab != kSalesTab && kind.tab != kPurchasesTab) || !catalogue.renumberFrom) return;
  const int index = kind.tab - kSalesTab;
  window.txtStartInvNo[index]->setText(QString::number(*catalogue.renumberFrom));
  window.CmdStartInvNo[index]->click();
}

// The rank of an exit code: failed over stopped over done.
int severity(int code) { return code == kBatchFailed ? 2 : code == kBatchStopped ? 1 : 0; }

// One kind of record of a run of several kinds.
struct KindRun {
  KindRun(const Kind& kind, QTextStream& out) : kind(kind), summary(out, kind.noun, false) {}
  const Kind& kind;
  BatchSummary summary;
  std::optional<BatchEnding> ending;  // none when it did not run
};

// --kind all: every kind in its order on the one opened file, each with its
// own summary; a kind that did not process every row ends the run. Prints
// a summary line per kind; returns the worst exit code.
int runKinds(const BatchOptions& options, const CatalogueOptions& catalogue, BatchUser& user,
             QTextStream& out) {
  std::deque<KindRun> runs;
  std::optional<int> cashier;
  const QString failure = DriveRestoreWindow<FrmCat_Restore>(
      [&](FrmCat_Restore& window) { return prepare(window, options, catalogue, cashier); },
      [&](FrmCat_Restore& window) {
        bool goOn = true;
        for (const Kind& kind : catalogue.kinds) {
          KindRun& run = runs.emplace_back(kind, out);
          if (!goOn) continue;
          const qsizetype errorsBefore = user.errors().size();
          window.setReport(&run.summary);
          selectKind(window, kind, cashier);
          window.CmdImportAll->click();
          run.ending = EndingOf(run.summary, user.errors().mid(errorsBefore));
          goOn = run.ending->code == kBatchDone;
          if (goOn) renumber(window, kind, catalogue);
        }
      });
  if (!failure.isEmpty()) {
    out << "ended: failed: " << failure << Qt::endl;
    return kBatchFailed;
  }
  BatchEnding worst{kBatchDone, QStringLiteral("every row was processed")};
  for (const KindRun& run : runs) {
    if (!run.ending) {
      out << "summary " << run.kind.name << ": not run" << Qt::endl;
      continue;
    }
    run.summary.printKind(run.kind.name, run.ending->text);
    if (severity(run.ending->code) > severity(worst.code)) worst = *run.ending;
  }
  out << "ended: " << worst.text << Qt::endl;
  return worst.code;
}

QString run(const BatchOptions& options, const CatalogueOptions& catalogue, BatchSummary& summary) {
  const Kind& kind = catalogue.kinds.front();
  return RunRestoreWindow<FrmCat_Restore>(
      summary,
      [&](FrmCat_Restore& window) {
        std::optional<int> cashier;
        const QString failure = prepare(window, options, catalogue, cashier);
        if (failure.isEmpty()) selectKind(window, kind, cashier);
        return failure;
      },
      [&](FrmCat_Restore& window) {
        // A stopped run leaves rows behind: the numbers would not be final.
        if (!summary.wasStopped()) renumber(window, kind, catalogue);
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
  if (catalogue.kinds.size() > 1) {
    return RunSession(
        options, answers(catalogue, options.overwrite()),
        [&](BatchUser& user) { return runKinds(options, catalogue, user, out); }, out);
  }
  return RunBatch(
      options, catalogue.kinds.front().noun, false, answers(catalogue, options.overwrite()),
      [&](BatchUser&, BatchSummary& summary) { return run(options, catalogue, summary); }, out);
}

}  // namespace qalvoro
