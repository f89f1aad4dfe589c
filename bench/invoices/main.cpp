// bench-invoices: the unattended sales and purchase runs at N and 2N
// invoices of each kind (5 lines each, one return for every tenth invoice;
// items, customers and providers only in version 1, so the imports create
// them), into a fresh SQLite version-2 database and then into PostgreSQL.
// Each size runs five times on SQLite and three on PostgreSQL, taking turns
// with the other size, each time in a child process of its own so that its
// peak memory is its own. Prints the invoices per second (returns included
// in the time) and the time ratio 2N/N, and ends with a RESULT line (SQLite
// figures at 2N unless prefixed). The machine may be shared: the fastest run
// of a size counts, and on SQLite the figures count processor time (this
// process and the file converter it starts); on PostgreSQL, whose server
// does part of the work, wall time.
//
//   bench-invoices [N]            (default N = 5000)
//   bench-invoices --one ENGINE N (one run; used by the above)

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "bench/StockBench.h"
#include "catalogue/CatalogueBatch.h"
#include "host/ImportData.h"

namespace {

using namespace qalvoro;

// Runs the batch of one kind; false, after printing its output, when it did
// not process every row.
bool runKind(const QString& kind, const QString& cashier, const bench::StockBenchFolder& work,
             const QString& target) {
  QString output;
  QTextStream out(&output);
  const int code = RunCatalogueBatch(
      {"--app-path", work.path(), "--settings", "Bench", "--db", target, "--v1-folder", work.path(),
       "--old-branch", "1", "--branch", "1", "--kind", kind, "--cashier", cashier},
      out);
  if (code == 0) return true;
  std::fprintf(stderr, "%s\n", qPrintable(output));
  return false;
}

// Processor seconds of this process and of its finished children.
double processorSeconds() {
  double seconds = 0;
  for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    getrusage(who, &usage);
    for (const timeval& time : {usage.ru_utime, usage.ru_stime}) {
      seconds += time.tv_sec + time.tv_usec / 1e6;
    }
  }
  return seconds;
}

// One size in this process: prints "RESULT invoices returns wall_s
// processor_s peak_kib statements round_trips" (the server's statements of
// both runs and their round trips, 0 on SQLite).
int runOne(const QString& engine, int n) {
  mdbwriter::v1::V1Options options;
  options.sizes.invoices = n;
  options.sizes.purchases = n;
  options.sizes.lines = 5;
  options.sizes.returnEvery = 10;
  options.sizes.items = std::max(15, n / 10);
  options.sizes.customers = std::max(6, n / 10);
  options.sizes.providers = std::max(4, n / 10);
  const bench::StockBenchFolder work(engine, n, options);
  const QString target = work.target();

  bench::ServerStatements server(target);
  QElapsedTimer timer;
  timer.start();
  const double processor = processorSeconds();
  if (!runKind("sales", "120101", work, target)) return 1;
  if (!runKind("purchases", "120102", work, target)) return 1;
  const double seconds = timer.nsecsElapsed() / 1e9;
  const double processorUsed = processorSeconds() - processor;
  const qint64 statements = server.lap();
  // The batches have closed their sessions: their round trips are the
  // server's transactions.
  const qint64 trips = server.transactions();

  if (!ImportData::OpenSession(work.path() + '/', QStringLiteral("Bench"), target)) return 1;
  const int invoices = bench::RowsOf("SaleInvoice") + bench::RowsOf("BuyInvoice");
  const int returns = bench::RowsOf("RSaleInvoice") + bench::RowsOf("RBuyInvoice");
  ImportData::CloseSession();
  QTextStream(stdout) << "RESULT " << invoices << ' ' << returns << ' ' << seconds << ' '
                      << processorUsed << ' ' << bench::PeakKiB() << ' ' << statements << ' '
                      << trips << Qt::endl;
  return 0;
}

struct Run {
  int n = 0;
  int invoices = 0;
  int returns = 0;
  double wall = 0;
  double processor = 0;
  double seconds = 0;  // the time the figures count
  long peak = 0;
  qint64 statements = 0;
  qint64 trips = 0;
  double perSecond() const { return seconds > 0 ? 2.0 * n / seconds : 0; }
  double perWallSecond() const { return wall > 0 ? 2.0 * n / wall : 0; }
  // The server's statements per document (returns included), with those of
  // the items and parties the documents bring in.
  double statementsPerDocument() const { return bench::PerRecord(statements, invoices + returns); }
  double tripsPerDocument() const { return bench::PerRecord(trips, invoices + returns); }
};

Run parse(const QString& engine, int n, const QStringList& words) {
  Run run;
  run.n = n;
  if (words.size() != 7) return run;
  run.invoices = words[0].toInt();
  run.returns = words[1].toInt();
  run.wall = words[2].toDouble();
  run.processor = words[3].toDouble();
  run.seconds = engine == QLatin1String("sqlite") ? run.processor : run.wall;
  run.peak = words[4].toLong();
  run.statements = words[5].toLongLong();
  run.trips = words[6].toLongLong();
  return run;
}

// Runs N and 2N on an engine and prints them; returns both runs.
std::pair<Run, Run> report(const QString& engine, int n) {
  const auto [smallWords, largeWords] = bench::FastestChildResults(engine, n, {2, 3});
  const Run small = parse(engine, n, smallWords);
  const Run large = parse(engine, 2 * n, largeWords);
  std::printf("%s\n", qPrintable(engine));
  for (const Run& run : {small, large}) {
    std::printf(
        "  %6d of each kind: %d invoices, %d returns; %.1f s wall, %.1f s processor: "
        "%.0f invoices/s   peak %ld MiB\n",
        run.n, run.invoices, run.returns, run.wall, run.processor, run.perSecond(),
        run.peak / 1024);
  }
  std::printf("  time ratio 2N/N: %.2f (goal <= 2.2)\n", large.seconds / small.seconds);
  if (large.statements > 0) {
    std::printf("  server statements: %.2f per document, round trips %.2f\n",
                large.statementsPerDocument(), large.tripsPerDocument());
  }
  std::fflush(stdout);
  return {small, large};
}

}  // namespace

int main(int argc, char* argv[]) {
  return bench::BenchMain(argc, argv, runOne, [](int n) {
    const auto [small, large] = report(QStringLiteral("sqlite"), n);

    // PostgreSQL: a throwaway server on loopback for the two runs.
    Run pgSmall;
    Run pgLarge;
    const bench::BenchPostgres server(56542);
    if (server.started()) {
      qputenv("BENCH_PG_URL", (server.urlPrefix() + "bench").toUtf8());
      std::tie(pgSmall, pgLarge) = report(QStringLiteral("postgresql"), n);
    } else {
      std::printf("postgresql: the server could not be started\n");
    }
    const auto ratio = [](const Run& first, const Run& second) {
      return first.seconds > 0 ? second.seconds / first.seconds : 0;
    };
    // The share compares wall times, the one measure both engines have.
    std::printf(
        "RESULT invoices_per_s=%.0f ratio=%.2f pg_invoices_per_s=%.0f pg_ratio=%.2f "
        "peak_mib_n=%ld peak_mib_2n=%ld pg_share=%.2f pg_statements_per_record=%.2f "
        "pg_round_trips_per_record=%.2f\n",
        large.perSecond(), ratio(small, large), pgLarge.perSecond(), ratio(pgSmall, pgLarge),
        small.peak / 1024, large.peak / 1024,
        bench::Share(pgLarge.perWallSecond(), large.perWallSecond()),
        pgLarge.statementsPerDocument(), pgLarge.tripsPerDocument());
    return 0;
  });
}
