// bench-convert: times the conversion of a version-1 file into its working
// copy against mdb-export of the same tables, and reports the converter's
// peak memory and the time of a lenient conversion of the same file.
//
//   bench-convert FILE.mdb   measures one file
//   bench-convert            writes bench files of 20,000 and 200,000 rows
//                            with qalvoro-make-v1 (beside this program) into
//                            a temp folder and measures each
//
// Goals: the conversion takes at most 1.5 times as long as mdb-export, the
// converter's peak memory does not grow with the table's size, and a lenient
// conversion of a sound file costs no more than a strict one.
//
// The last line reads "RESULT key=value ...": for one file rows, convert_s,
// export_s, ratio, lenient_ratio and peak_mib; for the generated files the
// same keys with the row count appended (ratio_20000, ...) and ratio_goal
// (met or missed).

#include <sqlite3.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
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

using Figures = std::map<QString, QString>;

QString figuresLine(const char* tag, const Figures& figures) {
  QString line = QString::fromLatin1(tag);
  for (const auto& [key, value] : figures) line += u' ' + key + u'=' + value;
  return line;
}

// Times one conversion; negative when it failed.
double convertSeconds(const QString& file, const QString& copy, bool lenient) {
  qalvoro::V1Converter converter;
  converter.setLenient(lenient);
  QElapsedTimer timer;
  timer.start();
  try {
    converter.convert(file, copy);
  } catch (const qalvoro::DbError& error) {
    std::fprintf(stderr, "conversion failed: %ld %s\n", error.number(),
                 qPrintable(error.description()));
    return -1;
  }
  return timer.nsecsElapsed() / 1e9;
}

// Measures one file and ends with a line of its figures, tagged tag.
int measure(const QString& file, const char* tag) {
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("work.sqlite"));
  const double strictSeconds = convertSeconds(file, copy, false);
  if (strictSeconds < 0) return 1;
  const double peak = childrenPeakMiB();  // before mdb-export runs: the converter's alone
  const double lenientSeconds =
      convertSeconds(file, dir.filePath(QStringLiteral("lenient.sqlite")), true);
  if (lenientSeconds < 0) return 1;
  const std::vector<TableRows> tables = countRows(copy);
  qint64 rows = 0;
  for (const TableRows& table : tables) rows += table.rows;
  const double mdbExportSeconds = exportSeconds(file, tables);
  const double ratio = strictSeconds / mdbExportSeconds;
  std::printf("%s: %lld rows in %zu tables\n", qPrintable(file), static_cast<long long>(rows),
              tables.size());
  std::printf("  conversion (child process included): %7.3f s  %10.0f rows/s\n", strictSeconds,
              rows / strictSeconds);
  std::printf("  lenient conversion:                  %7.3f s  %10.0f rows/s\n", lenientSeconds,
              rows / lenientSeconds);
  std::printf("  mdb-export of every table:           %7.3f s  %10.0f rows/s\n", mdbExportSeconds,
              rows / mdbExportSeconds);
  std::printf("  time ratio conversion / mdb-export:  %7.2f  (goal <= %.1f: %s)\n", ratio,
              kGoalRatio, ratio <= kGoalRatio ? "met" : "MISSED");
  std::printf("  converter peak memory (ru_maxrss):   %7.1f MiB\n", peak);
  const Figures figures = {
      {QStringLiteral("rows"), QString::number(rows)},
      {QStringLiteral("convert_s"), QString::number(strictSeconds, 'f', 3)},
      {QStringLiteral("export_s"), QString::number(mdbExportSeconds, 'f', 3)},
      {QStringLiteral("ratio"), QString::number(ratio, 'f', 2)},
      {QStringLiteral("lenient_ratio"), QString::number(lenientSeconds / strictSeconds, 'f', 2)},
      {QStringLiteral("peak_mib"), QString::number(peak, 'f', 1)}};
  std::printf("%s\n", qPrintable(figuresLine(tag, figures)));
  return 0;
}

// Writes a bench file and measures it in a child bench process, whose
// children are then only the converter and mdb-export. Adds the child's
// figures, their keys suffixed with the row count, to figures.
int generateAndMeasure(int rows, const QDir& folder, Figures& figures) {
  const QString file = folder.filePath(QStringLiteral("bench-%1.mdb").arg(rows));
  const QString generator =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qalvoro-make-v1"));
  if (QProcess::execute(generator,
                        {QStringLiteral("--bench-table"), QString::number(rows), file}) != 0) {
    std::fprintf(stderr, "%s could not write %s\n", qPrintable(generator), qPrintable(file));
    return 1;
  }
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--figures"), file});
  child.waitForFinished(-1);
  const QString output = QString::fromUtf8(child.readAllStandardOutput());
  for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
    if (!line.startsWith(QLatin1String("FIGURES "))) {
      std::printf("%s\n", qPrintable(line));
      continue;
    }
    for (const QString& pair : line.mid(8).split(u' ', Qt::SkipEmptyParts)) {
      figures[pair.section(u'=', 0, 0) + u'_' + QString::number(rows)] = pair.section(u'=', 1);
    }
  }
  std::fflush(stdout);
  return child.exitCode();
}

int generateAndMeasureAll() {
  QTemporaryDir folder;
  Figures figures;
  bool goalMet = true;
  for (const int rows : kGeneratedRows) {
    if (generateAndMeasure(rows, QDir(folder.path()), figures) != 0) return 1;
    goalMet = goalMet && figures[QStringLiteral("ratio_%1").arg(rows)].toDouble() <= kGoalRatio;
  }
  figures[QStringLiteral("ratio_goal")] =
      goalMet ? QStringLiteral("met") : QStringLiteral("missed");
  std::printf("%s\n", qPrintable(figuresLine("RESULT", figures)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments().mid(1);
  if (arguments.isEmpty()) return generateAndMeasureAll();
  if (arguments.size() == 1) return measure(arguments.first(), "RESULT");
  if (arguments.size() == 2 && arguments.first() == QLatin1String("--figures")) {
    return measure(arguments.last(), "FIGURES");  // a child of the generated run
  }
  std::fprintf(stderr, "usage: bench-convert [FILE.mdb]\n");
  return 2;
}
