// qalvoro-screenshots [OUTPUT_DIR]: renders every window of the component,
// in Arabic and in English, to PNG files named <Window>-ar.png and
// <Window>-en.png (default folder: docs/screenshots of the source tree).
// Runs without a display (QT_QPA_PLATFORM=offscreen).

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

#include "accounts/FrmAcc_Restore.h"
#include "browser/FrmBrowseAcc.h"
#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/dialogs/FrmFilter.h"
#include "host/dialogs/FrmOverWrite.h"
#include "host/dialogs/FrmStart.h"
#include "host/dialogs/WinSeek.h"
#include "host/forms/FileControls.h"
#include "host/forms/FlexGrid.h"
#include "host/forms/Form.h"
#include "host/forms/SSTab.h"
#include "host/forms/Tarmin_Calander3.h"
#include "host/forms/Windows.h"
#include "host/language/Language.h"
#include "host/platform/DesktopPlatform.h"
#include "host/platform/Platform.h"
#include "host/platform/ScriptedUser.h"
#include "posting/PostingWindows.h"
#include "tools/mdbwriter/V1Generator.h"

namespace {

using namespace qalvoro;

struct Window {
  QString name;
  std::function<std::unique_ptr<Form>()> make;
  // Puts something worth seeing on the loaded window.
  std::function<void(Form&)> fill = [](Form&) {};
};

// The accounts window with a version-1 file open and an account shown.
void showAnAccount(Form& form, const QString& accountsFolder) {
  auto& window = static_cast<FrmAcc_Restore&>(form);
  window.File1->setPath(accountsFolder);
  window.File1->setCurrentItem(
      window.File1->findItems("ACC2003.MDB", Qt::MatchFixedString).value(0));
  window.CmdOpenOldDB->click();
  window.Cmd_Last->click();
}

std::unique_ptr<Form> makeBrowser() {
  auto browser = std::make_unique<FrmBrowseAcc>();
  browser->BranchID = 1;
  return browser;
}

// The account tree of the demo chart with a cash box account selected.
FrmBrowseAcc& showTheChart(Form& form) {
  auto& browser = static_cast<FrmBrowseAcc&>(form);
  SaveSetting(QStringLiteral("ReLoadAccTree"), QStringLiteral("1"));
  browser.FillTree();
  for (const char* key : {"R5", "R4"})
    browser.TreeView1->node(QLatin1String(key))->setExpanded(true);
  browser.TreeView1->selectNode(*browser.TreeView1->node(QStringLiteral("R120102")));
  return browser;
}

// The same window adding an account below the cash boxes.
void addAnAccount(Form& form) {
  FrmBrowseAcc& browser = showTheChart(form);
  browser.TreeView1->selectNode(*browser.TreeView1->node(QStringLiteral("R1201")));
  browser.MenuAcc[0]->setVisible(true);
  browser.MenuAcc[0]->trigger();
  browser.txtAccNameA->setText(QStringLiteral("صندوق المصروفات النثرية"));
  browser.txtAccNameE->setText(QStringLiteral("Petty cash box"));
}

// Items of branch 1 for the documents of the posting windows.
void addDemoItems() {
  const struct {
    const char* number;
    const char* arabic;
    const char* english;
    double price;
  } items[] = {{"1001", "دفتر مدرسي", "School notebook", 12.5},
               {"1002", "قلم حبر أزرق", "Blue ink pen", 3.75},
               {"1003", "حقيبة ظهر", "Backpack", 85}};
  for (const auto& item : items) {
    MainConnection().execute(
        "INSERT INTO Category (BranchID, CategoryNo, AName, EName, U1, SPriceU1, CostPrice) "
        "VALUES (1, ?, ?, ?, 1, ?, ?)",
        {item.number, QString::fromUtf8(item.arabic), item.english, item.price, item.price * 0.8});
  }
}

// A posting window with a new document typed in: number, party, note, three
// lines and a ten percent discount.
void typeADocument(Form& form) {
  auto& window = static_cast<InvoiceWindow&>(form);
  window.setBranchID(1);
  window.OpenMyRec();
  window.Cmd_Add->click();
  window.txtfNo->setText("1024");
  window.txtPartyName->setText(QStringLiteral("مؤسسة النور للقرطاسية"));
  window.txtNote->setText(QStringLiteral("تسليم في المستودع"));
  if (window.txtLinkNo) window.txtLinkNo->setText("1018");
  const char* lines[][2] = {{"1001", "12"}, {"1002", "40"}, {"1003", "2"}};
  int row = 1;
  for (const auto& line : lines) {
    window.Grid1->item(row, 1)->setText(line[0]);
    window.Grid1->item(row, 4)->setText(line[1]);
    ++row;
  }
  window.txtDiscount2->setText("10%");
  window.txtDiscount2_KeyPress(13);
}

// The catalogue window with the stock file open and a record of a tab shown.
void showACatalogueRecord(Form& form, const QString& stockFolder, int tab) {
  auto& window = static_cast<FrmCat_Restore&>(form);
  window.txtOldDBFile->setText(stockFolder + QStringLiteral("/STOCK001.MDB"));
  window.CmdOpenOldDB->click();
  window.SSTab1->setCurrentTab(tab);
  if (tab == kSalesTab || tab == kPurchasesTab) {
    // The earliest invoice is shown: it has two returns.
    window.CboCashier[tab - kSalesTab]->setCurrentIndex(0);
    return;
  }
  window.Cmd_Next->click();
}

Window catalogueWindow(const QString& name, const QString& stockFolder, int tab) {
  return {name, [] { return std::make_unique<FrmCat_Restore>(); },
          [stockFolder, tab](Form& form) { showACatalogueRecord(form, stockFolder, tab); }};
}

// The catalogue window on its voucher tab, with a cash box and the parent
// accounts of the parties chosen.
Window voucherTab(const QString& stockFolder) {
  return {"FrmCat_Restore-vouchers", [] { return std::make_unique<FrmCat_Restore>(); },
          [stockFolder](Form& form) {
            showACatalogueRecord(form, stockFolder, kVouchersTab);
            auto& window = static_cast<FrmCat_Restore&>(form);
            window.CboCashier[2]->setCurrentIndex(0);
            window.txtAccCustomer[0]->setText(QStringLiteral("1203"));
            window.txtAccProvider[0]->setText(QStringLiteral("21"));
          }};
}

// A voucher window with a cheque voucher typed in.
void typeAVoucher(Form& form) {
  auto& window = static_cast<VoucherWindow&>(form);
  window.setBranchID(1);
  window.OpenMyRec();
  window.Cmd_Add->click();
  window.txtfNo->setText("311");
  window.txtAccFunds->setText(QStringLiteral("الصندوق الرئيسي"));
  window.txtName->setText(QStringLiteral("مؤسسة النور للقرطاسية"));
  window.txtMoney1->setText("1250.00");
  window.CboType->setCurrentIndex(1);
  window.txtBillNo->setText("004517");
  window.txtBillDate->setText(window.txtDate1->text());
  if (window.CboBank) window.CboBank->setCurrentIndex(0);
  window.txtDetails->setText(QStringLiteral("دفعة من حساب فاتورة 1024"));
}

std::vector<Window> windows(const QString& accountsFolder, const QString& stockFolder) {
  return {
      {"FrmStart", [] { return std::make_unique<FrmStart>(); }},
      {"FrmOverWrite", [] { return std::make_unique<FrmOverWrite>(); }},
      {"FrmFilter", [] { return std::make_unique<FrmFilter>(); }},
      {"WinSeek", [] { return std::make_unique<WinSeek>(); },
       [accountsFolder](Form& form) {
         auto& seek = static_cast<WinSeek&>(form);
         seek.openAt(QFileInfo(accountsFolder).absolutePath());
         seek.cmdSearch->click();
       }},
      {"FrmAcc_Restore", [] { return std::make_unique<FrmAcc_Restore>(); },
       [accountsFolder](Form& form) { showAnAccount(form, accountsFolder); }},
      catalogueWindow("FrmCat_Restore", stockFolder, kItemsTab),
      catalogueWindow("FrmCat_Restore-customers", stockFolder, kCustomersTab),
      catalogueWindow("FrmCat_Restore-providers", stockFolder, kProvidersTab),
      catalogueWindow("FrmCat_Restore-sales", stockFolder, kSalesTab),
      catalogueWindow("FrmCat_Restore-purchases", stockFolder, kPurchasesTab),
      voucherTab(stockFolder),
      {"FrmBrowseAcc", makeBrowser, [](Form& form) { showTheChart(form); }},
      {"FrmBrowseAcc-FrameAdd", makeBrowser, addAnAccount},
      {"FrmInvSales", [] { return std::make_unique<FrmInvSales>(); }, typeADocument},
      {"FrmInvBuy", [] { return std::make_unique<FrmInvBuy>(); }, typeADocument},
      {"FrmInvSales_R", [] { return std::make_unique<FrmInvSales_R>(); }, typeADocument},
      {"FrmInvBuy_R", [] { return std::make_unique<FrmInvBuy_R>(); }, typeADocument},
      {"FrmPayment", [] { return std::make_unique<FrmPayment>(); }, typeAVoucher},
      {"FrmReceipt", [] { return std::make_unique<FrmReceipt>(); }, typeAVoucher},
  };
}

void openLanguage(const QString& ltrPath) {
  globals().LangRecordset.reset();
  globals().LangConnection = std::make_unique<Connection>();
  globals().LangConnection->open(ltrPath);
  globals().LangRecordset = std::make_unique<Recordset>();
  globals().LangRecordset->open(QStringLiteral("Lang"), *globals().LangConnection,
                                LockType::Pessimistic);
}

bool render(const Window& window, const QString& file) {
  auto form = window.make();
  form->load();
  window.fill(*form);
  form->show();
  QApplication::processEvents();
  const bool saved = form->grab().save(file);
  form->hide();
  return saved;
}

// The question the account tree asks before a deletion, as a message box in
// the language: its text and its standard buttons.
bool renderQuestion(bool arabic, const QString& file) {
  const auto box = makeMessageBox(
      Translate(QStringLiteral("هل تريد بالتأكيد حذف كرت الحساب الحالي ؟")),
      mb::kYesNo | mb::kQuestion | mb::kDefaultButton2 | (arabic ? mb::kRtlFlags : 0), QString());
  box->show();
  QApplication::processEvents();
  const bool saved = box->grab().save(file);
  box->hide();
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTextStream out(stdout);
  const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(QALVORO_SOURCE_DIR "/docs/screenshots");
  QDir().mkpath(target);

  QTemporaryDir work;
  Platform::useSettingsFolder(work.filePath("config"));
  const QString ltr = work.filePath("LTR.DRV");
  QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", ltr);
  QFile::setPermissions(ltr, QFile::ReadOwner | QFile::WriteOwner);
  const ScopedPlatform user(std::make_unique<ScriptedUser>());
  globals().INI_Path = QStringLiteral("QalvoroScreenshots");
  qputenv("QALVORO_WORKING_COPY", work.filePath("tmp_44d2.tmp").toLocal8Bit());
  const QString accounts = work.filePath("v1");
  QDir().mkpath(accounts);
  mdbwriter::v1::writeAccountsFolder(accounts, {});
  const QString stock = work.filePath("stock");
  mdbwriter::v1::writeStockFolder(stock, {});

  int failures = 0;
  try {
    createVersion2Database(work.filePath("v2.db"), true);
    globals().MainConnection = std::make_unique<Connection>();
    globals().MainConnection->open(work.filePath("v2.db"));
    openLanguage(ltr);
    addDemoItems();
    for (const auto& [language, suffix] : {std::pair{"A", "ar"}, std::pair{"E", "en"}}) {
      SaveSetting(QStringLiteral("Language"), language);
      const bool arabic = QLatin1String(language) == QLatin1String("A");
      UseArabicStandardTexts(arabic);
      const auto report = [&](const QString& file, bool saved) {
        failures += saved ? 0 : 1;
        out << (saved ? "wrote " : "FAILED ") << file << '\n';
      };
      for (const Window& window : windows(accounts, stock)) {
        const QString file = QStringLiteral("%1/%2-%3.png").arg(target, window.name, suffix);
        report(file, render(window, file));
      }
      const QString question = QStringLiteral("%1/MsgBox-question-%2.png").arg(target, suffix);
      report(question, renderQuestion(arabic, question));
    }
  } catch (const DbError& error) {
    out << "Err:" << error.number() << '\n' << error.description() << '\n';
    return 1;
  }
  qalvoro::windows().clear();
  ReleaseGlobals();
  return failures == 0 ? 0 : 1;
}
