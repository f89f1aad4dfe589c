// bench-catalogue: the catalogue migration at N and 2N items, customers and
// providers (import-all of new records, an account of their own for the
// parties), then the items again over them with yes to all, into a fresh
// SQLite version-2 database and then into PostgreSQL. Each size runs five
// times on SQLite and three on PostgreSQL, taking turns with the other size,
// each time in a child process of its own so that its peak memory is its
// own, and the fastest time of each kind counts (the machine may be shared).
// Prints the records per second of every run and the time ratios 2N/N, and
// ends with a RESULT line (SQLite figures at 2N).
//
//   bench-catalogue [N]            (default N = 5000)
//   bench-catalogue --one ENGINE N (one run; used by the above)

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "bench/StockBench.h"
#include "catalogue/FrmCat_Restore.h"
#include "catalogue/StockFile.h"
#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/batch/BatchRun.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/forms/SSTab.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"

namespace {

using namespace qalvoro;

// The four runs of one size: items, customers, providers, items overwritten.
constexpr int kRuns = 4;
const std::array<const char*, kRuns> kRunNames = {"items", "customers", "providers", "overwrite"};

double timed(QPushButton& button) {
  QElapsedTimer timer;
  timer.start();
  button.click();
  return timer.nsecsElapsed() / 1e9;
}

// One size in this process: prints "RESULT records items_s customers_s
// providers_s overwrite_s peak_kib", the server's statements of the four
// runs and their round trips (0 on SQLite).
int runOne(const QString& engine, int n) {
  mdbwriter::v1::V1Options options;
  options.sizes.items = n;
  options.sizes.customers = n;
  options.sizes.providers = n;
  const bench::StockBenchFolder work(engine, n, options);
  const QString target = work.target();

  QString ignored;
  QTextStream quiet(&ignored);
  auto batchUser = std::make_unique<BatchUser>(quiet);
  batchUser->setWindowScript([](QWidget& window) { AnswerOverwritePrompt(window, "yes-all"); });
  const ScopedPlatform user(std::move(batchUser));
  if (!ImportData::OpenSession(work.path() + '/', QStringLiteral("Bench"), target)) return 1;
  FrmCat_Restore& window = bench::OpenStockFile(work.path());
  window.ChkAddCustmAcc->setChecked(true);
  window.ChkAddProvAcc->setChecked(true);

  std::array<double, kRuns> seconds{};
  std::array<qint64, kRuns> statements{};
  std::array<qint64, kRuns> trips{};
  bench::ServerStatements server(target);
  seconds[0] = timed(*window.CmdImportAll);
  statements[0] = server.lap();
  trips[0] = server.roundTrips();
  window.SSTab1->setCurrentTab(kCustomersTab);
  seconds[1] = timed(*window.CmdImportAll);
  statements[1] = server.lap();
  trips[1] = server.roundTrips();
  window.SSTab1->setCurrentTab(kProvidersTab);
  seconds[2] = timed(*window.CmdImportAll);
  statements[2] = server.lap();
  trips[2] = server.roundTrips();
  window.CmdOpenOldDB->click();
  window.CmdOpenOldDB->click();
  window.SSTab1->setCurrentTab(kItemsTab);
  server.lap();
  seconds[3] = timed(*window.CmdImportAll);
  statements[3] = server.lap();
  trips[3] = server.roundTrips();
  const int written =
      bench::RowsOf("Category") + bench::RowsOf("Customer") + bench::RowsOf("Provider");
  window.Cmd_Exit->click();
  windows().clear();
  ImportData::CloseSession();
  ReleaseGlobals();
  QTextStream out(stdout);
  out << "RESULT " << written << ' ' << seconds[0] << ' ' << seconds[1] << ' ' << seconds[2] << ' '
      << seconds[3] << ' ' << bench::PeakKiB();
  for (const qint64 count : statements) out << ' ' << count;
  for (const qint64 count : trips) out << ' ' << count;
  out << Qt::endl;
  return 0;
}

struct Run {
  int n = 0;
  int written = 0;
  std::array<double, kRuns> seconds{};
  long peak = 0;
  std::array<qint64, kRuns> statements{};
  std::array<qint64, kRuns> trips{};
  double perSecond(int run) const { return n / seconds[run]; }
};

Run parse(int n, const QStringList& words) {
  Run run;
  run.n = n;
  if (words.size() != 2 + 3 * kRuns) return run;
  run.written = words[0].toInt();
  for (int i = 0; i < kRuns; ++i) {
    run.seconds[i] = words[1 + i].toDouble();
    run.statements[i] = words[2 + kRuns + i].toLongLong();
    run.trips[i] = words[2 + 2 * kRuns + i].toLongLong();
  }
  run.peak = words[1 + kRuns].toLong();
  return run;
}

// Runs N and 2N on an engine and prints them; returns the 2N run and the
// time ratio of each kind.
std::pair<Run, std::array<double, kRuns>> report(const QString& engine, int n) {
  const auto [smallWords, largeWords] = bench::FastestChildResults(engine, n, {1, 2, 3, 4});
  const Run small = parse(n, smallWords);
  const Run large = parse(2 * n, largeWords);
  std::array<double, kRuns> ratios{};
  std::printf("%s\n", qPrintable(engine));
  for (const Run& run : {small, large}) {
    std::printf("  %6d of each (%d rows):", run.n, run.written);
    for (int i = 0; i < kRuns; ++i) std::printf("  %s %.0f/s", kRunNames[i], run.perSecond(i));
    std::printf("   peak %ld MiB\n", run.peak / 1024);
  }
  std::printf("  time ratio 2N/N:");
  for (int i = 0; i < kRuns; ++i) {
    ratios[i] = large.seconds[i] / small.seconds[i];
    std::printf("  %s %.2f", kRunNames[i], ratios[i]);
  }
  std::printf("  (goal <= 2.2)\n");
  if (large.statements[0] > 0) {
    std::printf("  server statements per record:");
    for (int i = 0; i < kRuns; ++i) {
      std::printf("  %s %.2f", kRunNames[i], bench::PerRecord(large.statements[i], large.n));
    }
    std::printf("\n  round trips per record:");
    for (int i = 0; i < kRuns; ++i) {
      std::printf("  %s %.2f", kRunNames[i], bench::PerRecord(large.trips[i], large.n));
    }
    std::printf("\n");
  }
  std::fflush(stdout);
  return {large, ratios};
}

}  // namespace

int main(int argc, char* argv[]) {
  return bench::BenchMain(argc, argv, runOne, [](int n) {
    const auto [sqlite, ratios] = report(QStringLiteral("sqlite"), n);

    // PostgreSQL: a throwaway server on loopback for the two runs.
    Run pg;
    const bench::BenchPostgres server(56532);
    if (server.started()) {
      qputenv("BENCH_PG_URL", (server.urlPrefix() + "bench").toUtf8());
      pg = report(QStringLiteral("postgresql"), n).first;
    } else {
      std::printf("postgresql: the server could not be started\n");
    }
    // Each kind's share; the figure that counts is the smallest.
    std::array<double, kRuns> shares{};
    for (int i = 0; i < kRuns; ++i) {
      shares[i] = pg.n > 0 ? bench::Share(pg.perSecond(i), sqlite.perSecond(i)) : 0;
    }
    std::printf(
        "RESULT items_per_s=%.0f customers_per_s=%.0f providers_per_s=%.0f overwrite_per_s=%.0f "
        "items_ratio=%.2f customers_ratio=%.2f providers_ratio=%.2f pg_items_per_s=%.0f "
        "pg_share=%.2f pg_items_share=%.2f pg_customers_share=%.2f pg_providers_share=%.2f "
        "pg_overwrite_share=%.2f pg_statements_per_record=%.2f pg_statements_per_customer=%.2f "
        "pg_statements_per_provider=%.2f pg_round_trips_per_record=%.2f "
        "pg_round_trips_per_customer=%.2f pg_round_trips_per_provider=%.2f\n",
        sqlite.perSecond(0), sqlite.perSecond(1), sqlite.perSecond(2), sqlite.perSecond(3),
        ratios[0], ratios[1], ratios[2], pg.n > 0 ? pg.perSecond(0) : 0,
        *std::min_element(shares.begin(), shares.end()), shares[0], shares[1], shares[2], shares[3],
        bench::PerRecord(pg.statements[0], pg.n), bench::PerRecord(pg.statements[1], pg.n),
        bench::PerRecord(pg.statements[2], pg.n), bench::PerRecord(pg.trips[0], pg.n),
        bench::PerRecord(pg.trips[1], pg.n), bench::PerRecord(pg.trips[2], pg.n));
    return 0;
  });
}
