#include <QDir>
#include <algorithm>
#include <cmath>

#include "tools/mdbwriter/ArabicWords.h"
#include "tools/mdbwriter/V1Generator.h"
#include "tools/mdbwriter/V1Schema.h"

namespace qalvoro::mdbwriter::v1 {
namespace {

enum Stream : quint64 { kChart = 1, kEntry = 2 };

struct Account {
  QString number;
  QString name;
  int parent = -1;  // index in the chart, -1 for a top-level account
  int root = 0;     // 1-6
  int depth = 1;
  int children = 0;
};

// A chart of accounts: six top-level accounts, then sub-accounts breadth
// first, each number extending its parent's (1, 11, 1101, 110101, ...).
std::vector<Account> buildChart(int count, quint64 seed, int branch) {
  static const char* const kRoots[] = {"الأصول",    "الخصوم",    "حقوق الملكية",
                                       "الإيرادات", "المصروفات", "المتاجرة"};
  std::vector<Account> chart;
  for (int root = 1; root <= 6; ++root) {
    chart.push_back({QString::number(root), QString::fromUtf8(kRoots[root - 1]), -1, root, 1});
  }
  Random random(seed, kChart, static_cast<quint64>(branch));
  for (size_t next = 0; static_cast<int>(chart.size()) < count; ++next) {
    const Account parent = chart[next];
    const int most = parent.depth == 1 ? 4 : parent.depth == 2 ? 6 : 9;
    const int children = std::min(random.between(2, most), count - static_cast<int>(chart.size()));
    for (int c = 1; c <= children; ++c) {
      const QString suffix =
          parent.depth == 1 ? QString::number(c) : QStringLiteral("%1").arg(c, 2, 10, QChar('0'));
      chart.push_back({parent.number + suffix,
                       subAccountName(parent.root, parent.depth + 1, random),
                       static_cast<int>(next), parent.root, parent.depth + 1});
    }
    chart[next].children = children;
  }
  // One expense account carries an apostrophe in its name.
  const auto expense = std::find_if(chart.begin(), chart.end(), [](const Account& account) {
    return account.root == 5 && account.depth >= 2;
  });
  if (expense != chart.end()) expense->name = QStringLiteral("مصاريف O'Neil للصيانة");
  return chart;
}

std::vector<Value> cardRow(const std::vector<Account>& chart, const Account& account, int branch,
                           Random& random) {
  const bool leaf = account.children == 0;
  const double openingDebit = leaf && random.percent(30) ? random.amount(10, 5000) : 0.0;
  const double openingCredit =
      leaf && openingDebit == 0 && random.percent(20) ? random.amount(10, 5000) : 0.0;
  Value parent;  // top-level: Null, except the trading account whose parent is empty
  if (account.parent >= 0) {
    parent = Value::text(chart[static_cast<size_t>(account.parent)].number);
  } else if (account.root == 6) {
    parent = Value::text(QString());
  }
  const int type = account.root <= 3 ? 0 : account.root <= 5 ? 1 : 2;
  return {Value::text(account.number),
          Value::text(account.name),
          parent,
          Value::real(openingDebit),
          Value::real(openingCredit),
          random.percent(50) ? Value() : Value::real(random.between(1, 50) * 1000.0),
          Value::integer(random.below(2)),
          Value::integer(random.below(2)),
          Value::integer(type),
          Value::integer(account.children),
          Value::integer(branch)};
}

std::vector<QString> leafNumbers(const std::vector<Account>& chart) {
  std::vector<QString> leaves;
  for (const Account& account : chart) {
    if (account.children == 0) leaves.push_back(account.number);
  }
  return leaves;
}

QDateTime dayOf2003(int dayIndex) {
  return QDateTime(QDate(2003, 1, 1).addDays(dayIndex), QTime());
}

// The lines of one journal entry: 2-4 lines, debits equal to credits. The
// first line carries the entry's date; later lines may be dated at year end.
// Entries 3, 28, ... have a Null amount on their first line.
void addEntry(TableWriter& gaid, int entry, int branch, const std::vector<QString>& leaves,
              quint64 seed) {
  Random random(seed, kEntry, static_cast<quint64>(entry));
  const QDateTime date = dayOf2003(random.below(365));
  const int lines = random.between(2, 4);
  const double total = random.amount(100, 10000);
  const double part = std::round(total * random.between(20, 80)) / 100.0;
  // Amounts by line for 2, 3 and 4 lines: debits first, then credits.
  const std::vector<std::pair<double, double>> amounts =
      lines == 2 ? std::vector<std::pair<double, double>>{{total, 0}, {0, total}}
      : lines == 3
          ? std::vector<std::pair<double, double>>{{total, 0}, {0, part}, {0, total - part}}
          : std::vector<std::pair<double, double>>{
                {part, 0}, {total - part, 0}, {0, part}, {0, total - part}};
  for (int line = 0; line < lines; ++line) {
    // Entries 9, 29, ... end on an account missing from the chart.
    const QString account =
        entry % 20 == 9 && line == lines - 1
            ? QStringLiteral("8888")
            : leaves[static_cast<size_t>(random.below(static_cast<int>(leaves.size())))];
    const QString description = random.percent(10) ? QStringLiteral("سداد 'دفعة' رقم %1").arg(entry)
                                                   : QStringLiteral("قيد يومية رقم %1").arg(entry);
    const QDateTime lineDate =
        line > 0 && random.percent(30) ? QDateTime(QDate(2003, 12, 31), QTime()) : date;
    const auto [debit, credit] = amounts[static_cast<size_t>(line)];
    gaid.addRow({Value::integer(entry), Value::dateTime(lineDate), Value::text(account),
                 Value::text(description),
                 entry % 25 == 3 && line == 0 ? Value() : Value::real(debit), Value::real(credit),
                 Value::integer(branch)});
  }
}

void writeGeneral(const QString& path, const V1Options& options) {
  JetDatabaseWriter db(path, options.writer);
  const TableSpec spec = branchTable();
  TableWriter& branches = db.addTable(spec.name, spec.columns);
  for (int b = 1; b <= options.sizes.branches; ++b) {
    branches.addRow({Value::text(branchName(b)), Value::integer(b)});
  }
  db.close();
}

void writeSystemFile(const QString& path, const V1Options& options) {
  JetDatabaseWriter db(path, options.writer);
  const TableSpec spec = usersTable();
  db.addTable(spec.name, spec.columns).addRow({Value::text(QStringLiteral("admin"))});
  db.close();
}

void writeDataFile(const QString& path, const V1Options& options) {
  const V1Sizes& sizes = options.sizes;
  const bool secondBranch = sizes.branches >= 2;
  const auto main = buildChart(sizes.accounts, options.seed, 1);
  const auto second =
      buildChart(secondBranch ? std::max(6, sizes.accounts / 5) : 0, options.seed, 2);

  JetDatabaseWriter db(path, options.writer);
  const ColumnType amounts = options.singleAmounts ? ColumnType::Single : ColumnType::Double;
  const TableSpec card = cardTable(amounts);
  TableWriter& cards = db.addTable(card.name, card.columns);
  Random random(options.seed, kChart, 0);
  for (const Account& account : main) cards.addRow(cardRow(main, account, 1, random));
  if (secondBranch) {
    for (const Account& account : second) cards.addRow(cardRow(second, account, 2, random));
  }
  // An account whose parent is not in the chart.
  cards.addRow({Value::text(QStringLiteral("9901")), Value::text(QStringLiteral("حساب يتيم")),
                Value::text(QStringLiteral("99")), Value::real(0), Value::real(0), Value(),
                Value::integer(0), Value::integer(0), Value::integer(0), Value::integer(0),
                Value::integer(1)});

  const TableSpec gaid = gaidTable(amounts);
  TableWriter& lines = db.addTable(gaid.name, gaid.columns);
  const auto mainLeaves = leafNumbers(main);
  const auto secondLeaves = leafNumbers(second);
  // Entries go out of order: each run of eight is written backwards.
  for (int first = 1; first <= sizes.entries; first += 8) {
    for (int entry = std::min(first + 7, sizes.entries); entry >= first; --entry) {
      const bool ofSecond = secondBranch && entry % 10 == 7;
      addEntry(lines, entry, ofSecond ? 2 : 1, ofSecond ? secondLeaves : mainLeaves, options.seed);
    }
  }
  db.close();
}

}  // namespace

void writeAccountsFolder(const QString& folder, const V1Options& options) {
  QDir().mkpath(folder);
  const QDir dir(folder);
  writeGeneral(dir.filePath(QStringLiteral("General.MDB")), options);
  writeDataFile(dir.filePath(QStringLiteral("ACC2003.MDB")), options);
  if (options.systemFile) writeSystemFile(dir.filePath(QStringLiteral("SYSTEM1.MDB")), options);
}

}  // namespace qalvoro::mdbwriter::v1
