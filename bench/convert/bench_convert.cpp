// bench-convert: times the conversion of a version-1 file into its working
// copy against mdb-export of the same tables, and reports the converter's
// peak memory.
//
//   bench-convert FILE.mdb   measures one file
//   bench-convert            writes bench files of 20,000 and 200,000 rows
//                            with qalvoro-make-v1 (beside this program) into
//                            a temp folder and measures each
//
// Goals: the conversion takes at most 1.5 times as long as mdb-export, and the
// converter's peak memory does not grow with the table's size.

#include <sqlite3.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "host/db/DbError.h"
#include "v1source/convert/V1Converter.h"

namespace {

constexpr int kGeneratedRows[] = {20000, 200000};
constexpr double kGoalRatio = 1.5;

struct TableRows {
  QString name;
  qint64 rows;
};

std::vector<TableRows> countRows(const QString& sqliteFile) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(QFile::encodeName(sqliteFile).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  const auto query = [&](const QString& sql, const auto& onRow) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.get(), sql.toUtf8().constData(), -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) onRow(statement);
    sqlite3_finalize(statement);
  };
  std::vector<TableRows> tables;
  query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
        [&](sqlite3_stmt* s) {
          tables.push_back(
              {QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))), 0});
        });
  for (TableRows& table : tables) {
    const QString quoted = QString(table.name).replace(u'"', QStringLiteral("\"\""));
    query(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(quoted),
          [&](sqlite3_stmt* s) { table.rows = sqlite3_column_int64(s, 0); });
  }
  return tables;
}

double exportSeconds(const QString& file, const std::vector<TableRows>& tables) {
  QElapsedTimer timer;
  timer.start();
  for (const TableRows& table : tables) {
    QProcess mdbExport;
    mdbExport.setStandardOutputFile(QProcess::nullDevice());
    mdbExport.start(QStringLiteral("mdb-export"), {file, table.name});
    if (!mdbExport.waitForFinished(-1) || mdbExport.exitCode() != 0) {
      std::fprintf(stderr, "mdb-export failed on table %s\n", qPrintable(table.name));
    }
  }
  return timer.nsecsElapsed() / 1e9;
}

// Peak resident memory of the children waited for so far, in MiB.
double childrenPeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss / 1024.0;
}

int measure(const QString& file) {
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("work.sqlite"));
  QElapsedTimer timer;
  timer.start();
  try {
    qalvoro::V1Converter().convert(file, copy);
  } catch (const qalvoro::DbError& error) {
    std::fprintf(stderr, "conversion failed: %ld %s\n", error.number(),
                 qPrintable(error.description()));
    return 1;
  }
  const double convertSeconds = timer.nsecsElapsed() / 1e9;
  const double peak = childrenPeakMiB();  // before mdb-export runs: the converter's alone
  const std::vector<TableRows> tables = countRows(copy);
  qint64 rows = 0;
  for (const TableRows& table : tables) rows += table.rows;
  const double mdbExportSeconds = exportSeconds(file, tables);
  const double ratio = convertSeconds / mdbExportSeconds;
  std::printf("%s: %lld rows in %zu tables\n", qPrintable(file), static_cast<long long>(rows),
              tables.size());
  std::printf("  conversion (child process included): %7.3f s  %10.0f rows/s\n", convertSeconds,
              rows / convertSeconds);
  std::printf("  mdb-export of every table:           %7.3f s  %10.0f rows/s\n", mdbExportSeconds,
              rows / mdbExportSeconds);
  std::printf("  time ratio conversion / mdb-export:  %7.2f  (goal <= %.1f: %s)\n", ratio,
              kGoalRatio, ratio <= kGoalRatio ? "met" : "MISSED");
  std::printf("  converter peak memory (ru_maxrss):   %7.1f MiB\n", peak);
  return 0;
}

// Writes a bench file and measures it in a child bench process, whose
// children are then only the converter and mdb-export.
int generateAndMeasure(int rows, const QDir& folder) {
  const QString file = folder.filePath(QStringLiteral("bench-%1.mdb").arg(rows));
  const QString generator =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qalvoro-make-v1"));
  if (QProcess::execute(generator,
                        {QStringLiteral("--bench-table"), QString::number(rows), file}) != 0) {
    std::fprintf(stderr, "%s could not write %s\n", qPrintable(generator), qPrintable(file));
    return 1;
  }
  std::fflush(stdout);
  return QProcess::execute(QCoreApplication::applicationFilePath(), {file});
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments().mid(1);
  if (arguments.size() == 1) return measure(arguments.first());
  if (!arguments.isEmpty()) {
    std::fprintf(stderr, "usage: bench-convert [FILE.mdb]\n");
    return 2;
  }
  QTemporaryDir folder;
  for (const int rows : kGeneratedRows) {
    if (generateAndMeasure(rows, QDir(folder.path())) != 0) return 1;
  }
  return 0;
}
