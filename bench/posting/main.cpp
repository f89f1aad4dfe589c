// Saving N and then 2N sales invoices of five lines each through the hidden
// sales invoice window, as an import drives it (OpenMyRec, add, fill, spread
// the discount, save) into a fresh SQLite database. Saving that does not
// depend on the number of invoices already stored keeps the 2N/N time ratio
// near 2 (goal: at most 2.2). Processor time counts, so that other work on
// the machine does not; wall time is shown beside it. Ends with
// "RESULT invoices_per_s=... ratio=..." (figures at 2N).
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/forms/Windows.h"
#include "host/platform/Platform.h"
#include "host/platform/ScriptedUser.h"
#include "posting/PostingWindows.h"
#include "tests/support/GridLines.h"

namespace {

using namespace qalvoro;

constexpr int kLines = 5;
constexpr int kItems = 50;

void addItems() {
  Transaction transaction(MainConnection());
  for (int i = 1; i <= kItems; ++i) {
    MainConnection().execute(
        "INSERT INTO Category (BranchID, CategoryNo, AName, U1, SPriceU1) VALUES (1, ?, ?, 1, ?)",
        {QString::number(i), QStringLiteral("صنف %1").arg(i), 1.25 * i});
  }
  MainConnection().execute("INSERT INTO Customer (BranchID, fNo, AName, Debit) VALUES (1, 1, ?, 0)",
                           {QStringLiteral("عميل")});
  transaction.commit();
}

void postInvoice(FrmInvSales& window, int number) {
  window.OpenMyRec();
  window.Cmd_Add->click();
  window.txtfNo->setText(QString::number(number));
  window.CboPayment->setCurrentIndex(number % 2);
  window.setCustomerID(1);
  for (int line = 0; line < kLines; ++line) {
    const int item = (number * kLines + line) % kItems + 1;
    test::AppendGridLine(*window.Grid1,
                         {QString::number(item), QStringLiteral("Item"), QString::number(line + 1),
                          GeneralNumber(1.25 * item), item});
  }
  window.txtDiscount2->setText("5%");
  window.txtDiscount2_KeyPress(13);
  window.Cmd_Save->click();
  if (window.lastSaveFailed()) throw *window.saveFailure();
}

struct Timing {
  double cpuSeconds = 0;
  double wallSeconds = 0;
};

Timing timeFor(int invoices, const QString& folder) {
  const QString path = folder + QStringLiteral("/bench-%1.db").arg(invoices);
  createVersion2Database(path, false);
  globals().MainConnection = std::make_unique<Connection>();
  MainConnection().open(path);
  MainConnection().execute("INSERT INTO Branch (AName) VALUES ('1')");
  addItems();
  auto& window = windows().get<FrmInvSales>();
  window.load();
  window.setBranchID(1);
  QElapsedTimer wall;
  wall.start();
  const std::clock_t cpu = std::clock();
  for (int number = 1; number <= invoices; ++number) postInvoice(window, number);
  const Timing timing{double(std::clock() - cpu) / CLOCKS_PER_SEC, wall.nsecsElapsed() / 1e9};
  windows().clear();
  globals().MainConnection.reset();
  return timing;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTextStream out(stdout);
  const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 2'000;
  QTemporaryDir work;
  Platform::useSettingsFolder(work.filePath("config"));
  const ScopedPlatform user(std::make_unique<ScriptedUser>());
  globals().INI_Path = QStringLiteral("QalvoroBench");
  const QString ltr = work.filePath("LTR.DRV");
  QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", ltr);
  QFile::setPermissions(ltr, QFile::ReadOwner | QFile::WriteOwner);
  try {
    globals().LangConnection = std::make_unique<Connection>();
    globals().LangConnection->open(ltr);
    globals().LangRecordset = std::make_unique<Recordset>();
    globals().LangRecordset->open(QStringLiteral("Lang"), *globals().LangConnection,
                                  LockType::Pessimistic);
    out << "Sales invoices of " << kLines << " lines through the hidden window, SQLite\n";
    out.flush();
    const Timing small = timeFor(n, work.path());
    const Timing large = timeFor(2 * n, work.path());
    for (const auto& [count, timing] : {std::pair{n, small}, std::pair{2 * n, large}}) {
      out << QStringLiteral("  %1 invoices: %2 s processor, %3 s wall\n")
                 .arg(count)
                 .arg(timing.cpuSeconds, 0, 'f', 2)
                 .arg(timing.wallSeconds, 0, 'f', 2);
    }
    out << QStringLiteral("RESULT invoices_per_s=%1 ratio=%2\n")
               .arg(2 * n / large.cpuSeconds, 0, 'f', 0)
               .arg(large.cpuSeconds / small.cpuSeconds, 0, 'f', 2);
  } catch (const DbError& error) {
    out << "Err:" << error.number() << '\n' << error.description() << '\n';
    return 1;
  }
  ReleaseGlobals();
  return 0;
}
