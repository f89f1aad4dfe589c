// bench-accounts: the accounts migration at N and 2N accounts (with 2N and
// 4N journal entries of 2-4 lines), into a fresh SQLite version-2 database
// and then into PostgreSQL. Each size runs five times on SQLite and three on
// PostgreSQL, taking turns with the other size, each time in a child process
// of its own so that its peak memory is its own, and the fastest time of
// each phase counts (the machine may be shared). Prints accounts/s,
// entries/s and the time ratio 2N/N of both phases, and ends with a RESULT
// line (figures at 2N).
//
//   bench-accounts [N]            (default N = 5000)
//   bench-accounts --one ENGINE N (one run; used by the above)

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "accounts/FrmAcc_Restore.h"
#include "bench/BenchSupport.h"
#include "host/Globals.h"
#include "host/ImportData.h"
#include "host/Version2Database.h"
#include "host/db/Connection.h"
#include "host/db/Recordset.h"
#include "host/forms/FileControls.h"
#include "host/forms/Windows.h"
#include "host/helpers/ComboHelpers.h"
#include "host/platform/BatchUser.h"
#include "host/platform/Platform.h"
#include "tools/mdbwriter/V1Generator.h"
#include "v1source/source/Version1Source.h"

namespace {

using namespace qalvoro;

struct Result {
  double accountSeconds = 0;
  double entrySeconds = 0;
  qint64 accountStatements = 0;
  qint64 entryStatements = 0;
  qint64 accountTrips = 0;
  qint64 entryTrips = 0;
};

// One run in this process: prints "RESULT accounts accounts_s entries entries_s
// peak_kib account_statements entry_statements account_trips entry_trips"
// (the server's statements and the round trips: 0 on SQLite).
int runOne(const QString& engine, int accounts) {
  QTemporaryDir work;
  Platform::useSettingsFolder(work.filePath("config"));
  qputenv("QALVORO_WORKING_COPY", work.filePath("tmp_44d2.tmp").toLocal8Bit());
  mdbwriter::v1::V1Options options;
  options.sizes.accounts = accounts;
  options.sizes.entries = 2 * accounts;
  options.systemFile = false;
  mdbwriter::v1::writeAccountsFolder(work.path(), options);
  QFile::remove(work.filePath("General.MDB"));

  QString target = work.filePath("v2.db");
  if (engine == QLatin1String("postgresql")) {
    target = qEnvironmentVariable("BENCH_PG_URL") +
             QStringLiteral("_%1_%2").arg(accounts).arg(QCoreApplication::applicationPid());
  }
  createVersion2Database(target, false);
  {
    Connection connection;
    connection.open(target, QStringLiteral("sa"), DbPassword);
    connection.execute(
        QStringLiteral("INSERT INTO Branch (AName, EName) VALUES ('bench', 'bench')"));
  }
  QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", work.filePath("LTR.DRV"));

  QTextStream out(stdout);
  QString ignored;
  QTextStream quiet(&ignored);
  const ScopedPlatform user(std::make_unique<BatchUser>(quiet));
  if (!ImportData::OpenSession(work.path() + '/', QStringLiteral("Bench"), target)) return 1;
  auto& window = windows().get<FrmAcc_Restore>();
  window.load();
  window.File1->setPath(work.path());
  window.File1->setCurrentItem(
      window.File1->findItems("ACC2003.MDB", Qt::MatchFixedString).value(0));
  window.CmdOpenOldDB->click();
  SelectComboByData(*window.CboOldBranch, 1);

  Result result;
  bench::ServerStatements server(target);
  QElapsedTimer timer;
  timer.start();
  window.CmdImportAll->click();
  result.accountSeconds = timer.nsecsElapsed() / 1e9;
  result.accountStatements = server.lap();
  result.accountTrips = server.roundTrips();
  timer.restart();
  window.CmdImportGaid->click();
  result.entrySeconds = timer.nsecsElapsed() / 1e9;
  result.entryStatements = server.lap();
  result.entryTrips = server.roundTrips();
  const int imported = bench::RowsOf(QStringLiteral("CardAcc"));
  const int entries = bench::RowsOf(QStringLiteral("Gaid"));
  window.Cmd_Exit->click();
  windows().clear();
  ImportData::CloseSession();
  ReleaseGlobals();
  out << "RESULT " << imported << ' ' << result.accountSeconds << ' ' << entries << ' '
      << result.entrySeconds << ' ' << bench::PeakKiB() << ' ' << result.accountStatements << ' '
      << result.entryStatements << ' ' << result.accountTrips << ' ' << result.entryTrips
      << Qt::endl;
  return 0;
}

struct Run {
  int accounts = 0;
  double accountSeconds = 0;
  int entries = 0;
  double entrySeconds = 0;
  long peak = 0;
  qint64 accountStatements = 0;
  qint64 entryStatements = 0;
  qint64 accountTrips = 0;
  qint64 entryTrips = 0;
};

Run parse(const QStringList& words) {
  if (words.size() != 9) return {};
  return {words[0].toInt(),      words[1].toDouble(),   words[2].toInt(),
          words[3].toDouble(),   words[4].toLong(),     words[5].toLongLong(),
          words[6].toLongLong(), words[7].toLongLong(), words[8].toLongLong()};
}

// The 2N figures and ratios of one engine, as the RESULT line gives them.
struct Figures {
  double accountsPerSecond = 0;
  double entriesPerSecond = 0;
  double accountsRatio = 0;
  double entriesRatio = 0;
  double statementsPerAccount = 0;
  double statementsPerEntry = 0;
  double tripsPerAccount = 0;
  double tripsPerEntry = 0;
};

Figures report(const QString& engine, int n) {
  const auto [smallWords, largeWords] = bench::FastestChildResults(engine, n, {1, 3});
  const Run small = parse(smallWords);
  const Run large = parse(largeWords);
  std::printf("%s\n", qPrintable(engine));
  for (const Run& run : {small, large}) {
    std::printf("  %6d accounts: %8.0f accounts/s   %6d entries: %8.0f entries/s   peak %ld MiB\n",
                run.accounts, run.accounts / run.accountSeconds, run.entries,
                run.entries / run.entrySeconds, run.peak / 1024);
  }
  const Figures figures{large.accounts / large.accountSeconds,
                        large.entries / large.entrySeconds,
                        large.accountSeconds / small.accountSeconds,
                        large.entrySeconds / small.entrySeconds,
                        bench::PerRecord(large.accountStatements, large.accounts),
                        bench::PerRecord(large.entryStatements, large.entries),
                        bench::PerRecord(large.accountTrips, large.accounts),
                        bench::PerRecord(large.entryTrips, large.entries)};
  std::printf("  time ratio 2N/N: accounts %.2f, entries %.2f (goal <= 2.2)\n",
              figures.accountsRatio, figures.entriesRatio);
  if (large.accountStatements > 0) {
    std::printf("  server statements: %.2f per account, %.2f per entry\n",
                figures.statementsPerAccount, figures.statementsPerEntry);
    std::printf("  round trips: %.2f per account, %.2f per entry\n", figures.tripsPerAccount,
                figures.tripsPerEntry);
  }
  std::fflush(stdout);
  return figures;
}

}  // namespace

int main(int argc, char* argv[]) {
  return bench::BenchMain(argc, argv, runOne, [](int n) {
    const Figures sqlite = report(QStringLiteral("sqlite"), n);

    // PostgreSQL: a throwaway server on loopback for the two runs.
    Figures pg;
    const bench::BenchPostgres server(56432);
    if (server.started()) {
      qputenv("BENCH_PG_URL", (server.urlPrefix() + "bench").toUtf8());
      pg = report(QStringLiteral("postgresql"), n);
    } else {
      std::printf("postgresql: the server could not be started\n");
    }
    const double accountsShare = bench::Share(pg.accountsPerSecond, sqlite.accountsPerSecond);
    const double entriesShare = bench::Share(pg.entriesPerSecond, sqlite.entriesPerSecond);
    std::printf(
        "RESULT accounts_per_s=%.0f entries_per_s=%.0f accounts_ratio=%.2f entries_ratio=%.2f "
        "pg_accounts_per_s=%.0f pg_entries_per_s=%.0f pg_share=%.2f pg_accounts_share=%.2f "
        "pg_entries_share=%.2f pg_statements_per_record=%.2f pg_statements_per_entry=%.2f "
        "pg_round_trips_per_record=%.2f pg_round_trips_per_entry=%.2f\n",
        sqlite.accountsPerSecond, sqlite.entriesPerSecond, sqlite.accountsRatio,
        sqlite.entriesRatio, pg.accountsPerSecond, pg.entriesPerSecond,
        std::min(accountsShare, entriesShare), accountsShare, entriesShare, pg.statementsPerAccount,
        pg.statementsPerEntry, pg.tripsPerAccount, pg.tripsPerEntry);
    return 0;
  });
}
