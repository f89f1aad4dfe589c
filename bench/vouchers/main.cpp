// bench-vouchers: the voucher import at N receipts and N payments, then 2N
// of each, into a fresh SQLite version-2 database and then into PostgreSQL.
// Half of the vouchers name customers, half providers; a tenth of the
// parties have no account yet (nor a version-2 row): the import writes the
// party and its account at its first voucher and reuses them after. The
// other parties are imported with their accounts before the timed run.
// Each size runs five times on SQLite and three on PostgreSQL, taking turns
// with the other size, in a child process of its own each time, and the
// fastest run counts (the machine may be shared). Prints the vouchers per
// second and the time ratio 2N/N, and ends with a RESULT line (figures at
// 2N).
//
//   bench-vouchers [N]            (default N = 5000)
//   bench-vouchers --one ENGINE N (one run; used by the above)

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextStream>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "bench/StockBench.h"
#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/Version2Database.h"
#include "host/batch/BatchRun.h"
#include "host/db/Connection.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "tools/mdbwriter/JetDatabaseWriter.h"
#include "tools/mdbwriter/V1Schema.h"
#include "v1source/source/Version1Source.h"

namespace {

using namespace qalvoro;
namespace mw = mdbwriter;
namespace v1 = mdbwriter::v1;

// Parties of each kind: every one is named by one receipt and one payment.
int partiesOf(int n) { return std::max(1, n / 2); }

QString partyName(bool customer, int party) {
  return (customer ? QStringLiteral("عميل %1") : QStringLiteral("مورد %1")).arg(party);
}

void writeParties(mw::JetDatabaseWriter& file, const v1::TableSpec& spec, bool customers, int n) {
  auto& table = file.addTable(spec.name, spec.columns);
  for (int party = 1; party <= partiesOf(n); ++party) {
    table.addRow({mw::Value::integer(1), mw::Value::integer(party),
                  mw::Value::text(partyName(customers, party)), mw::Value::text("سعيد"),
                  mw::Value::text("الرياض"), mw::Value::text("01-4224484"), mw::Value()});
  }
}

// Stock001.mdb of branch 1: the parties and 2n vouchers, receipts and
// payments in turn, a quarter of them by cheque (some without a date).
void writeStockFile(const QString& folder, int n) {
  mw::JetDatabaseWriter file(QDir(folder).filePath("Stock001.mdb"));
  file.addTable(v1::stockBranchTable().name, v1::stockBranchTable().columns)
      .addRow({mw::Value::text(QStringLiteral("المستودع الرئيسي")), mw::Value::integer(1)});
  file.addTable(v1::itemTable().name, v1::itemTable().columns);
  writeParties(file, v1::customerTable(), true, n);
  writeParties(file, v1::providerTable(), false, n);
  file.addTable(v1::salesInvoiceTable().name, v1::salesInvoiceTable().columns);
  file.addTable(v1::purchaseInvoiceTable().name, v1::purchaseInvoiceTable().columns);
  auto& vouchers = file.addTable(v1::voucherTable().name, v1::voucherTable().columns);
  for (int v = 0; v < 2 * n; ++v) {
    const bool receipt = v % 2 == 0;
    const bool customer = (v / 2) % 2 == 0;
    const int party = (v / 4) % partiesOf(n) + 1;
    const bool cheque = v % 4 == 1;
    const QDateTime date(QDate(2003, 1, 1).addDays(v % 365), QTime());
    vouchers.addRow({mw::Value::integer(1), mw::Value::integer(v / 2 + 1),
                     mw::Value::dateTime(date), mw::Value::integer(receipt ? 1 + v % 3 / 2 : 0),
                     mw::Value::integer(customer ? 0 : 1), mw::Value::integer(party),
                     mw::Value::text(customer ? QStringLiteral("عميل") : QStringLiteral("مورد")),
                     mw::Value::text(partyName(customer, party)),
                     mw::Value::currency(mw::Currency::fromCents(10000 + v % 50000)),
                     mw::Value::integer(cheque ? 1 : 0),
                     cheque ? mw::Value::text(QStringLiteral("CHQ-%1").arg(v)) : mw::Value(),
                     cheque && v % 7 != 0 ? mw::Value::dateTime(date.addDays(-30)) : mw::Value(),
                     mw::Value::text(QStringLiteral("سداد 'فاتورة'"))});
  }
  file.close();
}

// Imports the parties that have their accounts before the run: a tenth is
// left out of the working copy first.
void importParties(FrmCat_Restore& window) {
  window.source().database().execute(
      QStringLiteral("DELETE FROM العملاء WHERE رقم_العميل % 10 = 0"));
  window.source().database().execute(
      QStringLiteral("DELETE FROM الموردين WHERE رقم_المورد % 10 = 0"));
  window.ChkAddCustmAcc->setChecked(true);
  window.ChkAddProvAcc->setChecked(true);
  window.SSTab1->setCurrentTab(kCustomersTab);
  window.CmdImportAll->click();
  window.SSTab1->setCurrentTab(kProvidersTab);
  window.CmdImportAll->click();
  // A fresh working copy, with every party for the vouchers.
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  SelectComboByData(*window.CboOldBranch, 1);
}

// One size in this process: prints "RESULT vouchers seconds peak_kib
// statements round_trips" (the server's statements and the round trips, 0 on
// SQLite).
int runOne(const QString& engine, int n) {
  const bench::StockBenchFolder work(engine, n,
                                     [n](const QString& folder) { writeStockFile(folder, n); });
  const QString target = work.target();

  QString ignored;
  QTextStream quiet(&ignored);
  const ScopedPlatform user(std::make_unique<BatchUser>(quiet));
  if (!ImportData::OpenSession(work.path() + '/', QStringLiteral("Bench"), target)) return 1;
  FrmCat_Restore& window = bench::OpenStockFile(work.path());
  importParties(window);
  window.SSTab1->setCurrentTab(kVouchersTab);
  window.CboCashier[2]->setCurrentIndex(0);

  bench::ServerStatements server(target);
  QElapsedTimer timer;
  timer.start();
  window.CmdImportAll->click();
  const double seconds = timer.nsecsElapsed() / 1e9;
  const qint64 statements = server.lap();
  const qint64 trips = server.roundTrips();
  const int written = bench::RowsOf("Receipt") + bench::RowsOf("Payment");
  window.Cmd_Exit->click();
  windows().clear();
  ImportData::CloseSession();
  ReleaseGlobals();
  QTextStream(stdout) << "RESULT " << written << ' ' << seconds << ' ' << bench::PeakKiB() << ' '
                      << statements << ' ' << trips << Qt::endl;
  return 0;
}

struct Run {
  int vouchers = 0;  // asked for: 2n
  int written = 0;
  double seconds = 0;
  long peak = 0;
  qint64 statements = 0;
  qint64 trips = 0;
  double perSecond() const { return seconds > 0 ? vouchers / seconds : 0; }
};

Run parse(int n, const QStringList& words) {
  Run run;
  run.vouchers = 2 * n;
  if (words.size() != 5) return run;
  run.written = words[0].toInt();
  run.seconds = words[1].toDouble();
  run.peak = words[2].toLong();
  run.statements = words[3].toLongLong();
  run.trips = words[4].toLongLong();
  return run;
}

// The 2N run's figures of one engine.
struct Figures {
  double perSecond = 0;
  double ratio = 0;
  double statementsPerVoucher = 0;
  double tripsPerVoucher = 0;
};

// Runs N and 2N on an engine and prints them.
Figures report(const QString& engine, int n) {
  const auto [smallWords, largeWords] = bench::FastestChildResults(engine, n, {1});
  const Run small = parse(n, smallWords);
  const Run large = parse(2 * n, largeWords);
  std::printf("%s\n", qPrintable(engine));
  for (const Run& run : {small, large}) {
    std::printf("  %6d vouchers (%d written): %.2f s, %.0f vouchers/s, peak %ld MiB\n",
                run.vouchers, run.written, run.seconds, run.perSecond(), run.peak / 1024);
  }
  const double ratio = small.seconds > 0 ? large.seconds / small.seconds : 0;
  std::printf("  time ratio 2N/N: %.2f (goal <= 2.2)\n", ratio);
  const double perVoucher = bench::PerRecord(large.statements, large.written);
  const double tripsPerVoucher = bench::PerRecord(large.trips, large.written);
  if (large.statements > 0) {
    std::printf("  server statements: %.2f per voucher, round trips %.2f\n", perVoucher,
                tripsPerVoucher);
  }
  std::fflush(stdout);
  return {large.perSecond(), ratio, perVoucher, tripsPerVoucher};
}

}  // namespace

int main(int argc, char* argv[]) {
  return bench::BenchMain(argc, argv, runOne, [](int n) {
    const Figures sqlite = report(QStringLiteral("sqlite"), n);
    Figures pg;
    const bench::BenchPostgres server(56542);
    if (server.started()) {
      qputenv("BENCH_PG_URL", (server.urlPrefix() + "bench").toUtf8());
      pg = report(QStringLiteral("postgresql"), n);
    } else {
      std::printf("postgresql: the server could not be started\n");
    }
    std::printf(
        "RESULT vouchers_per_s=%.0f ratio=%.2f pg_vouchers_per_s=%.0f pg_ratio=%.2f pg_share=%.2f "
        "pg_statements_per_record=%.2f pg_round_trips_per_record=%.2f\n",
        sqlite.perSecond, sqlite.ratio, pg.perSecond, pg.ratio,
        bench::Share(pg.perSecond, sqlite.perSecond), pg.statementsPerVoucher, pg.tripsPerVoucher);
    return 0;
  });
}
