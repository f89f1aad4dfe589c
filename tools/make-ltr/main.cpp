// qalvoro-make-ltr TSV TARGET: builds the language database LTR.DRV (table
// Lang: Ara, Eng) from the translation table. Lines are "Arabic<TAB>English";
// lines starting with '#' are comments; \n, \t and \\ are escapes.

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include "host/db/Connection.h"
#include "host/db/DbError.h"

namespace {

QString unescape(const QString& field) {
  QString text;
  text.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      text += field[i];
      continue;
    }
    const QChar next = field[++i];
    text += next == 'n' ? QChar('\n') : next == 't' ? QChar('\t') : next;
  }
  return text;
}

struct Entry {
  QString arabic;
  QString english;
};

QList<Entry> readTable(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    throw std::runtime_error(("cannot read " + path).toStdString());
  }
  QList<Entry> entries;
  int lineNumber = 0;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
    ++lineNumber;
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList fields = line.split('\t');
    if (fields.size() != 2) {
      throw std::runtime_error(QStringLiteral("%1:%2: expected Arabic<TAB>English")
                                   .arg(path)
                                   .arg(lineNumber)
                                   .toStdString());
    }
    entries.append({unescape(fields[0]), unescape(fields[1])});
  }
  return entries;
}

void writeDatabase(const QString& target, const QList<Entry>& entries) {
  QFile::remove(target);
  QFile created(target);
  if (!created.open(QIODevice::WriteOnly)) {
    throw std::runtime_error(("cannot create " + target).toStdString());
  }
  created.close();
  qalvoro::Connection connection;
  connection.open(target);
  qalvoro::Transaction transaction(connection);
  connection.execute(QStringLiteral(
      "CREATE TABLE Lang (ID INTEGER PRIMARY KEY AUTOINCREMENT, Ara TEXT NOT NULL, Eng TEXT)"));
  connection.execute(QStringLiteral("CREATE INDEX Lang_Ara ON Lang (Ara)"));
  for (const Entry& entry : entries) {
    connection.execute(QStringLiteral("INSERT INTO Lang (Ara, Eng) VALUES (?, ?)"),
                       {entry.arabic, entry.english});
  }
  transaction.commit();
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  QTextStream err(stderr);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3) {
    err << "usage: qalvoro-make-ltr TRANSLATIONS.tsv LTR.DRV\n";
    return 2;
  }
  try {
    writeDatabase(arguments[2], readTable(arguments[1]));
    return 0;
  } catch (const qalvoro::DbError& error) {
    err << "qalvoro-make-ltr: " << error.description() << '\n';
  } catch (const std::exception& error) {
    err << "qalvoro-make-ltr: " << error.what() << '\n';
  }
  QFile::remove(arguments[2]);
  return 1;
}
