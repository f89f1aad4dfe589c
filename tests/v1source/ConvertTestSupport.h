#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QDateTime>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "tests/mdbwriter/MdbTools.h"

namespace qalvoro::v1::test {

// A file of the shared version-1 sample files.
QString fixture(const QString& relative);
// Every .mdb sample file (any case), Jet 3 and Jet 4.
QStringList allFixtureFiles();

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

// Runs qalvoro-v1convert; one that runs for a minute is killed (and so
// reported as a crash).
RunResult runConverter(const QStringList& arguments);

struct FileSnapshot {
  QByteArray bytes;
  QDateTime modified;
  bool operator==(const FileSnapshot&) const = default;
};
FileSnapshot snapshot(const QString& path);

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
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  std::unique_ptr<sqlite3, Closer> db_;
};

// Where a value lies in a Jet file, found with libmdb on a sound file.
struct CellLocation {
  quint32 tdefPage = 0;
  quint32 page = 0;
  int row = 0;
  int rowStart = 0;
  int rowLength = 0;
  int fieldStart = 0;  // offset in the page
  int fieldSize = 0;
  int pageSize = 0;
  int rowCountOffset = 0;
  int tableRowCountOffset = 0;  // of the row count in the table definition
  int usageMapOffset = 0;       // of the usage map's address in the table definition
};
// The first row of the table whose column is not Null.
CellLocation locateCell(const QString& file, const QString& table, const QString& column);

// Little-endian helpers for patching a file held in memory.
quint32 getU16(const QByteArray& data, qsizetype at);
void putU16(QByteArray& data, qsizetype at, quint32 value);
void putU32(QByteArray& data, qsizetype at, quint32 value);
// Appends an empty page and returns its number.
quint32 appendPage(QByteArray& file, int pageSize);
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& data);

}  // namespace qalvoro::v1::test
