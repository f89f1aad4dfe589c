// Time of RefreshParentSubCards, the refresh of every parent account's
// descendant list after a journal import, for a branch of N and 2N accounts
// on SQLite. A refresh linear in the size of the branch keeps the 2N/N time
// ratio near 2 (goal: at most 2.2). Each size is refreshed three times and
// the fastest run counts, in processor time, so that other work on the
// machine does not count; wall time is shown beside it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <vector>

#include "browser/ModuleAcc.h"
#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/platform/ScriptedUser.h"

namespace {

using qalvoro::MainConnection;

constexpr int kBranch = 1;
constexpr int kTopLevelAccounts = 6;
constexpr int kDeepestLevel = 5;
constexpr int kRuns = 3;

struct Timing {
  double cpuSeconds = 0;
  double wallSeconds = 0;
};

// A chart of accounts as users build one: a few top-level accounts, every
// further account under a random account of levels 1 to 4, its number the
// parent's number followed by a serial number; Haves counts the children.
void addChartOfAccounts(int count) {
  struct Node {
    QString number;
    int level;
  };
  std::vector<Node> nodes;
  std::vector<int> haves;
  quint32 random = 2024;
  for (int i = 0; i < count; ++i) {
    int father = -1;
    if (i >= kTopLevelAccounts) {
      do {
        random = random * 1664525u + 1013904223u;
        father = static_cast<int>((random >> 8) % nodes.size());
      } while (nodes[father].level == kDeepestLevel);
      ++haves[father];
    }
    const QString prefix = father < 0 ? QString() : nodes[father].number + QLatin1Char('-');
    nodes.push_back({prefix + QString::number(i + 1), father < 0 ? 1 : nodes[father].level + 1});
    haves.push_back(0);
  }
  qalvoro::Transaction transaction(MainConnection());
  for (int i = 0; i < count; ++i) {
    const QString& number = nodes[i].number;
    const qsizetype dash = number.lastIndexOf(QLatin1Char('-'));
    MainConnection().execute(
        "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather, Haves) VALUES (?, ?, ?, ?, ?)",
        {kBranch, number, QStringLiteral("حساب %1").arg(i + 1),
         dash < 0 ? QStringLiteral("_") : number.left(dash), haves[i]});
  }
  transaction.commit();
}

Timing timeRefresh(int accounts) {
  QTemporaryDir folder;
  const QString path = folder.filePath("bench.db");
  qalvoro::createVersion2Database(path, false);
  qalvoro::globals().MainConnection = std::make_unique<qalvoro::Connection>();
  MainConnection().open(path);
  MainConnection().execute("PRAGMA synchronous = OFF");
  addChartOfAccounts(accounts);

  Timing best{1e9, 1e9};
  for (int run = 0; run < kRuns; ++run) {
    int calls = 0;
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    qalvoro::RefreshParentSubCards(kBranch, [&](int, int) { ++calls; });
    best.cpuSeconds = std::min(best.cpuSeconds, double(std::clock() - cpu) / CLOCKS_PER_SEC);
    best.wallSeconds = std::min(best.wallSeconds, wall.nsecsElapsed() / 1e9);
    if (run == 0) {
      QTextStream(stdout) << "  " << accounts << " accounts, " << calls << " parent accounts\n";
    }
  }
  qalvoro::globals().MainConnection.reset();
  return best;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const qalvoro::ScopedPlatform platform(std::make_unique<qalvoro::ScriptedUser>());
  QTextStream out(stdout);
  try {
    out << "RefreshParentSubCards on SQLite, depth " << kDeepestLevel << ", best of " << kRuns
        << " runs\n";
    out.flush();
    const Timing small = timeRefresh(5'000);
    const Timing large = timeRefresh(10'000);
    out << QStringLiteral("  5000 accounts:  %1 s processor, %2 s wall\n")
               .arg(small.cpuSeconds, 0, 'f', 3)
               .arg(small.wallSeconds, 0, 'f', 3);
    out << QStringLiteral("  10000 accounts: %1 s processor, %2 s wall\n")
               .arg(large.cpuSeconds, 0, 'f', 3)
               .arg(large.wallSeconds, 0, 'f', 3);
    const double ratio = large.cpuSeconds / small.cpuSeconds;
    out << QStringLiteral("  ratio 10000/5000: %1 (goal <= 2.2): %2\n")
               .arg(ratio, 0, 'f', 2)
               .arg(ratio <= 2.2 ? "met" : "NOT met");
    out << QStringLiteral("RESULT ratio=%1 seconds_5000=%2 seconds_10000=%3\n")
               .arg(ratio, 0, 'f', 2)
               .arg(small.cpuSeconds, 0, 'f', 3)
               .arg(large.cpuSeconds, 0, 'f', 3);
    return 0;
  } catch (const qalvoro::DbError& error) {
    QTextStream(stderr) << "Err:" << error.number() << '\n' << error.description() << '\n';
    return 1;
  }
}
