#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <memory>
#include <vector>

#include "tests/mdbwriter/MdbTools.h"

namespace qalvoro::v1::test {

// A file of the shared version-1 sample files.
QString fixture(const QString& relative);

// Skips the test when the sample files are absent; gives it a temp folder.
class FixtureTest : public ::testing::Test {
 protected:
  void SetUp() override;
  QString tempPath(const QString& name) const { return dir_.filePath(name); }
  // A writable copy of a sample file in the temp folder.
  QString copyFixture(const QString& relative, const QString& name) const;

 private:
  QTemporaryDir dir_;
};

struct RunResult {
  int exitCode = -1;
  QProcess::ExitStatus status = QProcess::NormalExit;
  QByteArray out;
  QByteArray err;
};
// Runs qalvoro-v1convert; one that runs for a minute is killed (a crash).
RunResult runConverter(const QStringList& arguments);

// A file's bytes and modification time.
std::pair<QByteArray, QDateTime> snapshot(const QString& path);

// One value read back from the working copy.
struct Cell {
  int type = SQLITE_NULL;
  qint64 integer = 0;
  double real = 0;
  QString text;
  bool operator==(const Cell&) const = default;
};

class SqliteFile {
 public:
  explicit SqliteFile(const QString& path);
  std::vector<std::vector<Cell>> query(const QString& sql) const;
  QStringList tables() const;

 private:
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> db_{nullptr, sqlite3_close};
};

// Where a value lies in a Jet file, found with libmdb on a sound file.
struct CellLocation {
  quint32 tdefPage = 0, page = 0;
  int row = 0, rowStart = 0, rowLength = 0;
  int fieldStart = 0;  // in the page
  int pageSize = 0, rowCountOffset = 0;
  int tableRowCountOffset = 0;  // of the row count in the table definition
  int usageMapOffset = 0;       // of the usage map's address in the table definition
};
// The first row of the table whose column is not Null.
CellLocation locateCell(const QString& file, const QString& table, const QString& column);

// Patching a file held in memory.
inline quint32 getU16(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}
inline void putU16(QByteArray& data, qsizetype at, quint32 value) {
  qToLittleEndian(quint16(value), data.data() + at);
}
inline void putU32(QByteArray& data, qsizetype at, quint32 value) {
  qToLittleEndian(value, data.data() + at);
}
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& data);

}  // namespace qalvoro::v1::test
