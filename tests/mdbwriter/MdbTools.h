#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>
#include <vector>

// Readable test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

// Reading files back through mdbtools' command-line tools (Jet 3 text read as Windows-1256).
namespace mdbtools {

using Cell = std::optional<QString>;  // nullopt: the field was empty and unquoted
using Rows = std::vector<std::vector<Cell>>;

// Output of an mdbtools program; the test fails when it exits with an error.
QString run(const QString& program, const QStringList& arguments);

QStringList tables(const QString& file);
// mdb-schema output without its comment lines.
QString schema(const QString& file);
// mdb-export rows, dates as "yyyy-MM-dd HH:mm:ss"; the header row goes to
// header when one is given.
Rows exportTable(const QString& file, const QString& table, QStringList* header = nullptr);

}  // namespace mdbtools
