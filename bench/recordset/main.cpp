// Cost per record of the recordset patterns that import-all loops run, at N
// and 2N rows on an SQLite version-2 database, whose tables keep change
// counters (each requery reads its table's counter). Linear runs keep the
// 2N/N time ratio near 2. Each loop is timed once its recordset is open (for
// (c) with its index built), in processor time, so that other work on the
// machine does not count.
//   (a) whole-table recordset: addNew, set fields, update, requery, find
//   (b) source recordset: findFirst, delete, requery, moveLast, moveFirst
//   (c) lookup table: setFilterEqual, read, clearFilter
// The last line reads
//   RESULT ratio_a=... ratio_b=... ratio_c=... us_a=... us_b=... us_c=... linear=0|1
// with the 2N/N ratios and the microseconds per record at 2N.
#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>
#include <functional>
#include <stdexcept>
#include <tuple>

#include "host/Version2Database.h"
#include "host/db/Connection.h"
#include "host/db/DbError.h"
#include "host/db/Recordset.h"

namespace {

using qalvoro::Connection;
using qalvoro::LockType;
using qalvoro::Recordset;

// Processor time of this process since construction.
class CpuTimer {
 public:
  double seconds() const { return double(std::clock() - start_) / CLOCKS_PER_SEC; }

 private:
  std::clock_t start_ = std::clock();
};

// A fresh version-2 database with `rows` rows in each table used, and a
// language table. Writes are not synced and the rollback journal stays in
// memory, so that the numbers show the recordset and not the disk.
class BenchDatabase {
 public:
  explicit BenchDatabase(int rows) {
    const QString path = folder_.filePath("bench.db");
    qalvoro::createVersion2Database(path, false);
    connection.open(path);
    connection.execute("PRAGMA synchronous = OFF");
    connection.execute("PRAGMA journal_mode = MEMORY");
    connection.execute(
        "CREATE TABLE Lang (ID INTEGER PRIMARY KEY AUTOINCREMENT, Ara TEXT NOT NULL, Eng TEXT)");
    qalvoro::Transaction transaction(connection);
    for (int i = 1; i <= rows; ++i) {
      connection.execute(
          "INSERT INTO SaleInvoice (BranchID, InvoiceNo, CustomerName) VALUES (1, ?, ?)",
          {i, QStringLiteral("customer %1").arg(i)});
      connection.execute("INSERT INTO CardAcc (AccNo, BranchID) VALUES (?, 1)",
                         {QStringLiteral("%1").arg(i, 6, 10, QChar('0'))});
      connection.execute("INSERT INTO Lang (Ara, Eng) VALUES (?, ?)",
                         {QStringLiteral("نص %1").arg(i), QStringLiteral("text %1").arg(i)});
    }
    transaction.commit();
  }

  Connection connection;

 private:
  QTemporaryDir folder_;
};

// Each pattern opens its recordset, then times its loop alone.
double importInvoices(Connection& connection, int rows) {
  Recordset invoices;
  invoices.open("SELECT * FROM SaleInvoice WHERE BranchID = 1", connection, LockType::Optimistic);
  const CpuTimer timer;
  for (int i = 1; i <= rows; ++i) {
    const int number = rows + i;
    qalvoro::Transaction transaction(connection);
    invoices.addNew();
    invoices.setValue("BranchID", 1);
    invoices.setValue("InvoiceNo", number);
    invoices.setValue("CustomerName", QStringLiteral("new %1").arg(number));
    invoices.update();
    invoices.requery();
    if (!invoices.find(QStringLiteral("InvoiceNo=%1").arg(number))) throw std::logic_error("lost");
    transaction.commit();
  }
  return timer.seconds();
}

double consumeSource(Connection& connection, int) {
  Recordset source;
  source.open("SELECT * FROM CardAcc WHERE BranchID = 1", connection, LockType::Optimistic);
  const CpuTimer timer;
  while (!source.eof()) {
    source.findFirst("AccNo = '" + source.text("AccNo") + "'");
    source.deleteCurrent();
    source.requery();
    if (source.recordCount() == 0) break;
    source.moveLast();
    source.moveFirst();
  }
  return timer.seconds();
}

// A lookup costs about a microsecond: each text is looked up kLookupsPerRecord
// times, so that the loop lasts long enough for the processor clock.
constexpr int kLookupsPerRecord = 20;

double lookUpTexts(Connection& connection, int rows) {
  Recordset lang;
  lang.open("Lang", connection, LockType::Pessimistic);
  lang.setFilterEqual("Ara", QString());  // builds the index once
  const CpuTimer timer;
  for (int pass = 0; pass < kLookupsPerRecord; ++pass) {
    for (int i = 1; i <= rows; ++i) {
      lang.setFilterEqual("Ara", QStringLiteral("نص %1").arg((i * 7919 + pass) % rows + 1));
      if (lang.recordCount() != 1) throw std::logic_error("missing text");
      lang.clearFilter();
    }
  }
  return timer.seconds() / kLookupsPerRecord;
}

using Pattern = std::function<double(Connection&, int)>;

// The best of three runs: other work on the machine only ever adds time.
double secondsFor(int rows, const Pattern& pattern) {
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    BenchDatabase database(rows);
    const double seconds = pattern(database.connection, rows);
    if (run == 0 || seconds < best) best = seconds;
  }
  return best;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const int n = argc > 1 ? QString(argv[1]).toInt() : 10000;
  QTextStream out(stdout);
  const std::tuple<const char*, const char*, Pattern> patterns[] = {
      {"a", "(a) addNew/update/requery/find", importInvoices},
      {"b", "(b) findFirst/delete/requery/moveLast/moveFirst", consumeSource},
      {"c", "(c) setFilterEqual/clearFilter lookup", lookUpTexts}};
  out << "SQLite, N = " << n << " records per run; us = microseconds per record\n";
  bool linear = true;
  QStringList ratios;
  QStringList costs;
  try {
    for (const auto& [key, name, pattern] : patterns) {
      const double once = secondsFor(n, pattern);
      const double twice = secondsFor(2 * n, pattern);
      const double ratio = twice / once;
      const double perRecord = twice * 1e6 / (2 * n);
      linear = linear && ratio <= 2.2;
      out << QString("%1  N: %2 s (%3 us)  2N: %4 s (%5 us)  ratio 2N/N %6%7\n")
                 .arg(name, -50)
                 .arg(once, 0, 'f', 2)
                 .arg(once * 1e6 / n, 0, 'f', 1)
                 .arg(twice, 0, 'f', 2)
                 .arg(perRecord, 0, 'f', 1)
                 .arg(ratio, 0, 'f', 2)
                 .arg(ratio <= 2.2 ? "" : "  (goal <= 2.2)");
      out.flush();
      ratios << QString("ratio_%1=%2").arg(key).arg(ratio, 0, 'f', 2);
      costs << QString("us_%1=%2").arg(key).arg(perRecord, 0, 'f', 1);
    }
  } catch (const qalvoro::DbError& error) {
    out << "database error: " << error.description() << '\n';
    return 1;
  }
  out << (linear ? "all patterns linear\n" : "some pattern grows faster than linear\n");
  out << "RESULT " << ratios.join(' ') << ' ' << costs.join(' ') << " linear=" << (linear ? 1 : 0)
      << '\n';
  return 0;
}
