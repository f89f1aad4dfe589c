// bench-tree [N]: time of FillTree, which builds the account tree of a
// branch, and of a search that walks the tree to its last node, for charts
// of N and 2N accounts (default N = 10000) in fresh SQLite databases. Both
// are linear when the 2N/N time ratio stays near 2 (goal: at most 2.2);
// loading must reach 50000 nodes per second. Loading is timed five times and
// the fastest run counts, a search as the mean of twenty in each of five
// runs, in processor time, so that other work on the machine does not
// count. Ends with the line
//   RESULT load_ratio=... search_ratio=... nodes_per_s=...
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

#include "browser/FrmBrowseAcc.h"
#include "host/Globals.h"
#include "host/Version2Database.h"
#include "host/db/DbError.h"
#include "host/platform/Platform.h"
#include "host/platform/ScriptedUser.h"

namespace {

using qalvoro::MainConnection;

constexpr int kBranch = 1;
constexpr int kTopLevelAccounts = 6;
constexpr int kShallowestLeafLevel = 4;
constexpr int kDeepestLevel = 6;
constexpr int kRuns = 5;
constexpr int kSearchesPerRun = 20;

struct Timing {
  double load = 0;    // seconds of processor time
  double search = 0;  // seconds of processor time
  int nodes = 0;
};

double cpuSeconds(const std::function<void()>& work) {
  const std::clock_t start = std::clock();
  work();
  return double(std::clock() - start) / CLOCKS_PER_SEC;
}

// A chart as users build one: six top-level accounts, a twentieth of the
// accounts on levels 2 and 3 below them, and the rest on levels 4 to 6,
// each under a random account of the level above; every number is the
// parent's number followed by a serial number of three digits.
void addChartOfAccounts(int count) {
  struct Account {
    QString number;
    QString father;
    int level;
    int children = 0;
  };
  std::vector<Account> accounts;
  quint32 random = 2024;
  const auto randomIndex = [&random, &accounts] {
    random = random * 1664525u + 1013904223u;
    return (random >> 8) % accounts.size();
  };
  for (int i = 0; i < kTopLevelAccounts; ++i) {
    accounts.push_back({QString::number(i + 1), QStringLiteral("_"), 1});
  }
  const size_t upper = static_cast<size_t>(count) / 20;
  while (accounts.size() < static_cast<size_t>(count)) {
    const bool upperLevels = accounts.size() < upper;
    Account& father = accounts[randomIndex()];
    const bool fits =
        upperLevels ? father.level < kShallowestLeafLevel - 1
                    : father.level >= kShallowestLeafLevel - 1 && father.level < kDeepestLevel;
    if (!fits) continue;
    const QString number =
        father.number + QStringLiteral("%1").arg(++father.children, 3, 10, QLatin1Char('0'));
    accounts.push_back({number, father.number, father.level + 1});
  }
  qalvoro::Transaction transaction(MainConnection());
  for (size_t i = 0; i < accounts.size(); ++i) {
    const Account& account = accounts[i];
    MainConnection().execute(
        "INSERT INTO CardAcc (BranchID, AccNo, AccNameA, ffather, ftype, Haves) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        {kBranch, account.number, QStringLiteral("حساب %1").arg(i + 1), account.father,
         static_cast<int>(i % 3), account.children});
  }
  transaction.commit();
}

Timing timeTree(int accounts) {
  QTemporaryDir folder;
  const QString path = folder.filePath("bench.db");
  qalvoro::createVersion2Database(path, false);
  qalvoro::globals().MainConnection = std::make_unique<qalvoro::Connection>();
  MainConnection().open(path);
  MainConnection().execute("INSERT INTO Branch (AName, EName) VALUES ('الفرع', 'Branch')");
  addChartOfAccounts(accounts);

  qalvoro::FrmBrowseAcc window;
  window.BranchID = kBranch;
  window.load();
  Timing best{1e9, 1e9, 0};
  for (int run = 0; run < kRuns; ++run) {
    best.load = std::min(best.load, cpuSeconds([&] { window.Command3->click(); }));
    best.nodes = window.TreeView1->nodeCount();
    // The last node, found by its whole text from the root.
    window.Text1->setText(window.TreeView1->nodeAt(best.nodes)->text(0));
    window.Option1[0]->setChecked(true);
    window.Combo1->setCurrentIndex(0);
    const double searches = cpuSeconds([&] {
      for (int i = 0; i < kSearchesPerRun; ++i) {
        window.TreeView1->selectNode(*window.TreeView1->nodeAt(1));
        window.Command4->click();
      }
    });
    best.search = std::min(best.search, searches / kSearchesPerRun);
    if (window.TreeView1->selectedNode() != window.TreeView1->nodeAt(best.nodes)) {
      throw std::runtime_error("the search did not reach the last node");
    }
  }
  qalvoro::globals().MainConnection.reset();
  return best;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int n = argc > 1 ? std::max(100, QString::fromLocal8Bit(argv[1]).toInt()) : 10'000;
  QTemporaryDir settings;
  qalvoro::Platform::useSettingsFolder(settings.path());
  qalvoro::globals().INI_Path = QStringLiteral("QalvoroBench");
  const qalvoro::ScopedPlatform platform(std::make_unique<qalvoro::ScriptedUser>());
  QTextStream out(stdout);
  try {
    out << "FillTree and a search to the last node on SQLite, best of " << kRuns << " runs\n";
    out.flush();
    const Timing small = timeTree(n);
    const Timing large = timeTree(2 * n);
    for (const Timing& timing : {small, large}) {
      out << QStringLiteral("  %1 nodes: load %2 ms, search %3 ms (processor)\n")
                 .arg(timing.nodes)
                 .arg(timing.load * 1000, 0, 'f', 1)
                 .arg(timing.search * 1000, 0, 'f', 3);
    }
    const double loadRatio = large.load / small.load;
    const double searchRatio = large.search / small.search;
    const double nodesPerSecond = large.nodes / large.load;
    out << QStringLiteral("  goals: ratios <= 2.2, >= 50000 nodes/s: %1\n")
               .arg(loadRatio <= 2.2 && searchRatio <= 2.2 && nodesPerSecond >= 50'000 ? "met"
                                                                                       : "NOT met");
    out << QStringLiteral("RESULT load_ratio=%1 search_ratio=%2 nodes_per_s=%3\n")
               .arg(loadRatio, 0, 'f', 2)
               .arg(searchRatio, 0, 'f', 2)
               .arg(nodesPerSecond, 0, 'f', 0);
    return 0;
  } catch (const qalvoro::DbError& error) {
    QTextStream(stderr) << "Err:" << error.number() << '\n' << error.description() << '\n';
    return 1;
  } catch (const std::exception& error) {
    QTextStream(stderr) << error.what() << '\n';
    return 1;
  }
}
