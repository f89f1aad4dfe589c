#include "tests/mdbwriter/MdbTools.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace mdbtools {
namespace {

constexpr char kJet3Charset[] = "MDB_JET3_CHARSET";  // libmdb reads Jet 3 text as Arabic
constexpr char kArabic[] = "CP1256";

Rows parseCsv(const QString& text) {
  Rows rows(1);
  QString field;
  bool quoted = false;
  bool inQuotes = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == '"' && inQuotes && i + 1 < text.size() && text[i + 1] == '"') {
      field += text[++i];
    } else if (c == '"') {
      inQuotes = !inQuotes;
      quoted = true;
    } else if (!inQuotes && (c == ',' || c == '\n')) {
      rows.back().push_back(quoted || !field.isEmpty() ? Cell(field) : std::nullopt);
      field.clear();
      quoted = false;
      if (c == '\n') rows.emplace_back();
    } else {
      field += c;
    }
  }
  rows.pop_back();  // what follows the last line break
  return rows;
}

}  // namespace

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kJet3Charset), QString::fromLatin1(kArabic));
  env.insert(QStringLiteral("MDBICONV"), QStringLiteral("UTF-8"));
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  const bool finished = process.waitForFinished(120000);
  const QString out = QString::fromUtf8(process.readAllStandardOutput());
  const QString err = QString::fromUtf8(process.readAllStandardError());
  EXPECT_TRUE(finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
      << program.toStdString() << ' ' << arguments.join(' ').toStdString() << ": "
      << err.toStdString();
  EXPECT_TRUE(err.isEmpty()) << program.toStdString() << " warned: " << err.toStdString();
  return out;
}

QStringList tables(const QString& file) {
  return run(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), file})
      .split('\n', Qt::SkipEmptyParts);
}

QString schema(const QString& file) {
  QStringList kept;
  for (const QString& line : run(QStringLiteral("mdb-schema"), {file}).split('\n')) {
    if (!line.startsWith(QLatin1String("--"))) kept << line;
  }
  return kept.join('\n').trimmed();
}

Rows exportTable(const QString& file, const QString& table, QStringList* header) {
  const QString format = QStringLiteral("%Y-%m-%d %H:%M:%S");
  Rows rows =
      parseCsv(run(QStringLiteral("mdb-export"),
                   {QStringLiteral("-D"), format, QStringLiteral("-T"), format, file, table}));
  if (rows.empty()) return rows;
  if (header) {
    for (const Cell& name : rows.front()) *header << name.value_or(QString());
  }
  rows.erase(rows.begin());
  return rows;
}

}  // namespace mdbtools
