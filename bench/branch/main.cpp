// bench-branch: the whole-branch command with --verify on generated
// version-1 folders of one branch at scale S and 2S, into a fresh demo
// version-2 database on SQLite and then on PostgreSQL. At S (N = 5000
// sales invoices): 1,000 accounts, 2,000 entries, 2,000 items, 500
// customers, 200 providers, 5,000 sales and 2,000 purchase invoices of 5
// lines, about 500 returns and 2,000 vouchers; 2S doubles every count. Each
// size runs in turns with the other (five times on SQLite, three on
// PostgreSQL) and its fastest run counts, as wall time of the host program.
// Prints the run and verification times and ends with a RESULT line: the S
// run's seconds, the ratios 2S/S and the verification's share of the run.
//
//   bench-branch [N]            (default N = 5000)
//   bench-branch --one ENGINE N (one run; used by the above)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "host/Globals.h"
#include "host/Version2Database.h"
#include "tools/mdbwriter/V1Generator.h"

namespace {

using namespace qalvoro;

// The sizes of a run with n sales invoices.
mdbwriter::v1::V1Options optionsOf(int n) {
  mdbwriter::v1::V1Options options;
  auto& sizes = options.sizes;
  sizes.branches = 1;
  sizes.accounts = n / 5;
  sizes.entries = 2 * n / 5;
  sizes.items = 2 * n / 5;
  sizes.customers = n / 10;
  sizes.providers = n / 25;
  sizes.invoices = n;
  sizes.purchases = 2 * n / 5;
  sizes.lines = 5;
  sizes.returnEvery = 14;  // 7n/14: 500 returns at S
  sizes.vouchers = 2 * n / 5;
  return options;
}

// The parent accounts of the customers' (9801) and providers' (9802)
// accounts: top-level accounts outside the generated chart, so that the
// accounts the run creates for the parties keep to numbers of their own.
void addPartyParents(const QString& target) {
  Connection database;
  database.open(target, QStringLiteral("sa"), DbPassword);
  for (const char* number : {"9801", "9802"}) {
    database.execute(QStringLiteral("INSERT INTO CardAcc (BranchID, AccNo, AccNameA, AccNameE, "
                                    "ffather) VALUES (1, ?, ?, ' ', '_')"),
                     {QString::fromLatin1(number), QStringLiteral("حسابات الأطراف")});
  }
}

// One size: writes both folders, creates the database and runs the
// whole-branch command with --verify; prints "RESULT wall_s verify_s".
int runOne(const QString& engine, int n) {
  QTemporaryDir work;
  const auto options = optionsOf(n);
  mdbwriter::v1::writeAccountsFolder(work.filePath("accounts"), options);
  mdbwriter::v1::writeStockFolder(work.filePath("stock"), options);
  QFile::copy(QCoreApplication::applicationDirPath() + "/LTR.DRV", work.filePath("LTR.DRV"));
  const QString target =
      engine == QLatin1String("postgresql")
          ? qEnvironmentVariable("BENCH_PG_URL") +
                QStringLiteral("_%1_%2").arg(n).arg(QCoreApplication::applicationPid())
          : work.filePath("v2.db");
  createVersion2Database(target, true);
  addPartyParents(target);

  QProcess host;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", work.filePath("config"));
  environment.insert("QALVORO_WORKING_COPY", work.filePath("tmp_44d2.tmp"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  host.setProcessEnvironment(environment);
  host.setProcessChannelMode(QProcess::MergedChannels);
  QElapsedTimer timer;
  timer.start();
  const QStringList sources = {"--accounts-folder", work.filePath("accounts"),
                               "--accounts-file",   "ACC2003.MDB",
                               "--stock-folder",    work.filePath("stock")};
  const QStringList choices = {"--overwrite",         "yes-all", "--customers-account", "9801",
                               "--providers-account", "9802",    "--cashier",           "120101"};
  host.start(QCoreApplication::applicationDirPath() + "/qalvoro-host",
             QStringList{"--batch", "branch", "--app-path", work.path(), "--settings", "Bench",
                         "--db", target, "--old-branch", "1", "--branch", "1", "--verify"} +
                 sources + choices);
  host.waitForFinished(-1);
  const double seconds = timer.nsecsElapsed() / 1e9;
  const QString output = QString::fromUtf8(host.readAll());
  const auto verified =
      QRegularExpression(QStringLiteral("verify seconds: ([0-9.]+)")).match(output);
  if (!verified.hasMatch()) {
    std::fprintf(stderr, "%s\n", qPrintable(output));
    return 1;
  }
  // The version-1 account without a parent stops the accounts by design
  // (exit code 3); anything the verification finds is shown, and the run
  // still counts.
  if (!output.contains(QLatin1String("nothing missing or different"))) {
    for (const QString& line : output.split('\n')) {
      if (line.startsWith(QLatin1String("missing:")) ||
          line.startsWith(QLatin1String("different:")) ||
          line.startsWith(QLatin1String("verify ended:"))) {
        std::fprintf(stderr, "%s\n", qPrintable(line));
      }
    }
  }
  QTextStream(stdout) << "RESULT " << seconds << ' ' << verified.captured(1) << Qt::endl;
  return 0;
}

struct Run {
  double seconds = 0;
  double verify = 0;
};

Run parse(const QStringList& words) {
  if (words.size() != 2) return {};
  return {words[0].toDouble(), words[1].toDouble()};
}

std::pair<Run, Run> report(const QString& engine, int n) {
  const auto [smallWords, largeWords] = bench::FastestChildResults(engine, n, {0, 1});
  const Run small = parse(smallWords);
  const Run large = parse(largeWords);
  std::printf("%s\n", qPrintable(engine));
  for (const auto& [scale, run] : {std::pair{"S ", small}, std::pair{"2S", large}}) {
    std::printf("  %s: %.1f s, of which the verification %.1f s\n", scale, run.seconds, run.verify);
  }
  std::printf("  time ratio 2S/S: %.2f (goal <= 2.2)\n",
              small.seconds > 0 ? large.seconds / small.seconds : 0);
  std::fflush(stdout);
  return {small, large};
}

}  // namespace

int main(int argc, char* argv[]) {
  return bench::BenchMain(argc, argv, runOne, [](int n) {
    const auto [small, large] = report(QStringLiteral("sqlite"), n);
    Run pgSmall;
    Run pgLarge;
    const bench::BenchPostgres server(56562);
    if (server.started()) {
      qputenv("BENCH_PG_URL", (server.urlPrefix() + "bench").toUtf8());
      std::tie(pgSmall, pgLarge) = report(QStringLiteral("postgresql"), n);
    } else {
      std::printf("postgresql: the server could not be started\n");
    }
    const auto ratio = [](const Run& first, const Run& second) {
      return first.seconds > 0 ? second.seconds / first.seconds : 0;
    };
    std::printf(
        "RESULT sqlite_s=%.1f sqlite_ratio=%.2f pg_s=%.1f pg_ratio=%.2f verify_share=%.2f\n",
        small.seconds, ratio(small, large), pgSmall.seconds, ratio(pgSmall, pgLarge),
        small.seconds > 0 ? small.verify / small.seconds : 0);
    return 0;
  });
}
